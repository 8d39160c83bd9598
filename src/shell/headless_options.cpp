#include "shell/headless_options.h"

#include "shell/send_argument.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace qv::shell {

ParsedOptions parseHeadlessOptions(const QStringList& arguments) {
    process::CommandLine commandLine(
        QStringLiteral("quorvel"),
        QStringLiteral("Quorvel supervises a lighting-control network: it watches every message, "
                       "and runs the building's macros, schedules and reactions."),
        {QStringLiteral("Show this help."), QStringLiteral("Show the version."),
         QStringLiteral("Unexpected argument '%1'")});
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Run without windows; print the monitor to standard output."));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("The folder of the databases (created on first use)."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption serial(
        QStringLiteral("serial"), QStringLiteral("The gateway's serial device, instead of the stored port."),
        QStringLiteral("DEVICE"));
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Start quorvel-sim on a private pseudo-terminal and use it."));
    const QCommandLineOption simActivity(QStringLiteral("sim-activity"),
                                         QStringLiteral("With --simulate: random panel presses a second."),
                                         QStringLiteral("RATE"));
    const QCommandLineOption send(
        QStringLiteral("send"),
        QStringLiteral("Send a message once the link is open: 7 hex bytes (the checksum "
                       "is added) or 8. Repeatable."),
        QStringLiteral("HEX"));
    const QCommandLineOption exitAfter(QStringLiteral("exit-after"),
                                       QStringLiteral("Shut down normally after this many seconds."),
                                       QStringLiteral("SECONDS"));
    const QCommandLineOption debug(QStringLiteral("debug"),
                                   QStringLiteral("Print the debug list and diagnostics to standard error."));
    const QCommandLineOption script(
        QStringLiteral("script"),
        QStringLiteral("Run this JavaScript file (its main()) after start-up. Repeatable."),
        QStringLiteral("FILE"));
    const QCommandLineOption eval(
        QStringLiteral("eval"),
        QStringLiteral("Run this JavaScript after start-up, e.g. 'qv.RunMacro(\"Lobby On\")'."),
        QStringLiteral("CODE"));
    const QCommandLineOption screenshots(
        QStringLiteral("screenshots"),
        QStringLiteral(
            "With windows: after start-up, write a picture of every window into DIR, then shut down."),
        QStringLiteral("DIR"));
    QCommandLineParser& parser = commandLine.parser();
    parser.addOptions({headless, dataDir, serial, simulate, simActivity, send, exitAfter, debug, script, eval,
                       screenshots});

    ParsedOptions result = commandLine.parse<HeadlessOptions>(arguments);
    if (result.outcome != ParsedOptions::Outcome::Run) return result;

    HeadlessOptions& options = result.options;
    options.headless = parser.isSet(headless);
    options.dataDir = parser.value(dataDir);
    options.serial = parser.value(serial);
    options.simulate = parser.isSet(simulate);
    options.debug = parser.isSet(debug);
    options.scripts = parser.values(script);
    options.evals = parser.values(eval);
    options.screenshotsDir = parser.value(screenshots);
    if (options.headless && !options.screenshotsDir.isEmpty())
        return result.fail(
            QStringLiteral("--screenshots needs the windows; it can not be used with --headless"));
    if (options.simulate && !options.serial.isEmpty())
        return result.fail(QStringLiteral("--simulate and --serial can not be used together"));
    if (parser.isSet(simActivity)) {
        bool ok = false;
        options.simActivity = parser.value(simActivity).toDouble(&ok);
        if (!ok || options.simActivity < 0 || options.simActivity > 1000)
            return result.fail(QStringLiteral("--sim-activity takes a rate from 0 to 1000, not '%1'")
                                   .arg(parser.value(simActivity)));
    }
    for (const QString& text : parser.values(send)) {
        const SendArgument parsed = parseSendArgument(text.toStdString());
        if (!parsed.message)
            return result.fail(
                QStringLiteral("--send \"%1\": %2").arg(text, QString::fromStdString(parsed.error)));
        options.send.push_back(*parsed.message);
    }
    if (parser.isSet(exitAfter)) {
        bool ok = false;
        const double seconds = parser.value(exitAfter).toDouble(&ok);
        if (!ok || seconds < 0 || seconds > 1e7)
            return result.fail(QStringLiteral("--exit-after takes a number of seconds, not '%1'")
                                   .arg(parser.value(exitAfter)));
        options.exitAfterSeconds = seconds;
    }
    return result;
}

}  // namespace qv::shell
