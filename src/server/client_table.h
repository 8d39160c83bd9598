#pragma once
// The clients the relay hands heard messages to: every address and port
// that polled within the window. Kept by the clock given to each call, so it
// needs no event loop. The table is bounded: polls are easy to forge, and a
// flood of invented clients must not grow it without end.

#include <QHostAddress>
#include <QString>

#include <vector>

namespace qv::server {

struct RelayClient {
    QHostAddress address;  // where its polls came from
    quint16 port = 0;
    QHostAddress via;  // the relay's own address the poll arrived at
    QString hostName;  // as the client named itself
    qint64 lastPollMs = 0;
};

class ClientTable {
public:
    static constexpr qint64 kWindowMs = 10000;
    static constexpr std::size_t kMaxClients = 256;

    enum class Outcome { Added, Renewed, Full };

    explicit ClientTable(qint64 windowMs = kWindowMs, std::size_t maxClients = kMaxClients)
        : m_windowMs(windowMs), m_maxClients(maxClients) {}

    // A poll from this client at nowMs.
    Outcome polled(const RelayClient& client, qint64 nowMs);
    // The clients that polled within the window; the others are forgotten.
    const std::vector<RelayClient>& active(qint64 nowMs);
    std::size_t size() const { return m_clients.size(); }

private:
    void expire(qint64 nowMs);

    qint64 m_windowMs;
    std::size_t m_maxClients;
    std::vector<RelayClient> m_clients;
};

}  // namespace qv::server
