#include "features/exchange/item_exchange.h"

#include "features/exchange/logging.h"
#include "features/exchange/protocol.h"
#include "features/exchange/socket_path.h"

#include <QFileInfo>
#include <QLocalSocket>
#include <QPointer>

#include <sys/stat.h>

namespace qv::exchange {

namespace {

constexpr int kProbeMs = 500;
constexpr qint64 kReadChunk = 4096;
constexpr int kTurnAwayHoldMs = 1000;

// Someone answers on the socket: another copy of the program owns it.
bool someoneListens(const QString& path) {
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool answered = probe.waitForConnected(kProbeMs);
    probe.abort();
    return answered;
}

}  // namespace

ItemExchange::Client::Client(QLocalSocket* s, ExchangeItems& items)
    : socket(s), reader(kMaxLineBytes), session(items) {}

ItemExchange::ItemExchange(ExchangeDeps deps, ExchangeOptions options, QObject* parent)
    : QObject(parent),
      m_deps(std::move(deps)),
      m_monitorWriter(m_deps.monitor, m_deps.clock),
      m_options(std::move(options)),
      m_items(m_deps.sendRS232, m_deps.runner) {
    m_items.setChangeHandler([this](const ItemRef& item, const QString& text) { broadcast(item, text); });
    connect(&m_server, &QLocalServer::newConnection, this, &ItemExchange::onNewConnection);
}

ItemExchange::~ItemExchange() {
    stop();
}

bool ItemExchange::start() {
    if (m_server.isListening()) return true;
    m_items.load(m_deps.areaState);

    m_path = m_options.socketPath.isEmpty() ? defaultSocketPath() : m_options.socketPath;
    QString error;
    if (m_path.isEmpty()) {
        error = QStringLiteral("there is no runtime directory for its socket");
    } else if (listenAt(m_path, &error)) {
        qCInfo(lcExchange) << "item exchange listening at" << m_path;
        m_monitorWriter.system(QStringLiteral("Item exchange (topic %1) open to other programs at %2")
                                   .arg(QLatin1String(kTopic), m_path));
        return true;
    }
    qCWarning(lcExchange) << "item exchange not opened at" << m_path << ":" << error;
    m_monitorWriter.error(
        QStringLiteral("The item exchange could not be opened at %1: %2").arg(m_path, error));
    return false;
}

bool ItemExchange::listenAt(const QString& path, QString* error) {
    const QFileInfo dir(QFileInfo(path).absolutePath());
    if (!dir.isDir()) {
        *error = QStringLiteral("the folder %1 does not exist").arg(dir.filePath());
        return false;
    }
    // Qt makes a user-only socket aside and renames it over the path, which
    // would silently replace whatever is there: look first.
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) == 0) {
        if (!S_ISSOCK(info.st_mode)) {
            *error = QStringLiteral("something that is not a socket is in the way");
            return false;
        }
        if (someoneListens(path)) {
            *error = QStringLiteral("another program is already answering there");
            return false;
        }
        // Left behind by a copy that did not shut down cleanly.
        QLocalServer::removeServer(path);
    }
    // Only the user may connect: group and others get no access to the socket.
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(path)) return true;
    *error = m_server.errorString();
    return false;
}

void ItemExchange::stop() {
    // The list itself is emptied by the sweep: stop() may come from inside a request.
    for (auto& client : m_clients) dropClient(client.get());
    if (m_server.isListening()) {
        m_server.close();
        qCInfo(lcExchange) << "item exchange closed";
    }
}

int ItemExchange::clientCount() const {
    int count = 0;
    for (const auto& client : m_clients) count += client->gone ? 0 : 1;
    return count;
}

std::size_t ItemExchange::watchCount() const {
    std::size_t count = 0;
    for (const auto& client : m_clients)
        if (!client->gone) count += client->session.watchCount();
    return count;
}

void ItemExchange::onNewConnection() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        if (clientCount() >= m_options.maxClients) {
            turnAway(socket);
            if (!m_turnedAway) {
                m_turnedAway = true;
                m_monitorWriter.warning(
                    QStringLiteral("An item exchange client was turned away: %1 are connected already")
                        .arg(m_options.maxClients));
            }
            continue;
        }
        socket->setReadBufferSize(m_options.readBufferBytes);
        m_clients.push_back(std::make_unique<Client>(socket, m_items));
        Client* client = m_clients.back().get();
        connect(socket, &QLocalSocket::readyRead, this, [this, client] { onReadyRead(client); });
        // Replies that had to wait let its next requests be answered.
        // Queued: a flush inside the handler would not signal again, and the rest would wait forever.
        connect(socket, &QLocalSocket::bytesWritten, this, [this, socket] {
            QMetaObject::invokeMethod(
                this,
                [this, s = QPointer<QLocalSocket>(socket)] {
                    for (const auto& c : m_clients)
                        if (s && c->socket == s && !c->gone) onReadyRead(c.get());
                },
                Qt::QueuedConnection);
        });
        client->idle =
            m_deps.clock.createSingleShot(m_options.idleTimeoutMs, [this, client] { onIdle(client); });
        client->idle->start();
        connect(socket, &QLocalSocket::disconnected, this, [this, client] {
            // A client may send its requests and hang up without waiting:
            // what it sent is still done.
            onReadyRead(client);
            dropClient(client);
        });
        // Bytes may have arrived before the signals were connected.
        if (socket->bytesAvailable() > 0) onReadyRead(client);
    }
}

