// quorvel: the lighting-network supervisor. The windows come later; until
// then every run is headless.

#include "shell/headless_options.h"
#include "shell/headless_runner.h"
#include "shell/report_commands.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));

    if (qv::shell::isReportCommand(QCoreApplication::arguments()))
        return qv::shell::runReportCommand(QCoreApplication::arguments());

    const qv::shell::ParsedOptions parsed = qv::shell::parseHeadlessOptions(QCoreApplication::arguments());
    if (!parsed.options) {
        std::FILE* out = parsed.exitCode == 0 ? stdout : stderr;
        std::fprintf(out, "%s%s", parsed.exitCode == 0 ? "" : "quorvel: ", parsed.output.toLocal8Bit().constData());
        if (!parsed.output.endsWith(QLatin1Char('\n'))) std::fputc('\n', out);
        return parsed.exitCode;
    }
    return qv::shell::runHeadless(*parsed.options);
}
