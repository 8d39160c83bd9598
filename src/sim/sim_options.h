#pragma once
// The command line of quorvel-sim.

#include "process/command_line.h"
#include "sim/network_layout.h"
#include "sim/pty_gateway.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace qv::sim {

struct SimOptions {
    QString link;  // empty: no link
    NetworkLayout layout;
    GatewayOptions gateway;
    double activityPerSecond = 0.0;
    double floodPerSecond = 0.0;
    std::optional<std::uint64_t> seed;  // nothing: a fresh one each run
    double durationSeconds = 0.0;       // 0: until stopped
    bool quiet = false;
    bool verbose = false;
};

using ParsedOptions = process::ParsedCommandLine<SimOptions>;

// arguments[0] is the program name, as in QCoreApplication::arguments().
ParsedOptions parseSimOptions(const QStringList& arguments);

}  // namespace qv::sim