// The refusal must be read before the socket closes. Closed at once, it
// would meet the request the client sends meanwhile, and the client's failed
// write or the reset would throw the refusal away unread. So the socket stays
// open, its input ignored, until the client hangs up or a second has passed;
// beyond a few such sockets at a time the rest are closed at once.
void ItemExchange::turnAway(QLocalSocket* socket) {
    socket->write(errLine(QStringLiteral("too many clients (at most %1)").arg(m_options.maxClients)));
    socket->flush();
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    std::erase_if(m_turningAway, [](const TurnedAway& t) { return t.socket.isNull(); });
    if (std::ssize(m_turningAway) < m_options.maxClients) {
        connect(socket, &QLocalSocket::readyRead, socket, [socket] { socket->readAll(); });
        QPointer<QLocalSocket> held(socket);
        m_turningAway.push_back({held, m_deps.clock.createSingleShot(kTurnAwayHoldMs, [held] {
                                     if (held) held->disconnectFromServer();
                                 })});
        m_turningAway.back().hold->start();
        return;
    }
    socket->disconnectFromServer();
    if (socket->state() == QLocalSocket::UnconnectedState) socket->deleteLater();
}

void ItemExchange::onReadyRead(Client* client) {
    // Requests are answered in order, their replies written out in one go: a
    // client that sends its requests and closes its side still gets every
    // reply, and one that sends many only waits while its replies are unread.
    while (!client->gone && client->socket->bytesToWrite() < m_options.pauseUnsentBytes) {
        if (client->lines.empty()) {
            if (client->socket->bytesAvailable() <= 0) break;
            const QByteArray chunk = client->socket->read(kReadChunk);
            if (chunk.isEmpty()) break;
            client->idle->start();
            for (LineReader::Line& line : client->reader.feed(chunk))
                client->lines.push_back(std::move(line));
            continue;
        }
        const LineReader::Line line = std::move(client->lines.front());
        client->lines.pop_front();
        const int errorsBefore = client->session.errorCount();
        const QByteArray reply = client->session.handle(line);
        if (client->session.errorCount() > errorsBefore && !client->warned) {
            client->warned = true;
            m_monitorWriter.warning(
                QStringLiteral("An item exchange client sent a line that could not be used: %1")
                    .arg(client->session.firstError()));
        }
        sendTo(client, reply);
    }
    if (!client->gone) client->socket->flush();
}

void ItemExchange::onIdle(Client* client) {
    if (client->gone) return;
    // A watcher waits for changes by design; a client halfway through a line,
    // or one that neither asks nor watches, only holds a place.
    if (client->session.watchCount() > 0 && client->reader.pendingBytes() == 0) {
        client->idle->start();
        return;
    }
    qCInfo(lcExchange) << "item exchange client let go after" << m_options.idleTimeoutMs << "ms of silence";
    dropClient(client);
}

void ItemExchange::sendTo(Client* client, const QByteArray& line) {
    if (client->gone || client->socket->state() != QLocalSocket::ConnectedState) return;
    client->socket->write(line);
    if (client->socket->bytesToWrite() > m_options.maxUnsentBytes) {
        m_monitorWriter.warning(
            QStringLiteral("An item exchange client was disconnected: it did not read its replies"));
        dropClient(client);
    }
}

void ItemExchange::broadcast(const ItemRef& item, const QString& text) {
    const QString name = item.name();
    emit itemChanged(name, text);
    const QByteArray line = changedLine(name, text);
    // Index loop: a client let go here stays in the list until the sweep.
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
        Client* client = m_clients[i].get();
        if (!client->gone && client->session.watches(item)) sendTo(client, line);
    }
}

void ItemExchange::dropClient(Client* client) {
    if (client->gone) return;
    client->gone = true;
    client->idle->stop();
    QLocalSocket* socket = client->socket;
    disconnect(socket, nullptr, this, nullptr);
    socket->abort();
    socket->deleteLater();
    // The client may be in the middle of its own request: it is erased later.
    if (!m_sweepQueued) {
        m_sweepQueued = true;
        QMetaObject::invokeMethod(this, &ItemExchange::sweep, Qt::QueuedConnection);
    }
}

void ItemExchange::sweep() {
    m_sweepQueued = false;
    std::erase_if(m_clients, [](const std::unique_ptr<Client>& c) { return c->gone; });
    if (clientCount() < m_options.maxClients) m_turnedAway = false;
}

}  // namespace qv::exchange
