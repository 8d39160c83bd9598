#pragma once
// The item exchange: the items of topic "Quorvel" (see exchange_items.h)
// offered to other programs of the same user over a local socket, with the
// line protocol of protocol.h. It stands where the DDE server window stood:
// loaded when the ddeability permission is on, and fed by the decoder
// through ExchangeReactions.
//
// The socket is the user's alone (no access for group or others, in the user's runtime
// directory). A client that sends garbage gets "ERR" lines; one that stops
// reading its replies, or one too many, is let go; none of them stops the
// server or the program.

#include "comms/monitor_writer.h"
#include "features/exchange/exchange_deps.h"
#include "features/exchange/exchange_items.h"
#include "features/exchange/exchange_session.h"
#include "features/exchange/line_reader.h"

#include <QLocalServer>
#include <QObject>
#include <QPointer>

#include <deque>
#include <memory>
#include <vector>

class QLocalSocket;

namespace qv::exchange {

struct ExchangeOptions {
    QString socketPath;                   // empty: defaultSocketPath()
    int maxClients = 16;                  // more are turned away
    qint64 maxUnsentBytes = 64 * 1024;    // a client further behind than this is let go
    qint64 readBufferBytes = 64 * 1024;   // unread input held per client
    qint64 pauseUnsentBytes = 16 * 1024;  // a client's requests wait while this much of its replies is unsent
    int idleTimeoutMs = 30000;            // a client silent this long is let go unless it watches items
};

class ItemExchange : public QObject {
    Q_OBJECT
public:
    ItemExchange(ExchangeDeps deps, ExchangeOptions options = {}, QObject* parent = nullptr);
    ~ItemExchange() override;

    // Loads the items and starts listening. False, with an "ERROR ***"
    // monitor record, when the socket cannot be had.
    bool start();
    // Stops listening and lets every client go; the items stay loaded.
    void stop();

    bool isListening() const { return m_server.isListening(); }
    QString socketPath() const { return m_path; }
    int clientCount() const;
    // Items watched, over all clients.
    std::size_t watchCount() const;

    ExchangeItems& items() { return m_items; }

signals:
    void itemChanged(const QString& item, const QString& text);

private:
    struct Client {
        Client(QLocalSocket* s, ExchangeItems& items);
        QLocalSocket* socket;
        LineReader reader;
        ExchangeSession session;
        std::deque<LineReader::Line> lines;  // read, not yet answered
        std::unique_ptr<qv::Timer> idle;
        bool gone = false;
        bool warned = false;
    };

    bool listenAt(const QString& path, QString* error);
    void onNewConnection();
    void turnAway(QLocalSocket* socket);
    void onReadyRead(Client* client);
    void onIdle(Client* client);
    void sendTo(Client* client, const QByteArray& line);
    void broadcast(const ItemRef& item, const QString& text);
    void dropClient(Client* client);
    void sweep();

    ExchangeDeps m_deps;
    comms::MonitorWriter m_monitorWriter;
    ExchangeOptions m_options;
    ExchangeItems m_items;
    QLocalServer m_server;
    QString m_path;
    std::vector<std::unique_ptr<Client>> m_clients;
    bool m_sweepQueued = false;
    bool m_turnedAway = false;
    // Refused, kept open until read.
    struct TurnedAway {
        QPointer<QLocalSocket> socket;
        std::unique_ptr<qv::Timer> hold;  // hangs up after kTurnAwayHoldMs
    };
    std::vector<TurnedAway> m_turningAway;
};

}  // namespace qv::exchange
