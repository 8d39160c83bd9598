#include "features/devices/channel_requests.h"

#include "net/builders.h"

#include <algorithm>

namespace qv::devices {

ChannelRequestQueue::ChannelRequestQueue(const qv::Clock& clock, SendRS232 send)
    : m_send(std::move(send)), m_timer(clock.createTimer(0, [this] { ChannelRequestsTimer(); })) {}

void ChannelRequestQueue::removeArea(int area) {
    std::erase_if(m_requests, [area](const auto& request) { return request.first == area; });
}

void ChannelRequestQueue::add(int area, int channel) {
    m_requests.emplace_back(area, channel);
    if (!m_timer->isActive()) m_timer->start(kIntervalMs);
}

void ChannelRequestQueue::ChannelRequestsTimer() {
    if (m_requests.empty()) {
        m_timer->stop();
        return;
    }
    const auto [area, channel] = m_requests.front();
    m_requests.pop_front();
    if (const auto message = net::RequestlevelofChannel(area, channel)) m_send(*message);
}

void ChannelRequestQueue::stop() {
    m_timer->stop();
    m_requests.clear();
}

}  // namespace qv::devices
