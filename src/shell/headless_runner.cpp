#include "shell/headless_runner.h"

#include "comms/serial_link.h"
#include "shell/engine.h"
#include "shell/instance_lock.h"
#include "shell/simulator_process.h"
#include "shell/stdout_monitor.h"
#include "shell/unix_signals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace qv::shell {

namespace {

void printError(const QString& text) {
    std::fprintf(stderr, "quorvel: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

QStringList simulatorArguments(const HeadlessOptions& options) {
    QStringList arguments{QStringLiteral("--sensors"), QStringLiteral("7,9"), QStringLiteral("--devices"),
                          QStringLiteral("A5:7:1.4,A5:9:1.4,20:12:2.0")};
    if (options.simActivity > 0) arguments << QStringLiteral("--activity") << QString::number(options.simActivity);
    if (!options.debug) arguments << QStringLiteral("--quiet");
    return arguments;
}

bool runScript(Engine& engine, const QString& code, const QString& name) {
    const auto outcome = engine.runScript(code, name);
    if (!outcome.ok) printError(outcome.error);
    return outcome.ok;
}

// Runs the scripts of --script and --eval once start-up is complete.
bool runStartupScripts(Engine& engine, const HeadlessOptions& options) {
    bool ok = true;
    for (const QString& path : options.scripts) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            printError(QStringLiteral("the script %1 can not be read: %2").arg(path, file.errorString()));
            ok = false;
            continue;
        }
        ok = runScript(engine, QString::fromUtf8(file.readAll()), path) && ok;
    }
    for (const QString& code : options.evals) ok = runScript(engine, code, QStringLiteral("eval")) && ok;
    return ok;
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
    printError(QStringLiteral("the program could not be started again"));
}

}  // namespace

int runHeadless(const HeadlessOptions& options) {
    // Diagnostics only on request; warnings always.
    if (!options.debug)
        QLoggingCategory::setFilterRules(QStringLiteral("quorvel.*.info=false\nquorvel.*.debug=false"));
    const QString dataDir = options.dataDir.isEmpty()
                                ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                : options.dataDir;
    if (!QDir().mkpath(dataDir)) {
        printError(QStringLiteral("The data directory %1 can not be created").arg(dataDir));
        return 2;
    }

    InstanceLock lock;
    if (!lock.acquire(dataDir)) {
        printError(InstanceLock::kAlreadyRunningText);
        return 3;
    }

    SimulatorProcess simulator;
    QString serial = options.serial;
    if (options.simulate) {
        QString error;
        serial = simulator.start(simulatorArguments(options), &error);
        if (serial.isEmpty()) {
            printError(error);
            return 2;
        }
    }

    comms::SystemClock clock;
    StdoutMonitor stdoutMonitor;
    QSettings userSettings(QStringLiteral("Quorvel"), QStringLiteral("Quorvel"));
    Engine engine({clock, comms::SerialLink::factory(), userSettings, &stdoutMonitor});
    engine.debugLog().setEcho(options.debug);

    int exitCode = 0;
    bool restart = false;
    bool alerted = false;
    bool stopping = false;
    auto stop = [&](int code) {
        if (stopping) return;
        stopping = true;
        exitCode = code;
        engine.shutdown([] { QCoreApplication::exit(0); });
    };

    QObject::connect(&engine, &Engine::alert, &engine, [&](const QString& text) {
        alerted = true;
        printError(text);
    });
    QObject::connect(&engine, &Engine::restartRequested, &engine, [&] {
        restart = true;
        stop(0);
    });
    UnixSignals signalWatcher;
    QObject::connect(&signalWatcher, &UnixSignals::shutdownRequested, &engine, [&] { stop(0); });

    engine.start({dataDir, serial}, [&](const StartResult& result) {
        if (!result.ok) {
            printError(result.fatalMessage);
            exitCode = 2;
            QCoreApplication::exit(0);
            return;
        }
        if (!result.linkOpen) {
            if (!alerted) printError(QStringLiteral("the link to the network could not be opened"));
            stop(2);
            return;
        }
        for (const net::RawMessage& message : options.send) engine.sendRS232(message);
        if (!runStartupScripts(engine, options) && options.exitAfterSeconds) exitCode = 1;
        if (options.exitAfterSeconds)
            QTimer::singleShot(static_cast<int>(*options.exitAfterSeconds * 1000), &engine,
                               [&] { stop(exitCode); });
    });

    QCoreApplication::exec();
    simulator.stop();
    if (restart) {
        lock.release();
        restartProgram();
        return 1;
    }
    return exitCode;
}

}  // namespace qv::shell
