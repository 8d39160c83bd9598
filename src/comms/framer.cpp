#include "comms/framer.h"

#include <algorithm>

namespace qv::comms {

namespace {

bool isSync(std::uint8_t byte) {
    return byte == net::kAreaSync || byte == net::kBoxSync;
}

}  // namespace

void StreamFramer::emitJunk(const std::function<void(const Chunk&)>& emit) {
    if (m_junk.empty()) return;
    emit(m_junk);
    m_junk.clear();
}

void StreamFramer::feed(const std::uint8_t* bytes, std::size_t count,
                        const std::function<void(const Chunk&)>& emit) {
    m_buffer.insert(m_buffer.end(), bytes, bytes + count);
    std::size_t pos = 0;
    while (pos < m_buffer.size()) {
        if (!isSync(m_buffer[pos])) {
            m_junk.push_back(m_buffer[pos++]);
        } else if (m_buffer.size() - pos < net::kMessageSize) {
            break;  // maybe the start of a message: wait for the rest
        } else {
            net::RawMessage candidate;
            std::copy_n(m_buffer.begin() + static_cast<std::ptrdiff_t>(pos), net::kMessageSize,
                        candidate.begin());
            if (net::hasValidChecksum(candidate)) {
                emitJunk(emit);
                emit(Chunk(candidate.begin(), candidate.end()));
                pos += net::kMessageSize;
            } else {
                m_junk.push_back(m_buffer[pos++]);
            }
        }
        if (m_junk.size() >= kMaxJunk) emitJunk(emit);
    }
    m_buffer.erase(m_buffer.begin(), m_buffer.begin() + static_cast<std::ptrdiff_t>(pos));
}

void StreamFramer::flush(const std::function<void(const Chunk&)>& emit) {
    m_junk.insert(m_junk.end(), m_buffer.begin(), m_buffer.end());
    m_buffer.clear();
    emitJunk(emit);
}

}  // namespace qv::comms
