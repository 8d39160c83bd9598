#include "sim/gateway_framer.h"

#include <algorithm>

namespace qv::sim {

namespace {

bool isSync(std::uint8_t byte) {
    return byte == net::kAreaSync || byte == net::kBoxSync;
}

}  // namespace

std::vector<net::RawMessage> GatewayFramer::feed(const std::uint8_t* bytes, std::size_t count) {
    std::vector<net::RawMessage> messages;
    for (std::size_t i = 0; i < count; ++i) {
        m_buffer.push_back(bytes[i]);
        // Drop bytes until the buffer is empty or holds the start of a
        // candidate that is not yet complete.
        while (!m_buffer.empty()) {
            if (!isSync(m_buffer.front())) {
                m_buffer.erase(m_buffer.begin());
                ++m_skipped;
                continue;
            }
            if (m_buffer.size() < net::kMessageSize) break;
            net::RawMessage candidate;
            std::copy_n(m_buffer.begin(), net::kMessageSize, candidate.begin());
            if (net::hasValidChecksum(candidate)) {
                messages.push_back(candidate);
                m_buffer.erase(m_buffer.begin(), m_buffer.begin() + net::kMessageSize);
            } else {
                m_buffer.erase(m_buffer.begin());
                ++m_skipped;
            }
        }
    }
    return messages;
}

}  // namespace qv::sim
