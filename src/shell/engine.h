#pragma once
// The engine: the store, the network state, the decoder, the links, the
// macro engine and the loaders, wired together and started and stopped in
// their fixed order. It never calls a window; front ends (headless now,
// windows later) watch its signals and models.

#include "clock/clock.h"
#include "comms/in_box.h"
#include "comms/link.h"
#include "comms/monitor_writer.h"
#include "comms/serial_comms.h"
#include "comms/server_link.h"
#include "net/area_state.h"
#include "net/labels.h"
#include "shell/debug_log.h"
#include "shell/fanout_monitor.h"
#include "shell/feature_set.h"
#include "shell/script_api.h"
#include "shell/script_console.h"
#include "shell/step_sequence.h"
#include "shell/watchdog.h"
#include "store/store.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QSettings>

#include <functional>
#include <memory>
#include <optional>

namespace qv::macros {
class MacroEngine;
}
namespace qv::schedule {
class Scheduling;
}
namespace qv::config {
class ConfigEngine;
}
namespace qv::exchange {
class ItemExchange;
class ExchangeReactions;
class StatusFile;
}  // namespace qv::exchange

namespace qv::shell {

struct EngineDeps {
    qv::Clock& clock;
    comms::LinkFactory linkFactory;
    QSettings& userSettings;
    // Another keeper of monitor records beside the monitor log (the headless
    // printer, a test's recorder); may be null.
    store::MonitorSink* extraMonitor = nullptr;
    // The light levels' channel seek step (requestleveltimer); 0 is the
    // program's own 150 ms. A test over the simulator may go faster.
    int channelSeekStepMs = 0;
};

struct StartSettings {
    QString dataDir;
    QString serialOverride;  // wins over the stored port when set
};

struct StartResult {
    bool ok = false;        // false: a fatal condition; the process should end
    QString fatalMessage;   // the critical message to show when not ok
    bool linkOpen = false;  // the serial port or the server answered
};

class Engine : public QObject {
    Q_OBJECT
public:
    static const QString kVersionText;  // "v0.1  build 0"

    explicit Engine(EngineDeps deps, QObject* parent = nullptr);
    ~Engine() override;

    // Database care, then the load sequence. done runs once, at its end or
    // at the first fatal condition.
    void start(const StartSettings& settings, std::function<void(const StartResult&)> done);
    // The orderly shutdown: the up-time record, macros cancelled, timers and
    // links stopped, at most 5 s for running macros, the databases closed.
    void shutdown(std::function<void()> done);
    bool started() const { return m_startedAt.isValid(); }

    // The public operations scripts and other programs use.
    void sendRS232(const net::RawMessage& message);
    void RunMacro(const QString& name);
    void MonitorAdditem(const store::MonitorRecord& record) { m_monitor.MonitorAdditem(record); }
    void GetAreaPresetNames();
    ScriptConsole::Outcome runScript(const QString& code,
                                     const QString& fileName = QStringLiteral("console"));

    comms::SerialComms& comms() { return *m_comms; }
    // The server status lights: shown while the server link is the chosen link.
    const comms::ServerStatusLights& serverLights() const { return m_serverLights; }
    // Through the serial port, or a server that has answered.
    bool usesServer() const { return m_usesServer; }
    comms::InBox& inbox() { return *m_inbox; }
    net::AreaState& areaState() { return m_areaState; }
    const net::NameTables& names() const { return m_names; }
    store::Database& mainDatabase() { return *m_main; }
    store::MonitorLog* monitorLog() { return m_monitorLog.get(); }
    macros::MacroEngine* macroEngine() { return m_macros.get(); }
    config::ConfigEngine* configEngine() { return m_config.get(); }
    FeatureSet* features() { return m_features.get(); }
    schedule::Scheduling* scheduling() { return m_scheduling.get(); }
    // Made on first use; null before the exchange was first turned on.
    exchange::ItemExchange* itemExchange() { return m_exchange.get(); }
    // The item exchange (with the area status file) on or off: the ddeability
    // permission at start-up, the configuration's DDE link and the Link menu's
    // window. itemExchangeChanged follows every switch.
    void setItemExchange(bool on);
    bool itemExchangeOn() const;
    // The settings as loaded at start-up (defaults before).
    const store::ConfigSettings& config() const;
    DebugLog& debugLog() { return m_debug; }
    // Per-user settings (section "Client"): window places and the like.
    QSettings& userSettings() const { return m_deps.userSettings; }
    const store::DataPaths& paths() const { return m_paths; }

