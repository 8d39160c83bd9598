#include "comms/server_link.h"

#include "comms/ip_addresses.h"
#include "comms/logging.h"
#include "comms/server_requests.h"
#include "net/decoder.h"

#include <QHostInfo>
#include <QNetworkDatagram>
#include <QPointer>

#include <QUdpSocket>

#include <algorithm>
#include <utility>

#include <string_view>

namespace qv::comms {

namespace {

const QString kNotAvailableText = QStringLiteral(
    "The QuorvelServer is not available - please check with your network administrator to rectify - and "
    "retry.");
const QString kNoTcpIpText = QStringLiteral(
    "this computer does not appear to be supporting TCP/IP, you must install TCP/IP correctly fot this to "
    "work or "
    "use the serial port instead");

QHostAddress preferIPv4(const QList<QHostAddress>& addresses) {
    for (const QHostAddress& address : addresses)
        if (address.protocol() == QAbstractSocket::IPv4Protocol) return address;
    return addresses.isEmpty() ? QHostAddress() : addresses.constFirst();
}

// A datagram's start as it can be shown in a record: control bytes as dots.
QString printable(const QByteArray& bytes) {
    QString text = QString::fromLatin1(bytes);
    for (QChar& c : text)
        if (!c.isPrint()) c = QLatin1Char('.');
    return text;
}

}  // namespace

struct ServerLink::Peer {
    Server which = Server::Primary;
    QString addressText;   // as configured; empty when this server is not used
    QHostAddress address;  // once resolved
    bool resolving = false;
    quint16 remotePort = 0;
    quint16 localPort = 0;
    std::unique_ptr<QUdpSocket> socket;  // bound, or null
    bool connected = false;
    bool blink = false;                 // which of the two colours the next tick shows
    qint64 lostAtMs = 0;                // monotonic time since which it has not counted as connected
    bool lossReported = false;          // the monitor was told it does not answer
    std::unique_ptr<Timer> waitTimer;   // WaitForOKfrom...Timer
    std::unique_ptr<Timer> pulseTimer;  // pulse...LightTimer

