#include "shell/headless_runner.h"

#include "shell/session.h"
#include "shell/stdout_monitor.h"

#include <QCoreApplication>

#include <cstdio>

namespace qv::shell {

namespace {

void printError(const QString& text) {
    std::fprintf(stderr, "quorvel: %s\n", text.toLocal8Bit().constData());
    std::fflush(stderr);
}

}  // namespace

int runHeadless(const HeadlessOptions& options) {
    StdoutMonitor stdoutMonitor;
    Session session(options, &stdoutMonitor);
    if (const int code = session.prepare()) {
        printError(session.error());
        return code;
    }
    Engine& engine = session.engine();
    QObject::connect(&engine, &Engine::alert, &engine, printError);
    QObject::connect(&engine, &Engine::information, &engine, printError);
    QObject::connect(&session, &Session::scriptError, &engine, printError);

    // A link that cannot be opened is reported and the program goes on: the
    // schedules, macros and log keep running while the link is away.
    session.start([](const StartResult& result) {
        if (!result.ok)
            printError(result.fatalMessage);
        else if (!result.linkOpen)
            printError(QStringLiteral("the link to the network is not open; Quorvel goes on without it"));
    });
    QCoreApplication::exec();
    return session.finish();
}

}  // namespace qv::shell