    // The serial port the stored settings name: the device path when set,
    // otherwise port N is /dev/ttyS{N-1}.
    static comms::SerialSettings serialSettingsFrom(const store::CommsSettings& stored);

signals:
    void splashCaption(const QString& text);
    // A critical message the user must see (a message box in the windows).
    void alert(const QString& text);
    // A message the user must see that reports no fault ("Quorvel needs to
    // be restarted"): an information box in the windows.
    void information(const QString& text);
    // The monitor read-back at start-up: 0-100 while it reads, then -1.
    void loadProgress(int percent);
    // "System Restart" was run: shut down, then start the program again.
    void restartRequested();
    void itemExchangeChanged(bool on);
    // The features (roll calls, buttons, plan, sensors) exist from here on.
    void featuresReady();

private:
    void buildLoadSequence(StepSequence& steps, const StartSettings& settings);
    void openStores(const StartSettings& settings);
    void openComms(std::function<void()> next);
    // Opens the link the settings choose (the serial port or the server),
    // at start-up and after the configuration changed them.
    void GetCommsMethod(const store::CommsSettings& stored, std::function<void(bool)> done);
    // The comms' link factory: the injected one for serial settings, a
    // ServerLink for server addresses.
    std::unique_ptr<comms::Link> makeLink(const comms::LinkSettings& settings);
    void createConfig();
    void fail(const QString& fatalMessage);
    void waitForProcessors(qint64 deadline, StepSequence::Next next);

    EngineDeps m_deps;
    FanoutMonitor m_monitor;
    // The links' own records; cut off from m_monitor when the Shutdown record
    // is written, so a gateway lost while closing is not reported after it.
    FanoutMonitor m_linkMonitor;
    comms::MonitorWriter m_monitorWriter{m_monitor, m_deps.clock};
    DebugLog m_debug;
    net::NameTables m_names;
    net::AreaState m_areaState;
    store::DataPaths m_paths;
    std::optional<store::Database> m_main;
    std::unique_ptr<store::MonitorLog> m_monitorLog;
    comms::ServerStatusLights m_serverLights;  // outlives the server links
    std::unique_ptr<comms::InBox> m_inbox;
    std::unique_ptr<comms::SerialComms> m_comms;
    QPointer<comms::ServerLink> m_server;  // the comms' link while it is a server link
    std::unique_ptr<macros::MacroEngine> m_macros;
    std::unique_ptr<config::ConfigEngine> m_config;
    std::unique_ptr<FeatureSet> m_features;
    std::unique_ptr<schedule::Scheduling> m_scheduling;
    std::unique_ptr<exchange::ItemExchange> m_exchange;
    std::unique_ptr<exchange::ExchangeReactions> m_exchangeReactions;
    std::unique_ptr<exchange::StatusFile> m_statusFile;
    ScriptApi m_scriptApi;
    ScriptConsole m_scripts;
    Watchdog m_watchdog;
    std::unique_ptr<qv::Timer> m_processorWait;  // shutdown waits for running macros
    qint64 m_waitDeadline = 0;
    StepSequence::Next m_waitNext;
    std::unique_ptr<StepSequence> m_sequence;
    std::unique_ptr<StepSequence> m_shutdownSteps;
    std::function<void(const StartResult&)> m_startDone;
    StartResult m_result;
    QDateTime m_startedAt;
    QDateTime m_startCalledAt;
    QString m_serialOverride;
    QStringList m_storeNotices;  // restored databases, for the monitor once it is open
    bool m_shuttingDown = false;
    bool m_usesServer = false;
};

}  // namespace qv::shell
