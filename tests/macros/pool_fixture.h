#pragma once
// A processor pool over a real main database, with recording fakes for the
// actions that leave the engine.

#include "macro_fixture.h"

#include "macros/macro_pool.h"
#include "macros/macro_store.h"

namespace qv::macros::test {

class PoolTest : public MacroDbTest {
public:
    void SetUp() override {
        MacroDbTest::SetUp();
        makePool();
    }
    void TearDown() override {
        pool.reset();
        MacroDbTest::TearDown();
    }

    void makePool() {
        pool.reset();
        pool = std::make_unique<MacroPool>(MacroPoolDeps{
            *db,
            monitor,
            clock,
            [this](const net::RawMessage& m) {
                sent.push_back({m, clock.monotonicMs()});
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

    // Every cued name taken, and what it started run up to its first wait.
    bool cueDrained() {
        return until([this] { return pool->cue().isEmpty(); }) && (clock.advance(0), true);
    }
    // Moves the clock on, a cue tick at a time, until the condition holds.
    bool until(const std::function<bool()>& condition) {
        for (int tick = 0; tick < 1000 && !condition(); ++tick) clock.advance(MacroPool::kCueIntervalMs);
        return condition();
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

    qv::test::ManualClock clock{{QDate(2024, 3, 9), QTime(18, 30)}};
    qv::test::RecordingMonitor monitor;
    std::vector<Sent> sent;
    QStringList media;
    QStringList emails;
    std::unique_ptr<MacroPool> pool;
};

}  // namespace qv::macros::test
