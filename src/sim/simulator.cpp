#include "sim/simulator.h"

#include <QRandomGenerator>
#include <QTimer>

namespace qv::sim {

namespace {

// The gateway's faults and the building's traffic draw from separate
// streams, so switching a fault on does not change which panels are pressed.
constexpr std::uint64_t kTrafficStream = 0x5157u;

}  // namespace

Simulator::Simulator(const SimOptions& options, QObject* parent)
    : QObject(parent),
      m_options(options),
      m_seed(options.seed ? *options.seed : QRandomGenerator::global()->generate64()),
      m_network(options.layout),
      m_trafficRng(m_seed ^ kTrafficStream),
      m_gateway(m_network, options.gateway, m_seed) {}

bool Simulator::start(QString* error) {
    if (!m_gateway.open(error)) return false;
    if (!m_options.link.isEmpty() && !m_gateway.createLink(m_options.link, error)) return false;
    if (m_options.activityPerSecond > 0.0) {
        m_activity = std::make_unique<TrafficSource>(m_options.activityPerSecond,
                                                     [this](int count) { produce(count); });
        m_activity->start();
    }
    if (m_options.floodPerSecond > 0.0) {
        m_flood =
            std::make_unique<TrafficSource>(m_options.floodPerSecond, [this](int count) { produce(count); });
        m_flood->start();
    }
    if (m_options.durationSeconds > 0.0)
        QTimer::singleShot(static_cast<int>(m_options.durationSeconds * 1000.0), this, &Simulator::finished);
    return true;
}

QString Simulator::listeningLine() const {
    QString line = QStringLiteral("quorvel-sim: listening on %1").arg(m_gateway.devicePath());
    if (!m_options.link.isEmpty()) line += QStringLiteral(" (link %1)").arg(m_options.link);
    return line;
}

QString Simulator::summary() const {
    const PtyGateway::Counters c = m_gateway.counters();
    return QStringLiteral(
               "heard %1 messages from the PC, sent %2, %3 unheard with no client, "
               "%4 bytes skipped, %5 bytes dropped (seed %6)")
        .arg(c.heard)
        .arg(c.sent)
        .arg(c.unheard)
        .arg(c.skippedBytes)
        .arg(c.droppedBytes)
        .arg(m_seed);
}

void Simulator::produce(int count) {
    std::vector<net::RawMessage> messages;
    messages.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) messages.push_back(m_network.randomActivity(m_trafficRng));
    m_gateway.broadcast(messages);
}

}  // namespace qv::sim
