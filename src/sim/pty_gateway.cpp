#include "sim/pty_gateway.h"

#include "sim/logging.h"
#include "sim/sim_network.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace qv::sim {

namespace {

QString lastError(const char* what) {
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

QByteArray bytesOf(const net::RawMessage& message) {
    return QByteArray(reinterpret_cast<const char*>(message.data()), static_cast<qsizetype>(message.size()));
}

}  // namespace

PtyGateway::PtyGateway(SimNetwork& network, const GatewayOptions& options, std::uint64_t seed,
                       QObject* parent)
    : QObject(parent), m_network(network), m_options(options), m_rng(seed), m_writer(options.maxQueuedBytes) {
    m_clock.start();
    m_releaseTimer.setSingleShot(true);
    m_releaseTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_releaseTimer, &QTimer::timeout, this, &PtyGateway::release);
    m_clientPoll.setInterval(m_options.reconnectPollMs);
    connect(&m_clientPoll, &QTimer::timeout, this, &PtyGateway::pollForClient);
    connect(&m_writer, &FdWriter::failed, this, &PtyGateway::hangUp);
}

PtyGateway::~PtyGateway() {
    close();
}

bool PtyGateway::open(QString* error) {
    close();
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0) {
        *error = lastError("posix_openpt");
        return false;
    }
    char name[128];
    termios mode{};
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        *error = lastError("cannot prepare the pseudo-terminal");
        ::close(master);
        return false;
    }
    // Set through the master, the mode applies to the device the PC opens:
    // raw, so bytes such as 0A, 0D, 03 or 11 pass through untouched, with no
    // line editing, no signals, no flow control and no local echo.
    bool raw = ::tcgetattr(master, &mode) == 0;
    if (raw) {
        ::cfmakeraw(&mode);
        raw = ::tcsetattr(master, TCSANOW, &mode) == 0;
    }
    if (!raw) {
        *error = lastError("cannot put the pseudo-terminal in raw mode");
        ::close(master);
        return false;
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);

    // Open and close the far end once, so that "no client" always looks the
    // same to us: the master hangs up. Without it, what the network says
    // before the first client arrives would pile up and greet that client.
    const int probe = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (probe >= 0) ::close(probe);

    m_master = master;
    m_devicePath = QString::fromLocal8Bit(name);
    m_writer.setFd(master);
    m_readNotifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
    m_readNotifier->setEnabled(false);
    connect(m_readNotifier.get(), &QSocketNotifier::activated, this, &PtyGateway::readAvailable);
    m_connected = false;
    m_clientPoll.start();
    return true;
}

bool PtyGateway::createLink(const QString& linkPath, QString* error) {
    if (m_master < 0) {
        *error = QStringLiteral("the pseudo-terminal is not open");
        return false;
    }
    return m_link.create(linkPath, m_devicePath, error);
}

void PtyGateway::close() {
    m_link.remove();
    m_clientPoll.stop();
    m_releaseTimer.stop();
    m_schedule.clear();
    m_writer.setFd(-1);
    m_readNotifier.reset();
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
    m_connected = false;
    m_devicePath.clear();
}

PtyGateway::Counters PtyGateway::counters() const {
    Counters counters = m_counters;
    counters.skippedBytes = m_framer.skippedBytes();
    counters.droppedBytes = m_writer.droppedBytes();
    return counters;
}

void PtyGateway::broadcast(const std::vector<net::RawMessage>& messages) {
    if (messages.empty()) return;
    if (!m_connected) {
        m_counters.unheard += messages.size();
        return;
    }
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(messages.size() * net::kMessageSize));
    for (const auto& message : messages) bytes += outgoing(message);
    enqueue(std::move(bytes), now());
    release();
}

// Reads until the master has nothing more. EIO means the client closed its
// end; what it wrote before closing is still read first.
void PtyGateway::readAvailable() {
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t count = ::read(m_master, buffer, sizeof buffer);
        if (count > 0) {
            for (const auto& message : m_framer.feed(buffer, static_cast<std::size_t>(count)))
                onHeard(message);
            continue;
        }
        if (count < 0 && errno == EINTR) continue;
        if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        hangUp();
        return;
    }
}

