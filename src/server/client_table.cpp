#include "server/client_table.h"

#include <algorithm>

namespace qv::server {

void ClientTable::expire(qint64 nowMs) {
    std::erase_if(m_clients, [&](const RelayClient& c) { return nowMs - c.lastPollMs > m_windowMs; });
}

ClientTable::Outcome ClientTable::polled(const RelayClient& client, qint64 nowMs) {
    expire(nowMs);
    for (RelayClient& known : m_clients) {
        if (known.port == client.port &&
            known.address.isEqual(client.address, QHostAddress::ConvertV4MappedToIPv4)) {
            known.via = client.via;
            known.hostName = client.hostName;
            known.lastPollMs = nowMs;
            return Outcome::Renewed;
        }
    }
    if (m_clients.size() >= m_maxClients) return Outcome::Full;
    RelayClient added = client;
    added.lastPollMs = nowMs;
    m_clients.push_back(std::move(added));
    return Outcome::Added;
}

const std::vector<RelayClient>& ClientTable::active(qint64 nowMs) {
    expire(nowMs);
    return m_clients;
}

}  // namespace qv::server
