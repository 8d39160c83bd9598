#pragma once
// The out box: raw messages waiting for the network.
//
// The head stays until its echo arrives, so a lost echo re-sends it on the
// next tick. When 501 or more are waiting the network is not keeping up: the
// 250 oldest are thrown away to make room.

#include "net/message.h"

#include <deque>
#include <optional>

namespace qv::comms {

class OutBox {
public:
    static constexpr std::size_t kOverflowAt = 501;
    static constexpr std::size_t kDiscardOnOverflow = 250;

    void push(const net::RawMessage& message) { m_messages.push_back(message); }
    std::size_t size() const { return m_messages.size(); }
    bool empty() const { return m_messages.empty(); }
    void clear() { m_messages.clear(); }

    struct Tick {
        std::optional<net::RawMessage> write;  // the head, to be written again
        bool overflowed = false;               // the oldest were discarded
    };
    Tick tick();

    // True (and the head removed) when the heard message is the head's echo.
    bool acknowledge(const net::RawMessage& heard);

private:
    std::deque<net::RawMessage> m_messages;
};

}  // namespace qv::comms
