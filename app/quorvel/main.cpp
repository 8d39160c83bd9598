// quorvel: the lighting-network supervisor, with its windows or headless.

#include "shell/headless_options.h"
#include "shell/headless_runner.h"
#include "shell/report_commands.h"
#include "ui/desktop_front_end.h"

#include <QApplication>
#include <QCoreApplication>

#include <cstdio>

namespace {

bool hasDisplay() {
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
           qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
}

void setNames() {
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
}

}  // namespace

int main(int argc, char* argv[]) {
    setNames();
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (qv::shell::isReportCommand(arguments)) {
        QCoreApplication app(argc, argv);
        return qv::shell::runReportCommand(QCoreApplication::arguments());
    }

    const qv::shell::ParsedOptions parsed = qv::shell::parseHeadlessOptions(arguments);
    if (const auto exitCode = qv::process::commandLineExit(QStringLiteral("quorvel"), parsed))
        return *exitCode;
    if (parsed.options.headless) {
        QCoreApplication app(argc, argv);
        return qv::shell::runHeadless(parsed.options);
    }
    if (!hasDisplay()) {
        std::fprintf(
            stderr,
            "quorvel: there is no display to show the windows on; use --headless to run without them\n");
        return 2;
    }
    QApplication app(argc, argv);
    setNames();
    return qv::ui::runDesktop(parsed.options);
}
