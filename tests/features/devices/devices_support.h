#pragma once
// Fixtures of the devices tests: a manual clock whose timers jump time,
// a data folder with a real main database, a recording macro runner, and a
// wire to the simulated network that answers through the real in box and
// decoder.

#include "clock/clock.h"
#include "comms/in_box.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "net/decoder.h"
#include "net/labels.h"
#include "net/message.h"
#include "sim/sim_network.h"
#include "store/data_paths.h"
#include "store/database.h"
#include "support/main_db.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <vector>

namespace qv::test {

// Sets the time zone (TZ) for a scope and restores it.
class ScopedZone {
public:
    explicit ScopedZone(const char* zone) {
        const char* old = std::getenv("TZ");
        m_had = old != nullptr;
        if (m_had) m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedZone() {
        if (m_had)
            setenv("TZ", m_old.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    ScopedZone(const ScopedZone&) = delete;
    ScopedZone& operator=(const ScopedZone&) = delete;

private:
    bool m_had = false;
    std::string m_old;
};

class RecordingMacroRunner final : public macros::MacroRunner {
public:
    void RunMacro(const QString& name) override { ran.append(name); }
    QStringList ran;
};

// A data folder with its main database open.
class DataFolderTest : public ::testing::Test {
protected:
    DataFolderTest() {
        qtApp();
        QLoggingCategory::setFilterRules(
            QStringLiteral("quorvel.store.info=false\nquorvel.store.debug=false\n"
                           "quorvel.devices.debug=false"));
        paths.dir = dir.path();
        main.emplace(openFreshMainDb(paths.mainDb()));
        // A test's database need not survive a power cut: no waiting on the disk.
        main->exec(QStringLiteral("PRAGMA synchronous = OFF"));
    }

    // Runs SQL with bound values on a database; fails the test on error.
    static void run(store::Database& db, const QString& sql, const QVariantList& values = {}) {
        db.run(sql, values);
    }
    static QVariant scalar(store::Database& db, const QString& sql, const QVariantList& values = {}) {
        return db.value(sql, values);
    }

    QTemporaryDir dir;
    store::DataPaths paths;
    std::optional<store::Database> main;
    ManualClock clock{{QDate(2024, 3, 14), QTime(9, 0, 0)}};  // its timers fire when a test advances it
    RecordingMonitor monitor;
};

// The engine's sendRS232 wired to the simulated network: every message sent
// is kept, and the network's answers reach the real in box and decoder
// kAnswerMs later on the manual clock.
class SimWire {
public:
    static constexpr int kAnswerMs = 20;

    SimWire(const sim::NetworkLayout& layout, const qv::Clock& clock, store::MonitorSink& monitor)
        : network(layout), inbox(clock, names, state, monitor), m_clock(clock) {
        m_deliver = clock.createSingleShot(0, [this] { inbox.RS232inboxTimer(); });
    }

    void send(const net::RawMessage& message) {
        sent.push_back(message);
        for (const net::RawMessage& answer : network.handle(message)) {
            inbox.append(net::makeInboxLine(net::toReceivedHex(answer.data(), answer.size()),
                                            qv::dateTimeText(m_clock.now()).toStdString(), "Comms"));
        }
        if (inbox.waiting() > 0 && !m_deliver->isActive()) m_deliver->start(kAnswerMs);
    }
    std::function<void(const net::RawMessage&)> sender() {
        return [this](const net::RawMessage& m) { send(m); };
    }
    int sentCount(const std::function<bool(const net::RawMessage&)>& match) const {
        return static_cast<int>(std::count_if(sent.begin(), sent.end(), match));
    }

    sim::SimNetwork network;
    net::NameTables names;
    net::AreaState state;
    comms::InBox inbox;
    std::vector<net::RawMessage> sent;

private:
    const qv::Clock& m_clock;
    std::unique_ptr<qv::Timer> m_deliver;
};

}  // namespace qv::test
