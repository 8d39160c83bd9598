#pragma once
// The program's side of a server link, made in the test process: the link
// with its in box, area state, monitor and lights, on a manual clock, and
// the preset reports it passes on.

#include "comms/server_link.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace qv::test {

class ClientLink {
public:
    ClientLink() : inbox(clock, names, state, monitor) {}
    ~ClientLink() {
        if (link) link->stop();
    }

    void makeLink(comms::ServerAddresses addresses, comms::ServerPorts ports,
                  comms::ServerLinkTimings timings = {},
                  const QString& defaultAddress = QStringLiteral("127.0.0.1"),
                  comms::HostResolver resolver = {}) {
        comms::ServerLinkDeps deps{clock,
                                   monitor,
                                   inbox,
                                   state,
                                   lights,
                                   [this](int area, int preset) { presetReports.emplace_back(area, preset); },
                                   QStringLiteral("TESTPC"),
                                   defaultAddress,
                                   std::move(resolver)};
        link = std::make_unique<comms::ServerLink>(std::move(deps), std::move(addresses), ports, timings);
    }

    // Relayed messages with this hex that the in box turned into monitor lines.
    int heard(const std::string& hex) const {
        return monitor.count([&](const store::MonitorRecord& r) {
            return r.MsgType == "QuorvelServer" && r.RS232 == QString::fromStdString(hex);
        });
    }

    // Sockets made before the application object would never hear anything.
    struct App {
        App() { qtApp(); }
    } app;
    ManualClock clock;
    net::NameTables names;
    net::AreaState state;
    RecordingMonitor monitor;
    comms::InBox inbox;
    comms::ServerStatusLights lights;
    std::unique_ptr<comms::ServerLink> link;
    std::vector<std::pair<int, int>> presetReports;
};

}  // namespace qv::test
