// quorvel-sim: a serial gateway and lighting network on a pseudo-terminal.

#include "process/quit_signals.h"
#include "sim/logging.h"
#include "sim/sim_options.h"
#include "sim/simulator.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));

    const qv::sim::ParsedOptions parsed = qv::sim::parseSimOptions(QCoreApplication::arguments());
    if (const auto exitCode = qv::process::commandLineExit(QStringLiteral("quorvel-sim"), parsed))
        return *exitCode;
    const qv::sim::SimOptions& options = parsed.options;
    QLoggingCategory::setFilterRules(
        QStringLiteral("quorvel.sim.debug=%1\nquorvel.sim.info=%2")
            .arg(options.verbose ? "true" : "false", options.quiet ? "false" : "true"));

    qv::process::QuitSignals quitSignals;
    QObject::connect(&quitSignals, &qv::process::QuitSignals::quitRequested, &app, &QCoreApplication::quit);
    qv::sim::Simulator simulator(options);
    QObject::connect(&simulator, &qv::sim::Simulator::finished, &app, &QCoreApplication::quit);
    QString error;
    if (!simulator.start(&error)) {
        std::fprintf(stderr, "quorvel-sim: %s\n", qPrintable(error));
        return 1;
    }
    qCDebug(lcSim) << "seed" << simulator.seed();
    std::printf("%s\n", qPrintable(simulator.listeningLine()));
    std::fflush(stdout);

    const int status = app.exec();
    qCInfo(lcSim).noquote() << simulator.summary();
    return status;
}
