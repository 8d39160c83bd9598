#pragma once
// One run of quorvel-sim: the network, the gateway in front of it and the
// traffic the building makes on its own, put together from the options.

#include "sim/pty_gateway.h"
#include "sim/rng.h"
#include "sim/sim_network.h"
#include "sim/sim_options.h"
#include "sim/traffic_source.h"

#include <QObject>

#include <memory>

namespace qv::sim {

class Simulator : public QObject {
    Q_OBJECT
public:
    explicit Simulator(const SimOptions& options, QObject* parent = nullptr);

    // Opens the device (and the link) and starts the traffic.
    bool start(QString* error);

    // "quorvel-sim: listening on /dev/pts/3 (link /tmp/gateway)"
    QString listeningLine() const;
    // What was heard and said, for the end of the run.
    QString summary() const;
    std::uint64_t seed() const { return m_seed; }

signals:
    void finished();

private:
    void produce(int count);

    SimOptions m_options;
    std::uint64_t m_seed;
    SimNetwork m_network;
    Rng m_trafficRng;
    PtyGateway m_gateway;
    std::unique_ptr<TrafficSource> m_activity;
    std::unique_ptr<TrafficSource> m_flood;
};

}  // namespace qv::sim
