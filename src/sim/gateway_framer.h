#pragma once
// Cuts what the PC writes into messages, as the gateway does before it puts
// them on the network. A message is eight bytes that start with a sync byte
// and carry a valid checksum; anything else is skipped a byte at a time, so
// the framer finds its feet again after garbage or a torn message.

#include "net/message.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::sim {

class GatewayFramer {
public:
    // Returns the messages completed by these bytes, in order.
    std::vector<net::RawMessage> feed(const std::uint8_t* bytes, std::size_t count);

    // Forgets a partial message, for a new client.
    void reset() { m_buffer.clear(); }

    std::uint64_t skippedBytes() const { return m_skipped; }

private:
    // Never more than a message's worth: a candidate either completes or is
    // dropped byte by byte.
    std::vector<std::uint8_t> m_buffer;
    std::uint64_t m_skipped = 0;
};

}  // namespace qv::sim
