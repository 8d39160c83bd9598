#pragma once
// Cuts the byte stream from the gateway into messages.
//
// A serial read does not deliver exactly one message: a read may hold half a
// message or several. A message is eight bytes that start with a sync byte
// (1C or 5C) and carry a valid checksum. Bytes that cannot be framed are not
// dropped: they are handed on as one undecodable chunk, either when a good
// message follows them or when the line has been quiet for a while, so that
// everything heard still reaches the monitor.

#include "net/message.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace qv::comms {

class StreamFramer {
public:
    using Chunk = std::vector<std::uint8_t>;
    // Unframable bytes are handed on once this many have gathered, so a
    // stream of garbage cannot grow the buffer without bound.
    static constexpr std::size_t kMaxJunk = 64;

    // Feeds bytes; calls emit for every complete chunk in stream order.
    void feed(const std::uint8_t* bytes, std::size_t count, const std::function<void(const Chunk&)>& emit);
    // The line went quiet: whatever is left (junk and an incomplete message)
    // goes out as one chunk.
    void flush(const std::function<void(const Chunk&)>& emit);

    bool hasPending() const { return !m_buffer.empty() || !m_junk.empty(); }

private:
    void emitJunk(const std::function<void(const Chunk&)>& emit);

    Chunk m_buffer;  // bytes not yet decided
    Chunk m_junk;    // bytes known not to start a message
};

}  // namespace qv::comms
