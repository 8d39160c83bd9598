#include "server/relay_server.h"

#include "server/logging.h"
#include "server/relay_requests.h"

#include <QNetworkDatagram>

namespace qv::server {

namespace {

constexpr int kLastArea = 255;

QString peerText(const QHostAddress& address, quint16 port) {
    return QStringLiteral("%1:%2").arg(address.toString()).arg(port);
}

// The 1st, 10th, 100th... of a kind is logged, so a flood cannot fill the log.
bool worthLogging(quint64 count) {
    quint64 mark = 1;
    while (mark < count) mark *= 10;
    return mark == count;
}

}  // namespace

RelayServer::RelayServer(const qv::Clock& clock, const net::AreaState& state, ToNetwork toNetwork,
                         RelayVersion version, QObject* parent)
    : QObject(parent),
      m_clock(clock),
      m_state(state),
      m_toNetwork(std::move(toNetwork)),
      m_version(version) {}

bool RelayServer::listen(const QHostAddress& address, quint16 port, QString* error) {
    // Not shared: a second relay on the same port must fail, not split the clients' requests.
    if (!m_socket.bind(address, port, QAbstractSocket::DontShareAddress)) {
        *error =
            QStringLiteral("cannot listen on %1: %2").arg(peerText(address, port), m_socket.errorString());
        return false;
    }
    return true;
}

void RelayServer::serve() {
    if (m_serving) return;
    m_serving = true;
    connect(&m_socket, &QUdpSocket::readyRead, this, &RelayServer::readDatagrams);
    readDatagrams();  // whatever arrived while the gateway was opening
}

void RelayServer::close() {
    m_serving = false;
    m_socket.disconnect(this);
    m_socket.close();
}

void RelayServer::readDatagrams() {
    while (m_serving && m_socket.hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket.receiveDatagram();
        if (!datagram.isValid()) break;
        handle(datagram);
    }
}

void RelayServer::answer(const QNetworkDatagram& request, const QByteArray& text) {
    if (m_socket.writeDatagram(request.makeReply(text)) < 0)
        qCWarning(lcRelay) << "answer to"
                           << peerText(request.senderAddress(), static_cast<quint16>(request.senderPort()))
                           << "failed:" << m_socket.errorString();
}

void RelayServer::handle(const QNetworkDatagram& datagram) {
    const ClientRequest request = parseClientRequest(datagram.data());
    const quint16 senderPort = static_cast<quint16>(datagram.senderPort());
    const QString from = peerText(datagram.senderAddress(), senderPort);
    switch (request.kind) {
        case ClientRequest::Kind::Poll: {
            ++m_counters.polls;
            answer(datagram, okReply());
            RelayClient client{datagram.senderAddress(), senderPort, datagram.destinationAddress(),
                               request.hostName, 0};
            switch (m_clients.polled(client, m_clock.monotonicMs())) {
                case ClientTable::Outcome::Added:
                    qCInfo(lcRelay).noquote()
                        << "client" << from << request.hostName << request.hostIp << "polled";
                    break;
                case ClientTable::Outcome::Full:
                    if (worthLogging(++m_counters.clientsRefused))
                        qCWarning(lcRelay).noquote() << "too many clients: not relaying to" << from;
                    break;
                case ClientTable::Outcome::Renewed:
                    break;
            }
            return;
        }
        case ClientRequest::Kind::VersionRequest:
            ++m_counters.versionRequests;
            answer(datagram, versionReply(m_version));
            return;
        case ClientRequest::Kind::NetworkMessage:
            ++m_counters.forwarded;
            answer(datagram, okReply());
            qCInfo(lcRelay).noquote()
                << "RS232 from" << from << QString::fromStdString(net::toHex(request.message));
            m_toNetwork(request.message);
            return;
        case ClientRequest::Kind::AreaPresetStatus:
            ++m_counters.statusRequests;
            answer(datagram, okReply());
            sendStatusReports(datagram);
            return;
        case ClientRequest::Kind::BadNetworkMessage:
            ++m_counters.badRequests;
            // Still a request: the client waits for its answer to stay connected.
            answer(datagram, okReply());
            qCWarning(lcRelay).noquote()
                << "unreadable network message from" << from << ":" << printableStart(datagram.data());
            return;
        case ClientRequest::Kind::Unknown:
            if (worthLogging(++m_counters.unknown))
                qCWarning(lcRelay).noquote()
                    << "ignored a datagram from" << from << ":" << printableStart(datagram.data())
                    << QStringLiteral("(%1 so far)").arg(m_counters.unknown);
            return;
    }
}

void RelayServer::sendStatusReports(const QNetworkDatagram& request) {
    int reports = 0;
    for (int area = 1; area <= kLastArea; ++area) {
        const int preset = m_state.GetPresetforArea(area);
        if (preset == 0) continue;  // not heard yet
        answer(request, presetReport(area, preset));
        ++reports;
    }
    qCInfo(lcRelay).noquote() << "status request from"
                              << peerText(request.senderAddress(), static_cast<quint16>(request.senderPort()))
                              << ":" << reports << "areas reported";
}

void RelayServer::relayHeard(const std::string& hex) {
    const QByteArray text = relayedMessage(hex);
    if (text.isEmpty()) return;
    for (const RelayClient& client : m_clients.active(m_clock.monotonicMs())) {
        QNetworkDatagram datagram(text, client.address, client.port);
        if (!client.via.isNull()) datagram.setSender(client.via);
        if (m_socket.writeDatagram(datagram) >= 0) ++m_counters.relayed;
    }
}

}  // namespace qv::server
