#pragma once
// The command line of the program.

#include "net/message.h"
#include "process/command_line.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qv::shell {

struct HeadlessOptions {
    bool headless = false;
    QString dataDir;         // empty: the user's data location
    QString serial;          // overrides the stored port
    bool simulate = false;   // start quorvel-sim and connect to it
    double simActivity = 0;  // panel presses a second heard from the simulator
    std::vector<net::RawMessage> send;
    std::optional<double> exitAfterSeconds;
    bool debug = false;
    QStringList scripts;     // --script FILE, run after start-up
    QStringList evals;       // --eval CODE, run after start-up
    QString screenshotsDir;  // windows only: pictures of every window, then exit
};

using ParsedOptions = process::ParsedCommandLine<HeadlessOptions>;

ParsedOptions parseHeadlessOptions(const QStringList& arguments);

}  // namespace qv::shell
