#pragma once
// A processor pool over a real main database, with recording fakes for the
// actions that leave the engine.

#include "macro_fixture.h"

#include "macros/macro_pool.h"
#include "macros/macro_store.h"

#include <QElapsedTimer>

namespace qv::macros::test {

class PoolTest : public MacroDbTest {
public:
    void SetUp() override {
        MacroDbTest::SetUp();
        elapsed.start();
        makePool(timers);
    }
    void TearDown() override {
        pool.reset();
        MacroDbTest::TearDown();
    }

    void makePool(DelayTimers& delayTimers) {
        pool.reset();
        pool = std::make_unique<MacroPool>(MacroPoolDeps{
            *db,
            monitor,
            clock,
            delayTimers,
            [this](const net::RawMessage& m) {
                sent.push_back({m, elapsed.elapsed()});
            },
            [this](const QString& path, const QString& macro) { media << macro + QLatin1Char(':') + path; },
            [this](const QString& email, const QString& macro) {
                emails << macro + QLatin1Char(':') + email;
            },
        });
    }

    // A stored, enabled macro with these command lines.
    void save(const QString& name, const QStringList& commands, const QVariant& enabled = 1) {
        addMacro(name, enabled);
        MacroLines lines;
        for (const QString& c : commands) lines.append({}, c, {});
        const SaveReport report = MacroStore(*db).SaveMacroLines(name, lines);
        ASSERT_TRUE(report.saved);
        ASSERT_TRUE(report.messages.isEmpty()) << report.messages.join('\n').toStdString();
    }

    bool cueDrained(int ms = 3000) {
        return qv::test::waitUntil([this] { return pool->cue().isEmpty(); }, ms) &&
               (qv::test::spin(30), true);
    }

    int records(const QString& type, const QString& macro, const QString& comment) const {
        return monitor.count([&](const store::MonitorRecord& r) {
            return r.MsgType == type && r.Macro == macro && r.comment == comment;
        });
    }
    int started(const QString& macro) const { return records("System", macro, "Macro Started !"); }
    int ended(const QString& macro) const { return records("System", macro, "Macro Ended !"); }

    struct Sent {
        net::RawMessage message;
        qint64 atMs;
    };

    FixedClock clock;
    ManualDelayTimers timers;
    qv::test::RecordingMonitor monitor;
    QElapsedTimer elapsed;
    std::vector<Sent> sent;
    QStringList media;
    QStringList emails;
    std::unique_ptr<MacroPool> pool;
};

}  // namespace qv::macros::test
