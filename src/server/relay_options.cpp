#include "server/relay_options.h"

#include <QCommandLineOption>

namespace qv::server {

namespace {

const char* const kDescription =
    "Relays a lighting network's serial gateway to Quorvel clients over UDP, so that\n"
    "several PCs can share one gateway.\n"
    "\n"
    "It owns the serial port (or a simulated network with --simulate), answers every\n"
    "client request at once, sends the clients' messages to the network through an\n"
    "out box that waits for each echo, and relays every message heard to every client\n"
    "that polled in the last 10 seconds.\n"
    "\n"
    "Clients look for a primary server on port 1000 and a secondary on port 1002;\n"
    "run a second relay with --secondary for fail-over. On Linux, ports below 1024\n"
    "need root or the CAP_NET_BIND_SERVICE capability.\n"
    "\n"
    "It listens on 127.0.0.1 unless told otherwise: anyone who can reach the port can\n"
    "drive the lights, so serve other machines (--bind 0.0.0.0, or one address) only\n"
    "on a network you trust.\n"
    "\n"
    "It logs to standard output; SIGTERM and SIGINT end it cleanly.";

struct Parser {
    process::CommandLine commandLine{QStringLiteral("quorvel-server"), QString::fromLatin1(kDescription)};
    QCommandLineOption serial{"serial", "The gateway's serial port, e.g. /dev/ttyUSB0.", "DEVICE"};
    QCommandLineOption settings{
        "serial-settings", "Speed, parity, data bits, stop bits (default 9600,N,8,1).", "TEXT", "9600,N,8,1"};
    QCommandLineOption simulate{"simulate",
                                "Start quorvel-sim beside this program and use it as the gateway."};
    QCommandLineOption simOption{
        "sim-option", "Hand ARG on to quorvel-sim (repeat for more), e.g. --sim-option=--activity=2.", "ARG"};
    QCommandLineOption port{"port", "UDP port to listen on (default 1000, or 1002 with --secondary).", "N"};
    QCommandLineOption secondary{"secondary", "Serve as the secondary server."};
    QCommandLineOption bind{"bind", "Address to listen on (default 127.0.0.1; 0.0.0.0 for every interface).",
                            "ADDRESS", "127.0.0.1"};
    QCommandLineOption releaseRate{
        "release-rate", "Milliseconds between writes of the out box, 10-1000 (default 50).", "MS", "50"};
    QCommandLineOption verbose{"verbose", "Also log every message heard on the network."};

    Parser() {
        commandLine.parser().addOptions(
            {serial, settings, simulate, simOption, port, secondary, bind, releaseRate, verbose});
    }
};

// "9600,N,8,1" into the serial settings, or false.
bool parseSerialSettings(const QString& text, comms::SerialSettings& settings) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return false;
    bool ok = false;
    const int baud = parts[0].trimmed().toInt(&ok);
    if (!ok || baud <= 0) return false;
    const QString parity = parts[1].trimmed().toUpper();
    if (parity.isEmpty() || !QStringLiteral("NEOMS").contains(parity.at(0))) return false;
    const int dataBits = parts[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8) return false;
    const QString stop = parts[3].trimmed();
    if (stop != QLatin1String("1") && stop != QLatin1String("1.5") && stop != QLatin1String("2"))
        return false;
    settings.baud = QString::number(baud);
    settings.parity = parity.left(1);
    settings.dataBits = dataBits;
    settings.stopBits = stop;
    return true;
}

}  // namespace

ParsedRelayOptions parseRelayOptions(const QStringList& arguments) {
    Parser p;
    ParsedRelayOptions result = p.commandLine.parse<RelayOptions>(arguments);
    if (result.outcome != ParsedRelayOptions::Outcome::Run) return result;
    const QCommandLineParser& parser = p.commandLine.parser();

    RelayOptions& o = result.options;
    o.simulate = parser.isSet(p.simulate);
    o.serial.portName = parser.value(p.serial);
    if (o.simulate == parser.isSet(p.serial))
        return result.fail(QStringLiteral("give either --serial DEVICE or --simulate"));
    if (o.serial.portName.isEmpty() && !o.simulate)
        return result.fail(QStringLiteral("--serial needs a device"));
    if (!parser.values(p.simOption).isEmpty() && !o.simulate)
        return result.fail(QStringLiteral("--sim-option is for --simulate only"));
    o.simOptions = parser.values(p.simOption);
    if (!parseSerialSettings(parser.value(p.settings), o.serial))
        return result.fail(
            QStringLiteral("--serial-settings %1: expected speed,parity,data bits,stop bits as in 9600,N,8,1")
                .arg(parser.value(p.settings)));

    o.secondary = parser.isSet(p.secondary);
    o.port = o.secondary ? kSecondaryPort : kPrimaryPort;
    QString error;
    if (parser.isSet(p.port)) {
        const auto port = p.commandLine.number<uint>(p.port, 1, 65535, &error);
        if (!port) return result.fail(error);
        o.port = static_cast<quint16>(*port);
    }
    o.bind = QHostAddress(parser.value(p.bind));
    if (o.bind.isNull())
        return result.fail(QStringLiteral("--bind %1: not an IP address").arg(parser.value(p.bind)));

    const auto releaseRate = p.commandLine.number(p.releaseRate, 10, 1000, &error);
    if (!releaseRate) return result.fail(error);
    o.releaseRate = *releaseRate;
    o.verbose = parser.isSet(p.verbose);
    return result;
}

}  // namespace qv::server
