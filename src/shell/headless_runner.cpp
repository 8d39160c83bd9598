#include "shell/headless_runner.h"

#include "comms/serial_link.h"
#include "shell/engine.h"
#include "shell/simulator_process.h"
#include "shell/stdout_monitor.h"
#include "shell/unix_signals.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

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
    return arguments;
}

}  // namespace

int runHeadless(const HeadlessOptions& options) {
    // Diagnostics only on request; warnings always.
    if (!options.debug) QLoggingCategory::setFilterRules(QStringLiteral("quorvel.*.info=false\nquorvel.*.debug=false"));
    const QString dataDir = options.dataDir.isEmpty()
                                ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                : options.dataDir;

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
    StdoutMonitor monitor;
    QSettings userSettings(QStringLiteral("Quorvel"), QStringLiteral("Quorvel"));
    Engine engine({clock, monitor, comms::SerialLink::factory(), userSettings});

    int exitCode = 0;
    bool alerted = false;
    QObject::connect(&engine.comms(), &comms::SerialComms::alert, &engine, [&](const QString& text) {
        alerted = true;
        printError(text);
    });
    QObject::connect(&engine, &Engine::started, &engine, [&](bool open) {
        if (!open) {
            if (!alerted) printError(QStringLiteral("the link to the network could not be opened"));
            exitCode = 2;
            QCoreApplication::exit(exitCode);
            return;
        }
        for (const net::RawMessage& message : options.send) engine.comms().sendRS232(message);
    });

    UnixSignals signalWatcher;
    QObject::connect(&signalWatcher, &UnixSignals::shutdownRequested, &engine,
                     [] { QCoreApplication::exit(0); });
    if (options.exitAfterSeconds)
        QTimer::singleShot(static_cast<int>(*options.exitAfterSeconds * 1000), &engine,
                           [] { QCoreApplication::exit(0); });

    QString error;
    if (!engine.start(dataDir, serial, &error)) {
        printError(error);
        return 2;
    }
    const int loopCode = QCoreApplication::exec();
    engine.shutdown();
    simulator.stop();
    return exitCode != 0 ? exitCode : loopCode;
}

}  // namespace qv::shell
