#pragma once
// Shared set-up for the reaction tests: a real main database in a temporary
// folder, a hand-driven clock, a macro runner that only remembers, a sender
// that keeps what would have gone to the network, and an in box with the
// real decoder so that heard messages travel the program's own road.

#include "clock/clock.h"
#include "comms/in_box.h"
#include "features/reactions/send_rs232.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "net/builders.h"
#include "net/decoder.h"
#include "net/encodings.h"
#include "net/labels.h"
#include "net/message.h"
#include "sim/sim_network.h"
#include "store/database.h"
#include "store/store_error.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <optional>
#include <vector>

namespace qv::reactions::test {

// Timers fire when a test advances the clock.
struct ManualClock : qv::test::ManualClock {
    ManualClock() : qv::test::ManualClock({QDate(2024, 3, 5), QTime(10, 30)}) {}
};

class FakeRunner final : public macros::MacroRunner {
public:
    void RunMacro(const QString& name) override { runs << name; }
    QStringList runs;
};

// What would have been sent, as hex texts for readable failures.
struct SentLog {
    std::vector<net::RawMessage> messages;
    QStringList hex() const {
        QStringList out;
        for (const auto& m : messages) out << QString::fromStdString(net::toHex(m));
        return out;
    }
    int count(const net::RawMessage& message) const {
        return static_cast<int>(std::count(messages.begin(), messages.end(), message));
    }
    SendRS232 sender() {
        return [this](const net::RawMessage& m) { messages.push_back(m); };
    }
};

inline QString hexOf(const std::optional<net::RawMessage>& message) {
    return message ? QString::fromStdString(net::toHex(*message)) : QString();
}

// The main database and its rows.
// A temporary folder in memory where the machine offers one: the tests commit
// hundreds of small transactions, and waiting for a disk to sync each one
// would be most of their run time.
inline QString temporaryTemplate() {
    const QDir shm(QStringLiteral("/dev/shm"));
    return shm.exists() && QFileInfo(shm.path()).isWritable()
               ? shm.filePath(QStringLiteral("quorvel-tests-XXXXXX"))
               : QDir::temp().filePath(QStringLiteral("quorvel-tests-XXXXXX"));
}

class MainDb {
public:
    MainDb() : dir(temporaryTemplate()), db(store::Database::open(freshCopy(dir), store::DbKind::Main)) {}

    QVariant exec(const QString& sql, const QVariantList& values = {}) {
        QSqlQuery query = db.prepare(sql);
        for (const QVariant& value : values) query.addBindValue(value);
        db.exec(query);
        if (query.next()) return query.value(0);
        return query.lastInsertId();
    }
    int count(const QString& sql, const QVariantList& values = {}) { return exec(sql, values).toInt(); }

    int addMacro(const QString& name) {
        return exec(QStringLiteral("INSERT INTO Macros (Macro, Enabled) VALUES (?, 1)"), {name}).toInt();
    }
    int addCustomCode(const QString& name, const QString& code) {
        return exec(QStringLiteral("INSERT INTO CustomCodes (CustomCodeName, CustomCode) VALUES (?, ?)"),
                    {name, code})
            .toInt();
    }
    void addEvent(const QString& name, const QVariant& area, const QVariant& preset, const QVariant& macroId,
                  const QVariant& customCodeId = QVariant()) {
        exec(QStringLiteral(
                 "INSERT INTO Events (EventName, Area, Preset, Macro_ID, CustomCode_ID) VALUES (?,?,?,?,?)"),
             {name, area, preset, macroId, customCodeId});
    }

    QTemporaryDir dir;
    store::Database db;

private:
    // Building the schema is the slow part of a test; it is built once and
    // each test gets its own copy of the file.
    static QString freshCopy(const QTemporaryDir& into) {
        static QTemporaryDir templateDir(temporaryTemplate());
        static const QString templatePath = [] {
            const QString path = templateDir.filePath(QStringLiteral("quorvel.db"));
            store::Database::open(path, store::DbKind::Main).close();
            return path;
        }();
        const QString path = into.filePath(QStringLiteral("quorvel.db"));
        if (!QFile::copy(templatePath, path)) ADD_FAILURE() << "cannot copy the template database";
        return path;
    }
};

inline QVariant null() {
    return QVariant(QMetaType::fromType<int>());
}

inline net::RawMessage message(std::initializer_list<std::uint8_t> seven) {
    net::SevenBytes bytes{};
    std::copy(seven.begin(), seven.end(), bytes.begin());
    return net::withChecksum(bytes);
}

// Qt's timers need the application object before the first one is made:
// the first member of a fixture that owns timers.
struct QtAppReady {
    QtAppReady() { qv::test::qtApp(); }
};

// The decoder and the in box, fed by hand.
class Network {
public:
    explicit Network(store::MonitorSink& monitor) : inbox(clock, names, state, monitor) {}

    void hear(const net::RawMessage& m) { hearHex(net::toReceivedHex(m.data(), m.size())); }
    void hearHex(const std::string& hex) {
        inbox.append(net::makeInboxLine(hex, "2024-03-05 10:30:00", "Comms"));
        inbox.RS232inboxTimer();
    }

    QtAppReady ready;
    ManualClock clock;
    net::NameTables names;
    net::AreaState state;
    comms::InBox inbox;
};

// What a reaction stands on, for a fixture to derive from after ::testing::Test:
// a monitor, the main database, the hand-fed network, a runner and a sender.
struct Bench {
    qv::test::RecordingMonitor monitor;
    MainDb main;
    Network network{monitor};
    FakeRunner runner;
    SentLog sent;
};

// A network that answers: whatever is sent goes to a simulated network, and
// its echo and answers come back through the in box when deliver() is called
// (not from inside the send, as the real serial link never answers within it).
class AnsweringNetwork {
public:
    AnsweringNetwork(Network& network, const sim::NetworkLayout& layout)
        : m_network(network), m_sim(layout) {}

    SendRS232 sender() {
        return [this](const net::RawMessage& m) {
            sent.messages.push_back(m);
            m_waiting.push_back(m);  // the gateway's echo
            for (const auto& answer : m_sim.handle(m)) m_waiting.push_back(answer);
        };
    }
    void deliver() {
        while (!m_waiting.empty()) {
            const net::RawMessage m = m_waiting.front();
            m_waiting.pop_front();
            m_network.hear(m);
        }
    }
    sim::SimNetwork& sim() { return m_sim; }

    SentLog sent;

private:
    Network& m_network;
    sim::SimNetwork m_sim;
    std::deque<net::RawMessage> m_waiting;
};

}  // namespace qv::reactions::test