    bool configured() const { return !addressText.isEmpty(); }
    QString remoteText() const { return address.isNull() ? addressText : address.toString(); }
};

ServerLink::ServerLink(ServerLinkDeps deps, ServerAddresses addresses, ServerPorts ports,
                       ServerLinkTimings timings, QObject* parent)
    : Link(parent),
      m_deps(std::move(deps)),
      m_addresses(std::move(addresses)),
      m_ports(ports),
      m_timings(timings),
      m_monitorWriter(m_deps.monitor, m_deps.clock),
      m_primary(std::make_unique<Peer>()),
      m_secondary(std::make_unique<Peer>()) {
    m_hostName = m_deps.hostName.isEmpty() ? QHostInfo::localHostName() : m_deps.hostName;
    m_defaultAddress = m_deps.defaultAddress.isEmpty() ? defaultLocalAddress() : m_deps.defaultAddress;

    m_primary->which = Server::Primary;
    m_primary->remotePort = m_ports.primaryRemote;
    m_primary->localPort = m_ports.primaryLocal;
    m_secondary->which = Server::Secondary;
    m_secondary->remotePort = m_ports.secondaryRemote;
    m_secondary->localPort = m_ports.secondaryLocal;

    const Clock& clock = m_deps.clock;
    m_pollTimer = clock.createTimer(m_timings.firstPollMs, [this] {
        // The first tick comes after firstPollMs, the others every pollMs.
        if (m_pollTimer->interval() != m_timings.pollMs) m_pollTimer->start(m_timings.pollMs);
        PollTimer();
    });
    for (Peer* p : {m_primary.get(), m_secondary.get()}) {
        // WaitForOKfromServerTimer, WaitForOKfromSecondaryServerTimer
        p->waitTimer = clock.createTimer(m_timings.answerMs, [this, p] { noAnswer(*p); });
        // pulseServerLightTimer, PulseSecondaryServerLightTimer
        p->pulseTimer =
            clock.createTimer(p == m_primary.get() ? m_timings.primaryPulseMs : m_timings.secondaryPulseMs,
                              [this, p] { pulse(*p); });
    }
}

ServerLink::~ServerLink() {
    // Nobody is left to tell: the waiters are dropped, not called.
    m_waiters.clear();
    closePeers();
}

ServerLink::Peer& ServerLink::peer(Server server) {
    return server == Server::Primary ? *m_primary : *m_secondary;
}

const ServerLink::Peer& ServerLink::peer(Server server) const {
    return server == Server::Primary ? *m_primary : *m_secondary;
}

bool ServerLink::primaryConnected() const {
    return m_primary->connected;
}
bool ServerLink::secondaryConnected() const {
    return m_secondary->connected;
}

quint16 ServerLink::localPort(Server server) const {
    const Peer& p = peer(server);
    return p.socket ? p.socket->localPort() : 0;
}

QString ServerLink::hostIp() const {
    return m_localAddress.isEmpty() ? m_defaultAddress : m_localAddress;
}

void ServerLink::alertLine(const QString& text) {
    qCWarning(lcComms).noquote() << text;
    m_monitorWriter.error(text);
    emit alert(text);
}

// A flood of bad datagrams must not flood the monitor: the 1st, 10th, 100th... say so.
void ServerLink::rareWarning(quint64 count, const QString& text) {
    quint64 mark = 1;
    while (mark < count) mark *= 10;
    if (mark == count) m_monitorWriter.warning(text);
}

// ---- set-up and shutdown ----

void ServerLink::closePeers() {
    m_pollTimer->stop();
    for (Peer* p : {m_primary.get(), m_secondary.get()}) {
        p->waitTimer->stop();
        p->pulseTimer->stop();
        if (p->socket) {
            p->socket->disconnect(this);
            p->socket->close();
            p->socket.reset();
        }
        p->address.clear();
        p->resolving = false;
    }
}

void ServerLink::start(const ServerAddresses& addresses) {
    m_addresses = addresses;
    closePeers();
    setConnected(*m_primary, false);
    setConnected(*m_secondary, false);
    ++m_generation;  // look-ups still under way belong to the old addresses
    m_running = true;
    m_version = {};
    m_sendAlerted = false;
    m_dropWarned = false;
    m_primary->addressText = addresses.primary.trimmed();
    m_secondary->addressText = addresses.secondary.trimmed();
    m_localAddress = addresses.localAddress.trimmed();
    for (Peer* p : {m_primary.get(), m_secondary.get()}) {
        p->lostAtMs = m_deps.clock.monotonicMs();
        p->lossReported = false;
    }

    m_deps.lights.set(Server::Primary, StatusLight{true, LightColour::Grey, {}, false});
    m_deps.lights.set(Server::Secondary, StatusLight{true, LightColour::Grey, {}, false});

    bindPeer(*m_primary);
    if (m_secondary->configured()) bindPeer(*m_secondary);
    m_monitorWriter.system(QStringLiteral("TCP/IP comms engine looks for ") + m_primary->addressText);

    PollTimer();
    m_pollTimer->start(m_timings.firstPollMs);
}

void ServerLink::stop() {
    const bool wasRunning = m_running;
    m_running = false;
    ++m_generation;
    closePeers();
    setConnected(*m_primary, false);
    setConnected(*m_secondary, false);
    m_deps.lights.setVisible(false);
    if (wasRunning) finishWaiters(false);
}

ServerLink::BindOutcome ServerLink::tryBind(Peer& p, const QHostAddress& local) {
    if (local.isNull()) return BindOutcome::AddressNotAvailable;
    // Not shared: a port another program holds must fail here, not steal half its datagrams.
    p.socket = std::make_unique<QUdpSocket>();
    if (p.socket->bind(local, p.localPort, QAbstractSocket::DontShareAddress)) return BindOutcome::Bound;
    if (p.socket->error() == QAbstractSocket::SocketAddressNotAvailableError)
        return BindOutcome::AddressNotAvailable;
    // The port is taken (a second client on this machine) or may not be used
    // (ports below 1024 need privileges on many systems). Servers answer the
    // port a request came from, so any free port serves as well.
    const QString reason = p.socket->errorString();
    p.socket = std::make_unique<QUdpSocket>();
    if (!p.socket->bind(local, 0, QAbstractSocket::DontShareAddress)) return BindOutcome::Failed;
    m_monitorWriter.warning(
        QStringLiteral(
            "The local port %1 for the QuorvelServer link can not be used (%2); using port %3 instead")
            .arg(p.localPort)
            .arg(reason)
            .arg(p.socket->localPort()));
    return BindOutcome::Bound;
}

bool ServerLink::bindPeer(Peer& p) {
    const QHostAddress wanted =
        m_localAddress.isEmpty() ? QHostAddress(QHostAddress::AnyIPv4) : QHostAddress(m_localAddress);
    BindOutcome outcome = tryBind(p, wanted);
    if (outcome == BindOutcome::AddressNotAvailable && !m_localAddress.isEmpty()) {
        QString text = QStringLiteral("Cannot assign requested address of ") + m_localAddress +
                       QStringLiteral(" as a local IP") + QStringLiteral("\r\r");
        if (m_localAddress != m_defaultAddress)
            text +=
                QStringLiteral("Will revert to Default of ") + m_defaultAddress + QStringLiteral(" instead.");
        alertLine(text);
        m_localAddress.clear();
        outcome = tryBind(p, QHostAddress(QHostAddress::AnyIPv4));
    }
    if (outcome != BindOutcome::Bound) {
        p.socket.reset();
        alertLine(kNoTcpIpText);
        return false;
    }
    Peer* target = &p;
    connect(p.socket.get(), &QUdpSocket::readyRead, this, [this, target] { readDatagrams(*target); });
    // Socket errors (an unreachable port reported back, say) change nothing:
    // the missing answer shows on the light.
    connect(p.socket.get(), &QUdpSocket::errorOccurred, this, [target](QAbstractSocket::SocketError error) {
        qCDebug(lcComms) << "server socket" << static_cast<int>(target->which) << "error" << error;
    });
    return true;
}

void ServerLink::resolve(Peer& p) {
    if (!p.configured() || !p.address.isNull() || p.resolving) return;
    const QHostAddress literal(p.addressText);
    if (!literal.isNull()) {
        p.address = literal;
        return;
    }
    p.resolving = true;
    const Server server = p.which;
    const quint64 generation = m_generation;
    if (m_deps.resolver) {
        QPointer<ServerLink> self(this);
        m_deps.resolver(p.addressText, [self, server, generation](QList<QHostAddress> addresses) {
            if (self) self->resolved(server, generation, addresses);
        });
    } else {
        QHostInfo::lookupHost(p.addressText, this, [this, server, generation](const QHostInfo& info) {
            resolved(server, generation,
                     info.error() == QHostInfo::NoError ? info.addresses() : QList<QHostAddress>{});
        });
    }
}

void ServerLink::resolved(Server server, quint64 generation, const QList<QHostAddress>& addresses) {
    if (generation != m_generation) return;
    Peer& p = peer(server);
    p.resolving = false;
    p.address = preferIPv4(addresses);
    if (p.address.isNull()) {
        qCWarning(lcComms) << "server" << p.addressText << "could not be found";
        if (!m_sendAlerted) {
            m_sendAlerted = true;
            alertLine(kNotAvailableText);
        }
        return;  // the next poll looks again
    }
    // The poll that found the name unresolved sent nothing: poll now.
    pollPeer(p);
}

// ---- sending ----

bool ServerLink::sendTo(Peer& p, const QByteArray& text) {
    if (!p.socket || p.address.isNull()) return false;
    if (p.socket->writeDatagram(text, p.address, p.remotePort) >= 0) {
        m_sendAlerted = false;
        return true;
    }
    const QAbstractSocket::SocketError error = p.socket->error();
    qCDebug(lcComms) << "send to" << p.remoteText() << "failed:" << p.socket->errorString();
    // An earlier datagram reported unreachable is the server being down, which
    // the light already shows; anything else is the address itself. Said once
    // until a send works again, as the poll repeats every few seconds.
    if (error != QAbstractSocket::ConnectionRefusedError && !m_sendAlerted) {
        m_sendAlerted = true;
        alertLine(kNotAvailableText);
    }
    return false;
}

// Enabling a running timer does not restart it: a stream of unanswered
// requests must not postpone the moment the server counts as lost.
void ServerLink::enableWait(Peer& p) {
    if (!p.waitTimer->isActive()) p.waitTimer->start();
}

void ServerLink::pollPeer(Peer& p) {
    if (!m_running) return;
    resolve(p);
    sendTo(p, pollText(m_hostName, hostIp()));
    enableWait(p);
    if (m_version.major == 0) sendTo(p, versionRequestText(hostIp()));
}

void ServerLink::PollTimer() {
    if (!m_running) return;
    if (m_primary->configured()) pollPeer(*m_primary);
    if (m_secondary->configured())
        pollPeer(*m_secondary);
    else
        enableWait(*m_secondary);  // its tick shows that none is configured
}

Link::OpenError ServerLink::open() {
    start(m_addresses);
    return OpenError::None;
}

bool ServerLink::send(const QByteArray& bytes) {
    net::RawMessage message;
    if (bytes.size() != static_cast<int>(message.size())) return false;
    std::copy(bytes.begin(), bytes.end(), message.begin());
    return sendRS232(message);
}

bool ServerLink::sendRS232(const net::RawMessage& message) {
    m_lastRequest = networkMessageText(message, m_hostName, hostIp());
    Peer* target = m_primary->connected     ? m_primary.get()
                   : m_secondary->connected ? m_secondary.get()
                                            : nullptr;
    if (!target) {
        ++m_counters.dropped;
        if (!m_dropWarned) {
            m_dropWarned = true;
            m_monitorWriter.warning(
                QStringLiteral("No QuorvelServer is connected: messages for the network are not being sent"));
        }
        return false;
    }
    sendTo(*target, m_lastRequest);
    enableWait(*target);
    return true;
}

bool ServerLink::AreaPresetStatusRequest() {
    Peer* target = m_primary->connected     ? m_primary.get()
                   : m_secondary->connected ? m_secondary.get()
                                            : nullptr;
    if (!target) return false;
    sendTo(*target, QByteArray(kAreaPresetStatusRequest));  // a failure to send is ignored
    return true;
}

void ServerLink::whenOpen(int timeoutMs, std::function<void(bool)> done) {
    if (connected()) {
        done(true);
        return;
    }
    if (!m_running) {
        done(false);
        return;
    }
    const quint64 id = ++m_waiterIds;
    auto timer = m_deps.clock.createSingleShot(timeoutMs, [this, id] {
        const auto it =
            std::find_if(m_waiters.begin(), m_waiters.end(), [id](const Waiter& w) { return w.id == id; });
        if (it == m_waiters.end()) return;
        std::function<void(bool)> done = std::move(it->done);
        m_waiters.erase(it);  // and its timer: nothing of this callback is used after it
        done(false);
    });
    timer->start();
    m_waiters.push_back(Waiter{id, std::move(timer), std::move(done)});
}

void ServerLink::finishWaiters(bool isConnected) {
    std::vector<Waiter> waiters = std::move(m_waiters);
    m_waiters.clear();
    for (Waiter& waiter : waiters) {
        waiter.timer->stop();
        waiter.done(isConnected);
    }
}

// ---- receiving ----

bool ServerLink::fromServer(const Peer& p, const QNetworkDatagram& datagram) const {
    return !p.address.isNull() && datagram.senderPort() == p.remotePort &&
           datagram.senderAddress().isEqual(p.address, QHostAddress::ConvertV4MappedToIPv4);
}

void ServerLink::readDatagrams(Peer& p) {
    while (p.socket && p.socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = p.socket->receiveDatagram();
        if (!datagram.isValid()) break;  // a failed read is no sign of life
        if (!fromServer(p, datagram)) {
            ++m_counters.strangers;
            qCDebug(lcComms) << "ignored a datagram from" << datagram.senderAddress()
                             << datagram.senderPort();
            rareWarning(
                m_counters.strangers,
                QStringLiteral("Ignored a datagram from %1 port %2: it did not come from the QuorvelServer "
                               "at %3 port %4 (%5 ignored so far)")
                    .arg(datagram.senderAddress().toString())
                    .arg(datagram.senderPort())
                    .arg(p.remoteText())
                    .arg(p.remotePort)
                    .arg(m_counters.strangers));
            continue;
        }
        ++(p.which == Server::Primary ? m_counters.primaryAnswers : m_counters.secondaryAnswers);
        handleReply(p, datagram.data());
        if (!m_running) return;  // a reaction stopped the link
    }
}

void ServerLink::handleReply(Peer& p, const QByteArray& text) {
    p.waitTimer->stop();
    if (!p.pulseTimer->isActive()) p.pulseTimer->start();

    const ServerReply reply =
        parseServerReply(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    if (reply.version && *reply.version != m_version) {
        m_version = *reply.version;
        emit versionChanged(m_version);
    }
    const bool primary = p.which == Server::Primary;
    if (primary && reply.preset) {
        m_deps.areaState.setPreset(reply.preset->area, reply.preset->preset);
        if (m_deps.presetReported) m_deps.presetReported(reply.preset->area, reply.preset->preset);
    }
    const bool malformed = (primary && reply.presetMalformed) || reply.relayedMalformed;
    if (reply.relayedHex) {
        if (primary || !m_primary->connected) {
            ++m_counters.relayed;
            m_deps.inbox.append(
                net::makeInboxLine(*reply.relayedHex, m_deps.clock.nowText().toStdString(), "QuorvelServer"));
        } else {
            ++m_counters.secondaryIgnored;
        }
    }
    if (malformed) {
        ++m_counters.malformed;
        rareWarning(
            m_counters.malformed,
            QStringLiteral("Ignored a reply from the QuorvelServer at %1 that could not be read%2: %3 "
                           "(%4 so far)")
                .arg(p.remoteText(),
                     reply.problem.empty()
                         ? QString()
                         : QStringLiteral(" (%1)").arg(QString::fromStdString(reply.problem)),
                     printable(text.left(60)))
                .arg(m_counters.malformed));
    }
}

// ---- status lights ----

void ServerLink::setConnected(Peer& p, bool isConnected) {
    if (p.connected == isConnected) return;
    p.connected = isConnected;
    if (isConnected) m_dropWarned = false;
    if (!isConnected) p.lostAtMs = m_deps.clock.monotonicMs();
    if (isConnected && std::exchange(p.lossReported, false))
        m_monitorWriter.system(serverName(p) + QStringLiteral(" answers again"));
    qCInfo(lcComms) << (p.which == Server::Primary ? "primary" : "secondary") << "server"
                    << (isConnected ? "connected" : "lost");
    emit connectionChanged(m_primary->connected, m_secondary->connected);
    if (isConnected && !m_waiters.empty()) finishWaiters(true);
}

void ServerLink::pulse(Peer& p) {
    const bool primary = p.which == Server::Primary;
    StatusLight light;
    light.visible = m_running;
    light.warningVisible = false;
    light.tooltip = (primary ? QStringLiteral("Successfully Connected to Primary Server at ")
                             : QStringLiteral("Successfully Connected to Secondary at ")) +
                    p.remoteText();
    p.blink = !p.blink;
    light.colour = p.blink ? LightColour::Green : LightColour::Grey;
    m_deps.lights.set(p.which, light);
    setConnected(p, true);
}

QString ServerLink::serverName(const Peer& p) const {
    return (p.which == Server::Primary ? QStringLiteral("The primary QuorvelServer at ")
                                       : QStringLiteral("The secondary QuorvelServer at ")) +
           p.addressText;
}

void ServerLink::noAnswer(Peer& p) {
    p.pulseTimer->stop();
    setConnected(p, false);
    // Reported when it happens, once: a server silent for two polls is lost,
    // and a single late reply does not fill the monitor.
    if (m_running && p.configured() && !p.lossReported &&
        m_deps.clock.monotonicMs() - p.lostAtMs >= 2 * m_timings.pollMs) {
        p.lossReported = true;
        m_monitorWriter.warning(serverName(p) +
                                QStringLiteral(" does not answer; it is polled until it does"));
    }
    const bool primary = p.which == Server::Primary;
    StatusLight light;
    light.visible = m_running;
    if (!primary && !p.configured()) {
        // Nothing changes from here on: the timer can rest until the next poll.
        p.waitTimer->stop();
        light.colour = LightColour::Grey;
        light.tooltip = QStringLiteral("No Secondary Server has been specified...");
        light.warningVisible = false;
    } else {
        light.tooltip = primary ? QStringLiteral("No Connection...") : QStringLiteral("Not Connected...");
        light.warningVisible = true;
        p.blink = !p.blink;
        light.colour = p.blink ? LightColour::Red : LightColour::Grey;
    }
    m_deps.lights.set(p.which, light);
}

}  // namespace qv::comms
