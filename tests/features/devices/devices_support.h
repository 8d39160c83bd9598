#pragma once
// Fixtures of the devices tests: a manual clock and timers that jump time,
// a data folder with a real main database, a recording macro runner, and a
// wire to the simulated network that answers through the real in box and
// decoder.

#include "comms/clock.h"
#include "comms/in_box.h"
#include "features/devices/device_timers.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "net/decoder.h"
#include "net/labels.h"
#include "net/message.h"
#include "sim/sim_network.h"
#include "store/data_paths.h"
#include "store/database.h"
#include "support/main_db.h"
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

class ManualClock final : public comms::Clock {
public:
    QDateTime now() const override { return m_start.addMSecs(m_ms); }
    qint64 monotonicMs() const override { return m_ms; }
    void setMs(qint64 ms) { m_ms = ms; }
    qint64 ms() const { return m_ms; }
    void setStart(const QDateTime& start) { m_start = start; }

private:
    QDateTime m_start{QDate(2024, 3, 14), QTime(9, 0, 0)};
    qint64 m_ms = 0;
};

// Timers on the manual clock: advance() fires every due timer in time order,
// moving the clock to each firing.
class ManualTimers final : public devices::DeviceTimers {
public:
    explicit ManualTimers(ManualClock& clock) : m_clock(clock) {}

    std::unique_ptr<devices::DeviceTimer> create(std::function<void()> onTimeout, bool singleShot) override {
        auto state = std::make_shared<State>();
        state->onTimeout = std::move(onTimeout);
        state->singleShot = singleShot;
        m_states.push_back(state);
        return std::make_unique<Timer>(state, *this);
    }

    void advance(qint64 ms) {
        const qint64 target = m_clock.ms() + ms;
        for (;;) {
            std::shared_ptr<State> next;
            for (const auto& s : m_states)
                if (s->alive && s->active && s->due <= target &&
                    (!next || s->due < next->due ||
                     (s->due == next->due && s->startOrder < next->startOrder)))
                    next = s;
            if (!next) break;
            m_clock.setMs(next->due);
            if (next->singleShot)
                next->active = false;
            else
                next->due += std::max(next->interval, 1);
            next->onTimeout();
        }
        m_clock.setMs(target);
    }

private:
    struct State {
        std::function<void()> onTimeout;
        bool singleShot = false;
        bool active = false;
        bool alive = true;
        int interval = 0;
        qint64 due = 0;
        quint64 startOrder = 0;
    };
    class Timer final : public devices::DeviceTimer {
    public:
        Timer(std::shared_ptr<State> state, ManualTimers& owner)
            : m_state(std::move(state)), m_owner(owner) {}
        ~Timer() override { m_state->alive = false; }
        void start(int ms) override {
            m_state->active = true;
            m_state->interval = ms;
            m_state->due = m_owner.m_clock.ms() + ms;
            m_state->startOrder = ++m_owner.m_starts;
        }
        void stop() override { m_state->active = false; }
        bool isActive() const override { return m_state->active; }
        int interval() const override { return m_state->interval; }

    private:
        std::shared_ptr<State> m_state;
        ManualTimers& m_owner;
    };

    ManualClock& m_clock;
    std::vector<std::shared_ptr<State>> m_states;
    quint64 m_starts = 0;
};

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
        return qv::test::scalar(db, sql, values);
    }

    QTemporaryDir dir;
    store::DataPaths paths;
    std::optional<store::Database> main;
    ManualClock clock;
    ManualTimers timers{clock};
    RecordingMonitor monitor;
};

// The engine's sendRS232 wired to the simulated network: every message sent
// is kept, and the network's answers reach the real in box and decoder
// kAnswerMs later on the manual clock.
class SimWire {
public:
    static constexpr int kAnswerMs = 20;

    SimWire(const sim::NetworkLayout& layout, ManualTimers& timers, const comms::Clock& clock,
            store::MonitorSink& monitor)
        : network(layout), inbox(clock, names, state, monitor), m_clock(clock) {
        m_deliver = timers.create([this] { inbox.RS232inboxTimer(); }, true);
    }

    void send(const net::RawMessage& message) {
        sent.push_back(message);
        for (const net::RawMessage& answer : network.handle(message)) {
            inbox.append(net::makeInboxLine(net::toReceivedHex(answer.data(), answer.size()),
                                            comms::dateTimeText(m_clock.now()).toStdString(), "Comms"));
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
    const comms::Clock& m_clock;
    std::unique_ptr<devices::DeviceTimer> m_deliver;
};

}  // namespace qv::test
