#include "sim/sim_options.h"

#include <QCommandLineOption>

namespace qv::sim {

namespace {

const char* const kDescription =
    "Behaves like the serial gateway of a lighting network and the devices behind it,\n"
    "on a pseudo-terminal that the program opens as its serial port.\n"
    "\n"
    "Every message written to it is echoed back as the gateway does; areas answer\n"
    "preset and level queries and follow preset selects, channel sets and saved presets.\n"
    "\n"
    "  --sensors LIST   comma-separated sensor boxes, each BOX or BOX=LUX\n"
    "                   (box 1-255, lux 0-65535, default lux 300), e.g. 7,9=120\n"
    "  --devices LIST   comma-separated devices that answer a roll call, each\n"
    "                   TYPE:BOX:MAJOR.MINOR with TYPE the device code in hex and\n"
    "                   BOX, MAJOR, MINOR in decimal, e.g. A5:7:1.4,20:12:2.0\n"
    "\n"
    "On start it prints \"quorvel-sim: listening on <device>\" (and the link) on one\n"
    "line of standard output. SIGTERM and SIGINT end it and remove the link.";

struct Parser {
    process::CommandLine commandLine{QStringLiteral("quorvel-sim"), QString::fromLatin1(kDescription)};
    QCommandLineOption link{
        "link", "Make PATH a symbolic link to the device (an old link there is replaced).", "PATH"};
    QCommandLineOption areas{"areas", "Number of areas, 1-255 (default 32).", "N", "32"};
    QCommandLineOption channels{"channels", "Channels per area, 1-255 (default 8).", "N", "8"};
    QCommandLineOption sensors{"sensors", "Light-sensor boxes; see above.", "LIST"};
    QCommandLineOption devices{"devices", "Roll-call devices; see above.", "LIST"};
    QCommandLineOption activity{"activity", "Random panel presses heard on the network, per second.", "RATE",
                                "0"};
    QCommandLineOption flood{"flood", "Random network messages per second, for benchmarks (e.g. 20000).",
                             "RATE", "0"};
    QCommandLineOption seed{"seed", "Seed of the random choices; the same seed replays the same run.", "N"};
    QCommandLineOption replyDelay{"reply-delay", "Milliseconds before the network answers (default 5).", "MS",
                                  "5"};
    QCommandLineOption noEcho{"no-echo", "Fault: do not echo what the PC writes."};
    QCommandLineOption corrupt{
        "corrupt", "Fault: give this share (0-1) of outgoing messages a wrong checksum.", "FRACTION", "0"};
    QCommandLineOption split{"split", "Fault: tear every write in two inside a message, with a short gap."};
    QCommandLineOption coalesce{"coalesce",
                                "Fault: hold the echo back and write it together with the answers."};
    QCommandLineOption duration{"duration", "Exit after this many seconds.", "SECONDS", "0"};
    QCommandLineOption quiet{"quiet",
                             "No notices on standard error (client comings and goings, the summary)."};
    QCommandLineOption verbose{"verbose", "Log every message heard from the PC on standard error."};

    Parser() {
        commandLine.parser().addOptions({link, areas, channels, sensors, devices, activity, flood, seed,
                                         replyDelay, noEcho, corrupt, split, coalesce, duration, quiet,
                                         verbose});
    }
};

}  // namespace

ParsedOptions parseSimOptions(const QStringList& arguments) {
    Parser p;
    ParsedOptions result = p.commandLine.parse<SimOptions>(arguments);
    if (result.outcome != ParsedOptions::Outcome::Run) return result;
    const QCommandLineParser& parser = p.commandLine.parser();

    SimOptions& o = result.options;
    QString error;
    const auto areas = p.commandLine.number(p.areas, 1, 255, &error);
    const auto channels = p.commandLine.number(p.channels, 1, 255, &error);
    const auto activity = p.commandLine.number(p.activity, 0.0, 1e6, &error);
    const auto flood = p.commandLine.number(p.flood, 0.0, 1e7, &error);
    const auto replyDelay = p.commandLine.number(p.replyDelay, 0, 60000, &error);
    const auto corrupt = p.commandLine.number(p.corrupt, 0.0, 1.0, &error);
    const auto duration = p.commandLine.number(p.duration, 0.0, 1e9, &error);
    if (!areas || !channels || !activity || !flood || !replyDelay || !corrupt || !duration)
        return result.fail(error);
    if (parser.isSet(p.seed)) {
        const auto seed = p.commandLine.number<std::uint64_t>(p.seed, 0, UINT64_MAX, &error);
        if (!seed) return result.fail(error);
        o.seed = *seed;
    }
    const auto sensors = parseSensorList(parser.value(p.sensors), &error);
    if (!sensors) return result.fail(error);
    const auto devices = parseDeviceList(parser.value(p.devices), &error);
    if (!devices) return result.fail(error);

    o.link = parser.value(p.link);
    o.layout = {*areas, *channels, *sensors, *devices};
    o.activityPerSecond = *activity;
    o.floodPerSecond = *flood;
    o.durationSeconds = *duration;
    o.gateway.replyDelayMs = *replyDelay;
    o.gateway.echo = !parser.isSet(p.noEcho);
    o.gateway.corruptFraction = *corrupt;
    o.gateway.split = parser.isSet(p.split);
    o.gateway.coalesce = parser.isSet(p.coalesce);
    o.quiet = parser.isSet(p.quiet);
    o.verbose = parser.isSet(p.verbose);
    return result;
}

}  // namespace qv::sim
