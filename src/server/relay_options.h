#pragma once
// The command line of quorvel-server.

#include "comms/link.h"
#include "process/command_line.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>

namespace qv::server {

struct RelayOptions {
    comms::SerialSettings serial;  // portName empty with simulate
    bool simulate = false;
    QStringList simOptions;  // handed on to quorvel-sim
    QHostAddress bind{QHostAddress::LocalHost};
    quint16 port = 1000;
    bool secondary = false;  // only changes the default port and the log texts
    int releaseRate = 50;
    bool verbose = false;
};

using ParsedRelayOptions = process::ParsedCommandLine<RelayOptions>;

inline constexpr quint16 kPrimaryPort = 1000;
inline constexpr quint16 kSecondaryPort = 1002;

// arguments[0] is the program name, as in QCoreApplication::arguments().
ParsedRelayOptions parseRelayOptions(const QStringList& arguments);

}  // namespace qv::server
