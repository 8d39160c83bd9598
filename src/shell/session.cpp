#include "shell/session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <unistd.h>
#include <cmath>
#include <cstdio>

namespace qv::shell {

namespace {

QStringList simulatorArguments(const HeadlessOptions& options) {
    QStringList arguments{QStringLiteral("--sensors"), QStringLiteral("7,9"), QStringLiteral("--devices"),
                          QStringLiteral("A5:7:1.4,A5:9:1.4,20:12:2.0")};
    if (options.simActivity > 0)
        arguments << QStringLiteral("--activity") << QString::number(options.simActivity);
    if (!options.debug) arguments << QStringLiteral("--quiet");
    return arguments;
}

// Replaces this process with a fresh copy of the program, same arguments.
void restartProgram() {
    const QByteArray program = QCoreApplication::applicationFilePath().toLocal8Bit();
    QList<QByteArray> arguments;
    for (const QString& a : QCoreApplication::arguments()) arguments << a.toLocal8Bit();
    std::vector<char*> argv;
    for (QByteArray& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::fflush(stdout);
    ::execv(program.constData(), argv.data());
    std::fprintf(stderr, "quorvel: the program could not be started again\n");
}

}  // namespace

Session::Session(HeadlessOptions options, store::MonitorSink* extraMonitor)
    : m_options(std::move(options)), m_userSettings(QStringLiteral("Quorvel"), QStringLiteral("Quorvel")) {
    // Diagnostics only on request; warnings always.
    if (!m_options.debug)
        QLoggingCategory::setFilterRules(QStringLiteral("quorvel.*.info=false\nquorvel.*.debug=false"));
    m_engine = std::make_unique<Engine>(
        EngineDeps{m_clock, comms::SerialLink::factory(), m_userSettings, extraMonitor});
    m_engine->debugLog().setEcho(m_options.debug);
    connect(m_engine.get(), &Engine::restartRequested, this, [this] {
        m_restart = true;
        stop(0);
    });
    connect(&m_signals, &process::QuitSignals::quitRequested, this, [this] { stop(0); });
}

Session::~Session() = default;

int Session::prepare() {
    m_dataDir = m_options.dataDir.isEmpty()
                    ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                    : m_options.dataDir;
    if (!QDir().mkpath(m_dataDir)) {
        m_error = QStringLiteral("The data directory %1 can not be created").arg(m_dataDir);
        return 2;
    }
    if (!m_lock.acquire(m_dataDir)) {
        m_error = InstanceLock::kAlreadyRunningText;
        return 3;
    }
    m_serial = m_options.serial;
    if (m_options.simulate) {
        m_serial = m_simulator.start(simulatorArguments(m_options), &m_error);
        if (m_serial.isEmpty()) return 2;
    }
    return 0;
}

void Session::start(std::function<void(const StartResult&)> done) {
    m_engine->start({m_dataDir, m_serial}, [this, done = std::move(done)](const StartResult& result) {
        if (result.ok)
            afterStart();
        else
            m_exitCode = 2;
        done(result);
        if (!result.ok) QCoreApplication::exit(0);
    });
}

void Session::afterStart() {
    for (const net::RawMessage& message : m_options.send) m_engine->sendRS232(message);
    bool ok = true;
    for (const QString& path : m_options.scripts) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            emit scriptError(
                QStringLiteral("the script %1 can not be read: %2").arg(path, file.errorString()));
            ok = false;
            continue;
        }
        ok = runScript(QString::fromUtf8(file.readAll()), path) && ok;
    }
    for (const QString& code : m_options.evals) ok = runScript(code, QStringLiteral("eval")) && ok;
    if (m_options.exitAfterSeconds) {
        const int code = ok ? 0 : 1;
        m_exitTimer = m_clock.createSingleShot(std::llround(*m_options.exitAfterSeconds * 1000),
                                               [this, code] { stop(code); });
        m_exitTimer->start();
    }
}

bool Session::runScript(const QString& code, const QString& name) {
    const auto outcome = m_engine->runScript(code, name);
    if (!outcome.ok) emit scriptError(outcome.error);
    return outcome.ok;
}

void Session::stop(int exitCode) {
    if (m_stopping) return;
    m_stopping = true;
    m_exitCode = exitCode;
    emit stopStarted();
    if (!m_engine->started()) {
        QCoreApplication::exit(0);
        return;
    }
    m_engine->shutdown([] { QCoreApplication::exit(0); });
}

int Session::finish() {
    m_simulator.stop();
    if (m_restart) {
        m_lock.release();
        restartProgram();
        return 1;
    }
    return m_exitCode;
}

}  // namespace qv::shell
