#pragma once
// The client side of the link to a QuorvelServer: two UDP sockets (Winsock1
// to the primary, Winsock2 to the secondary), polls, the version request,
// the status lights and the fail-over between the two servers.
//
// A server counts as connected from the first pulse tick after one of its
// replies until a request of ours goes unanswered for the answer time.
// Network messages go to the primary while it counts as connected, else to
// the secondary, else nowhere. A datagram is believed only when it comes
// from the address and port of the server its socket is for: anyone else on
// the network could otherwise inject "heard" messages that start macros.

#include "clock/clock.h"
#include "comms/in_box.h"
#include "comms/link.h"
#include "comms/monitor_writer.h"
#include "comms/server_reply_parser.h"
#include "comms/status_lights.h"
#include "net/area_state.h"
#include "net/message.h"
#include "store/monitor_record.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QNetworkDatagram;
class QUdpSocket;

namespace qv::comms {

struct ServerPorts {
    quint16 primaryRemote = 1000;
    quint16 primaryLocal = 1001;
    quint16 secondaryRemote = 1002;
    quint16 secondaryLocal = 1003;
};

struct ServerLinkTimings {
    int firstPollMs = 5000;       // PollTimer as set up
    int pollMs = 2400;            // PollTimer from its first tick on
    int answerMs = 250;           // WaitForOKfromServerTimer and its secondary twin
    int primaryPulseMs = 1000;    // pulseServerLightTimer
    int secondaryPulseMs = 1005;  // PulseSecondaryServerLightTimer
};

// Looks a server's name up and calls done with its addresses, none when it
// does not resolve. The default asks the system, without blocking.
using HostResolver = std::function<void(const QString& name, std::function<void(QList<QHostAddress>)> done)>;

struct ServerLinkDeps {
    const Clock& clock;
    store::MonitorSink& monitor;
    InBox& inbox;
    net::AreaState& areaState;
    // The lights the link sets; they outlive it, as the window shows them.
    ServerStatusLights& lights;
    // Called with every preset report of the primary.
    std::function<void(int area, int preset)> presetReported;
    QString hostName = {};        // H of the requests; empty: this machine's name
    QString defaultAddress = {};  // the default local address; empty: defaultLocalAddress()
    HostResolver resolver = {};   // empty: the system's asynchronous look-up
};

struct ServerLinkCounters {
    quint64 strangers = 0;         // datagrams not from the server of their socket
    quint64 malformed = 0;         // preset reports and relayed messages with unusable fields
    quint64 relayed = 0;           // relayed messages put into the in box
    quint64 secondaryIgnored = 0;  // relayed by the secondary while the primary counted as connected
    quint64 dropped = 0;           // network messages sent while no server counted as connected
    quint64 primaryAnswers = 0;    // datagrams read from the primary, of any kind
    quint64 secondaryAnswers = 0;  // and from the secondary
};

class ServerLink final : public Link {
    Q_OBJECT
public:
    using Server = ServerStatusLights::Server;

    explicit ServerLink(ServerLinkDeps deps, ServerAddresses addresses = {}, ServerPorts ports = {},
                        ServerLinkTimings timings = {}, QObject* parent = nullptr);
    ~ServerLink() override;

    // The server branch of GetCommsMethod: shows the lights, binds the
    // sockets, writes "TCP/IP comms engine looks for ...", polls at once and
    // starts PollTimer. Calling it again starts over with the new addresses.
    void start(const ServerAddresses& addresses);
    // The serial port was chosen, or the program ends: polling stops, the
    // sockets close and the lights are hidden.
    void stop();

    // As a Link: open starts with the addresses the link was made for, close
    // stops, and the link is open while a server counts as connected.
    OpenError open() override;
    void close() override { stop(); }
    bool isOpen() const override { return connected(); }
    // One network message of 8 bytes, as sendRS232.
    bool send(const QByteArray& bytes) override;
    QString errorText() const override { return {}; }
    bool usesOutBox() const override { return false; }
    // Calls done(true) as soon as a server counts as connected (at once if one
    // does), or done(false) after timeoutMs or when the link stops.
    void whenOpen(int timeoutMs, std::function<void(bool)> done) override;

    // To the primary if it counts as connected, else to the secondary, else
    // dropped (one warning record per outage); false when dropped.
    bool sendRS232(const net::RawMessage& message);
    // Sends "Area Preset Status Request" to the server messages go to; false
    // when none counts as connected.
    bool AreaPresetStatusRequest();

    bool isRunning() const { return m_running; }
    bool primaryConnected() const;
    bool secondaryConnected() const;
    bool connected() const { return primaryConnected() || secondaryConnected(); }
    ServerVersion serverVersion() const { return m_version; }
    QByteArray lastRequestText() const { return m_lastRequest; }
    // The local port a server socket is bound to; 0 when it is not bound.
    quint16 localPort(Server server) const;
    const ServerStatusLights& lights() const { return m_deps.lights; }
    const ServerLinkCounters& counters() const { return m_counters; }

signals:
    // A critical message the user must see (a message box in the windows).
    void alert(const QString& text);
    void connectionChanged(bool primary, bool secondary);
    void versionChanged(const qv::comms::ServerVersion& version);

private:
    struct Peer;

    void PollTimer();

    Peer& peer(Server server);
    QString serverName(const Peer& p) const;
    const Peer& peer(Server server) const;
    void closePeers();
    bool bindPeer(Peer& p);
    enum class BindOutcome { Bound, AddressNotAvailable, Failed };
    BindOutcome tryBind(Peer& p, const QHostAddress& local);
    void resolve(Peer& p);
    void resolved(Server server, quint64 generation, const QList<QHostAddress>& addresses);
    void pollPeer(Peer& p);
    bool sendTo(Peer& p, const QByteArray& text);
    void enableWait(Peer& p);
    void readDatagrams(Peer& p);
    bool fromServer(const Peer& p, const QNetworkDatagram& datagram) const;
    void handleReply(Peer& p, const QByteArray& text);
    void setConnected(Peer& p, bool connected);
    void noAnswer(Peer& p);
    void pulse(Peer& p);
    void finishWaiters(bool connected);
    QString hostIp() const;
    void alertLine(const QString& text);
    void rareWarning(quint64 count, const QString& text);

    ServerLinkDeps m_deps;
    ServerAddresses m_addresses;
    ServerPorts m_ports;
    ServerLinkTimings m_timings;
    MonitorWriter m_monitorWriter;
    QString m_hostName;
    QString m_defaultAddress;
    std::unique_ptr<Peer> m_primary;
    std::unique_ptr<Peer> m_secondary;
    std::unique_ptr<Timer> m_pollTimer;

    QString m_localAddress;  // after any revert to the default
    ServerVersion m_version;
    QByteArray m_lastRequest;
    ServerLinkCounters m_counters;
    bool m_running = false;
    bool m_dropWarned = false;
    bool m_sendAlerted = false;
    quint64 m_generation = 0;

    struct Waiter {
        quint64 id;
        std::unique_ptr<Timer> timer;
        std::function<void(bool)> done;
    };
    std::vector<Waiter> m_waiters;
    quint64 m_waiterIds = 0;
};

}  // namespace qv::comms
