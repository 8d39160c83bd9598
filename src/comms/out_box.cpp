#include "comms/out_box.h"

namespace qv::comms {

OutBox::Tick OutBox::tick() {
    Tick result;
    if (m_messages.empty()) return result;
    if (m_messages.size() >= kOverflowAt) {
        m_messages.erase(m_messages.begin(), m_messages.begin() + kDiscardOnOverflow);
        result.overflowed = true;
    }
    result.write = m_messages.front();
    return result;
}

bool OutBox::acknowledge(const net::RawMessage& heard) {
    if (m_messages.empty() || m_messages.front() != heard) return false;
    m_messages.pop_front();
    return true;
}

}  // namespace qv::comms
