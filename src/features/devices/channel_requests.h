#pragma once
// ChannelRequestsList: level requests waiting to be sent, one every
// kIntervalMs, so that a burst of requests does not flood the out box. An
// area's pending requests can be replaced as a whole, which the energy
// recorder needs when an area changes again before its requests are sent.

#include "clock/clock.h"
#include "features/devices/sensor_logging.h"

#include <deque>
#include <memory>
#include <utility>

namespace qv::devices {

// What the energy recorder needs of a request list.
class ChannelRequests {
public:
    virtual ~ChannelRequests() = default;
    virtual void removeArea(int area) = 0;
    virtual void add(int area, int channel) = 0;
};

class ChannelRequestQueue final : public ChannelRequests {
public:
    static constexpr int kIntervalMs = 200;  // ChannelRequestsTimer

    ChannelRequestQueue(const qv::Clock& clock, SendRS232 send);

    void removeArea(int area) override;
    void add(int area, int channel) override;

    void stop();

    std::size_t size() const { return m_requests.size(); }
    const std::deque<std::pair<int, int>>& requests() const { return m_requests; }
    bool isActive() const { return m_timer->isActive(); }

private:
    // One tick of ChannelRequestsTimer: sends the oldest request (RequestlevelofChannel).
    void ChannelRequestsTimer();

    SendRS232 m_send;
    std::unique_ptr<qv::Timer> m_timer;
    std::deque<std::pair<int, int>> m_requests;  // area, channel
};

}  // namespace qv::devices
