#include "features/reactions/channel_seek.h"

#include "features/reactions/area_channels.h"
#include "features/reactions/logging.h"
#include "net/builders.h"
#include "store/store_error.h"

namespace qv::reactions {

ChannelSeek::ChannelSeek(store::Database& db, const net::AreaState& state, store::MonitorSink& monitor,
                         const qv::Clock& clock, SendRS232 sendRS232, int stepMs, QObject* parent)
    : QObject(parent),
      m_db(db),
      m_state(state),
      m_monitorWriter(monitor, clock),
      m_sendRS232(std::move(sendRS232)),
      m_timer(clock.createTimer(stepMs, [this] { requestleveltimer(); })) {}

QString ChannelSeek::progressText(int channel) {
    return QStringLiteral("seeking channel %1 of %2 channels").arg(channel).arg(kLastChannel);
}

bool ChannelSeek::start(int area) {
    if (m_running || area < 1 || area > 255) return false;
    m_area = area;
    m_next = 1;
    m_running = true;
    m_timer->start();
    qCInfo(lcReactions) << "channel seek of area" << area << "started";
    return true;
}

void ChannelSeek::stop() {
    if (!m_running) return;
    m_timer->stop();
    m_running = false;
    qCInfo(lcReactions) << "channel seek of area" << m_area << "stopped at channel" << m_next - 1;
    emit stopped();
}

void ChannelSeek::requestleveltimer() {
    if (!m_running) return;
    if (m_next > kLastChannel) {
        finish();
        return;
    }
    const int channel = m_next++;
    emit progress(channel, kLastChannel, progressText(channel));
    if (const auto request = net::RequestlevelofChannel(m_area, channel)) m_sendRS232(*request);
}

void ChannelSeek::finish() {
    m_timer->stop();
    m_running = false;
    std::vector<int> answered;
    for (int channel = 1; channel <= kLastChannel; ++channel)
        if (m_state.channelLevel(m_area, channel) != -1) answered.push_back(channel);
    QList<int> stored;
    try {
        for (int channel : addSeekChannels(m_db, m_area, answered)) stored << channel;
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(QStringLiteral("The channels found in area %1 could not be stored: %2")
                                  .arg(m_area)
                                  .arg(QString::fromUtf8(e.what())));
    }
    qCInfo(lcReactions) << "channel seek of area" << m_area << "found" << answered.size()
                        << "channels, stored" << stored.size();
    emit finished(stored);
}

}  // namespace qv::reactions
