#pragma once
// The relay's UDP side: answers clients' polls, version requests and status
// requests, hands their network messages to the gateway, and relays every
// message heard on the network to the clients that polled recently.
//
// Every request gets its answer at once, well inside the 250 ms a client
// waits before it counts the server as lost. Answers leave from the address
// the request arrived at, since clients believe only datagrams from the
// address they sent to.

#include "clock/clock.h"
#include "net/area_state.h"
#include "net/message.h"
#include "server/client_table.h"
#include "server/relay_replies.h"

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

#include <functional>
#include <string>

class QNetworkDatagram;

namespace qv::server {

struct RelayCounters {
    quint64 polls = 0;
    quint64 versionRequests = 0;
    quint64 forwarded = 0;  // network messages handed to the gateway
    quint64 statusRequests = 0;
    quint64 badRequests = 0;  // "RS232:" without a readable message
    quint64 unknown = 0;      // datagrams that are no request at all
    quint64 relayed = 0;      // datagrams of heard messages sent to clients
    quint64 clientsRefused = 0;
};

class RelayServer : public QObject {
    Q_OBJECT
public:
    using ToNetwork = std::function<void(const net::RawMessage&)>;

    RelayServer(const qv::Clock& clock, const net::AreaState& state, ToNetwork toNetwork,
                RelayVersion version = {}, QObject* parent = nullptr);

    // Binds the port; requests wait in the socket until serve().
    bool listen(const QHostAddress& address, quint16 port, QString* error);
    // Starts answering (once the gateway is open).
    void serve();
    void close();
    quint16 port() const { return m_socket.localPort(); }
    QHostAddress address() const { return m_socket.localAddress(); }

    // A message heard on the network, as hex: to every client that polled
    // within the window.
    void relayHeard(const std::string& hex);

    const RelayCounters& counters() const { return m_counters; }
    std::size_t clientCount() const { return m_clients.size(); }

private:
    void readDatagrams();
    void handle(const QNetworkDatagram& datagram);
    void answer(const QNetworkDatagram& request, const QByteArray& text);
    void sendStatusReports(const QNetworkDatagram& request);

    const qv::Clock& m_clock;
    const net::AreaState& m_state;
    ToNetwork m_toNetwork;
    RelayVersion m_version;
    QUdpSocket m_socket;
    ClientTable m_clients;
    RelayCounters m_counters;
    bool m_serving = false;
};

}  // namespace qv::server
