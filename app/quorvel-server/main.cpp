// quorvel-server: relays a lighting network's gateway to Quorvel clients over UDP.

#include "clock/clock.h"
#include "comms/serial_link.h"
#include "process/quit_signals.h"
#include "server/log_output.h"
#include "server/logging.h"
#include "server/relay_options.h"
#include "server/relay_service.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-server"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));

    const qv::server::ParsedRelayOptions parsed =
        qv::server::parseRelayOptions(QCoreApplication::arguments());
    if (const auto exitCode = qv::process::commandLineExit(QStringLiteral("quorvel-server"), parsed))
        return *exitCode;
    qv::server::installStdoutLogging(parsed.options.verbose);

    qv::process::QuitSignals quitSignals;
    qv::SystemClock clock;
    qv::server::LogMonitor log(parsed.options.verbose);
    qv::server::RelayService service(parsed.options, clock, log, qv::comms::SerialLink::factory());

    int status = 0;
    QObject::connect(&service, &qv::server::RelayService::ready, &service,
                     [&] { qCInfo(lcRelay).noquote() << "quorvel-server:" << service.summary(); });
    QObject::connect(&service, &qv::server::RelayService::failed, &service, [&](const QString& reason) {
        std::fprintf(stderr, "quorvel-server: %s\n", qPrintable(reason));
        status = 1;
        QCoreApplication::exit(1);
    });
    QObject::connect(&quitSignals, &qv::process::QuitSignals::quitRequested, &service, [](int number) {
        qCInfo(lcRelay) << "signal" << number << "received: stopping";
        QCoreApplication::exit(0);
    });

    QString error;
    if (!service.start(&error)) {
        std::fprintf(stderr, "quorvel-server: %s\n", qPrintable(error));
        return 1;
    }
    const int loopStatus = QCoreApplication::exec();
    service.stop();
    qCInfo(lcRelay) << "stopped";
    return status != 0 ? status : loopStatus;
}
