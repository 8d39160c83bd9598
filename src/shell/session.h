#pragma once
// One run of the program, whichever front end shows it: the data directory,
// the single-copy lock, the simulator when asked for, the engine with its
// start-up and orderly shutdown, the signals that end it, the --send,
// --script, --eval and --exit-after work after start-up, and the restart.
// The headless printer and the windows only add how things are shown.

#include "comms/serial_link.h"
#include "process/quit_signals.h"
#include "process/simulator_process.h"
#include "shell/engine.h"
#include "shell/headless_options.h"
#include "shell/instance_lock.h"

#include <QObject>
#include <QSettings>

#include <functional>
#include <memory>

namespace qv::shell {

class Session : public QObject {
    Q_OBJECT
public:
    // extraMonitor: another keeper of monitor records (the headless printer).
    explicit Session(HeadlessOptions options, store::MonitorSink* extraMonitor = nullptr);
    ~Session() override;

    // The data directory, the lock and the simulator. Returns 0, or the exit
    // code with the reason in error() (3: another copy runs on the directory).
    int prepare();
    QString error() const { return m_error; }

    Engine& engine() { return *m_engine; }
    QSettings& userSettings() { return m_userSettings; }
    const HeadlessOptions& options() const { return m_options; }
    QString dataDir() const { return m_dataDir; }

    // Starts the engine; done runs once start-up is over (ok or fatal).
    // Scripts that fail are reported through scriptError.
    void start(std::function<void(const StartResult&)> done);
    // The orderly shutdown, then the event loop ends. Later calls do nothing.
    void stop(int exitCode = 0);
    bool stopping() const { return m_stopping; }

    // After the event loop: stops the simulator and, when a restart was
    // asked for, replaces this process with a fresh copy. Returns the exit code.
    int finish();

signals:
    void scriptError(const QString& text);
    // Shutdown begins (the windows show "--- please wait, closing ---").
    void stopStarted();

private:
    void afterStart();
    bool runScript(const QString& code, const QString& name);

    HeadlessOptions m_options;
    QString m_dataDir;
    QString m_error;
    InstanceLock m_lock;
    process::SimulatorProcess m_simulator;
    QString m_serial;
    qv::SystemClock m_clock;
    std::unique_ptr<qv::Timer> m_exitTimer;  // --exit-after
    QSettings m_userSettings;
    std::unique_ptr<Engine> m_engine;
    process::QuitSignals m_signals{SIGTERM, SIGINT, SIGHUP};
    int m_exitCode = 0;
    bool m_restart = false;
    bool m_stopping = false;
};

}  // namespace qv::shell