void PtyGateway::onHeard(const net::RawMessage& message) {
    ++m_counters.heard;
    qCDebug(lcSim) << "heard" << net::toHex(message).c_str();
    // The network acts on a message even when the client that sent it has
    // already gone; only the answers are lost.
    const std::vector<net::RawMessage> replies = m_network.handle(message);
    if (!m_connected) return;
    const std::int64_t answerAt = now() + m_options.replyDelayMs;
    if (m_options.echo) enqueue(outgoing(message), m_options.coalesce ? answerAt : now());
    for (const auto& reply : replies) enqueue(outgoing(reply), answerAt);
    release();
}

void PtyGateway::enqueue(QByteArray bytes, std::int64_t dueMs) {
    if (!m_options.split || bytes.size() < 2) {
        m_schedule.push(std::move(bytes), dueMs);
        return;
    }
    // Cut inside a message, never on a boundary, so a reader that treats
    // each read as one message is caught out.
    const int messages = static_cast<int>(bytes.size() / static_cast<qsizetype>(net::kMessageSize));
    const qsizetype cut = messages > 0 ? qsizetype(net::kMessageSize) * m_rng.below(messages) + 1 +
                                             m_rng.below(int(net::kMessageSize) - 1)
                                       : 1;
    m_schedule.push(bytes.left(cut), dueMs);
    m_schedule.push(bytes.mid(cut), dueMs, m_options.splitGapMs);
}

void PtyGateway::release() {
    if (!m_connected) {
        m_schedule.clear();
        return;
    }
    const std::int64_t at = now();
    for (const QByteArray& bytes : m_schedule.takeDue(at, m_options.coalesce)) m_writer.write(bytes);
    if (const auto next = m_schedule.nextRelease())
        m_releaseTimer.start(static_cast<int>(std::max<std::int64_t>(0, *next - at)));
}

QByteArray PtyGateway::outgoing(const net::RawMessage& message) {
    ++m_counters.sent;
    net::RawMessage copy = message;
    if (m_options.corruptFraction > 0.0 && m_rng.chance(m_options.corruptFraction))
        copy[net::kMessageSize - 1] ^= static_cast<std::uint8_t>(1 + m_rng.below(255));
    return bytesOf(copy);
}

void PtyGateway::hangUp() {
    if (!m_connected) return;
    m_connected = false;
    m_readNotifier->setEnabled(false);
    m_releaseTimer.stop();
    m_schedule.clear();
    m_writer.clear();
    m_framer.reset();
    discardUnread();
    m_clientPoll.start();
    qCInfo(lcSim).noquote() << "the client closed" << m_devicePath;
    emit clientConnectedChanged(false);
}

// What we wrote and the departed client never read waits in the device's
// input queue and would greet the next client as stale traffic. Flushing the
// master does not reach it; flushing the device from its own side does.
// Closing our descriptor again leaves the master hung up, as before.
void PtyGateway::discardUnread() {
    const int device =
        ::open(QFile::encodeName(m_devicePath).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (device < 0) return;
    ::tcflush(device, TCIFLUSH);
    ::close(device);
}

// While no client has the device open the master reports a hang-up on every
// poll, so its read notifier would fire without end; it stays off and this
// timer looks instead.
void PtyGateway::pollForClient() {
    pollfd state{m_master, POLLIN, 0};
    if (::poll(&state, 1, 0) < 0) return;
    if (state.revents & POLLHUP) {
        // A client that wrote and closed before we noticed it.
        if (state.revents & POLLIN) readAvailable();
        return;
    }
    m_framer.reset();
    m_connected = true;
    m_clientPoll.stop();
    m_readNotifier->setEnabled(true);
    qCInfo(lcSim).noquote() << "a client opened" << m_devicePath;
    emit clientConnectedChanged(true);
    readAvailable();
}

}  // namespace qv::sim
