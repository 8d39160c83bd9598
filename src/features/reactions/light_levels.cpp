#include "features/reactions/light_levels.h"

#include "features/reactions/logging.h"
#include "net/builders.h"
#include "net/encodings.h"
#include "store/store_error.h"

#include <algorithm>
#include <cmath>

namespace qv::reactions {

LightLevels::LightLevels(store::Database& db, const net::AreaState& state, store::MonitorSink& monitor,
                         const qv::Clock& clock, SendRS232 sendRS232, Intervals intervals, QObject* parent)
    : QObject(parent),
      m_db(db),
      m_state(state),
      m_monitorWriter(monitor, clock),
      m_sendRS232(std::move(sendRS232)),
      m_paced(clock, intervals.sliderPacingMs,
              [this](int channel, int level) { send(net::ChannelLevelMessage(m_area, channel, level)); }),
      m_saves(clock, intervals.saveSpacingMs),
      m_seek(db, state, monitor, clock, m_sendRS232, intervals.seekStepMs),
      m_followTimer(clock.createTimer(intervals.followPresetMs, [this] { checkforchangingpresettimer(); })) {
    connect(&m_seek, &ChannelSeek::progress, this,
            [this](int channel, int, const QString& text) { emit seekProgress(channel, text); });
    connect(&m_seek, &ChannelSeek::finished, this, [this] {
        loadRows();
        requestLevels();
        emit seekingChanged(false);
    });
    connect(&m_seek, &ChannelSeek::stopped, this, [this] { emit seekingChanged(false); });
}

void LightLevels::send(const std::optional<net::RawMessage>& message) {
    if (message) m_sendRS232(*message);
}

ChannelRow* LightLevels::row(int channel) {
    for (ChannelRow& r : m_rows)
        if (r.channel == channel) return &r;
    return nullptr;
}

const ChannelRow* LightLevels::channel(int channel) const {
    for (const ChannelRow& r : m_rows)
        if (r.channel == channel) return &r;
    return nullptr;
}

void LightLevels::showLevel(ChannelRow& r, int levelByte) {
    r.levelByte = levelByte;
    if (levelByte == 0) {
        r.sliderVisible = false;
        return;
    }
    r.percent = static_cast<int>(std::lround(net::levelPercent(levelByte)));
    r.sliderVisible = true;
    r.queryVisible = false;
}

LightLevels::Loaded LightLevels::chooseArea(int area) {
    if (area < 1 || area > 255 || seeking()) return Loaded::Failed;
    m_paced.clear();
    m_saves.cancel();
    m_area = area;
    m_preset = m_state.GetPresetforArea(area);
    m_followTimer->start();
    const Loaded loaded = loadRows();
    if (loaded == Loaded::Channels) requestLevels();
    return loaded;
}

LightLevels::Loaded LightLevels::loadRows() {
    std::vector<AreaChannel> known;
    try {
        known = loadAreaChannels(m_db, m_area);
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(QStringLiteral("The channels of area %1 could not be read: %2")
                                  .arg(m_area)
                                  .arg(QString::fromUtf8(e.what())));
        m_rows.clear();
        emit channelsChanged();
        return Loaded::Failed;
    }
    m_rows.clear();
    for (const AreaChannel& c : known) {
        emit loadingChannel(QStringLiteral("Loading Channel: %1").arg(c.channel));
        ChannelRow r;
        r.channel = c.channel;
        r.name = c.name;
        const int level = m_state.channelLevel(m_area, c.channel);
        if (level != -1) showLevel(r, level);
        m_rows.push_back(r);
    }
    emit channelsChanged();
    return m_rows.empty() ? Loaded::NoChannels : Loaded::Channels;
}

void LightLevels::requestLevels() {
    for (const ChannelRow& r : m_rows) send(net::RequestlevelofChannel(m_area, r.channel));
}

bool LightLevels::choosePreset(int preset) {
    if (m_area == 0 || seeking()) return false;
    const auto message = net::GoAreaPreset(m_area, preset);
    if (!message) return false;
    m_preset = preset;
    m_sendRS232(*message);
    if (m_autoRefresh) requestLevels();
    return true;
}

bool LightLevels::setSliderPercent(int channel, double percent) {
    if (!m_okToSend || m_area == 0) return false;
    ChannelRow* r = row(channel);
    if (!r) return false;
    const int level = net::levelFromPercent(percent);
    r->levelByte = level;
    r->percent = static_cast<int>(std::lround(std::clamp(percent, 0.0, 100.0)));
    m_paced.set(channel, level);
    return true;
}

bool LightLevels::savePreset() {
    if (!m_permissions.savePresets || m_area == 0 || m_preset == 0 || seeking()) return false;
    const auto message = net::SavePreset(m_area, m_preset);
    if (!message) return false;
    m_monitorWriter.system(kSaveNote);
    m_sendRS232(*message);
    return true;
}

bool LightLevels::saveToOtherPresets(const std::vector<int>& presets) {
    if (!m_permissions.savePresets || m_area == 0 || seeking()) return false;
    std::vector<TimedSequence::Step> steps;
    for (int preset : presets)
        if (const auto message = net::SavePreset(m_area, preset))
            steps.push_back([this, message = *message] {
                m_monitorWriter.system(kSaveNote);
                m_sendRS232(message);
            });
    return m_saves.start(std::move(steps), [this] { emit otherPresetsSaved(); });
}

bool LightLevels::setChannelDescription(int channel, const QString& text) {
    if (m_area == 0) return false;
    try {
        reactions::setChannelDescription(m_db, m_area, channel, text);
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(QStringLiteral("The description of area %1 channel %2 could not be stored: %3")
                                  .arg(m_area)
                                  .arg(channel)
                                  .arg(QString::fromUtf8(e.what())));
        return false;
    }
    if (ChannelRow* r = row(channel)) r->name = text;
    emit channelNamed(m_area, channel, text);
    return true;
}

bool LightLevels::startSeek() {
    if (!m_permissions.seekChannels || m_area == 0 || !m_seek.start(m_area)) return false;
    m_paced.clear();
    m_saves.cancel();
    emit seekingChanged(true);
    return true;
}

void LightLevels::checkforchangingpresettimer() {
    if (m_area == 0 || seeking()) return;
    const int preset = m_state.GetPresetforArea(m_area);
    if (preset == 0 || preset == m_preset) return;
    m_preset = preset;
    emit presetChanged(preset);
}

void LightLevels::close() {
    m_followTimer->stop();
    m_paced.clear();
    m_saves.cancel();
    m_seek.stop();
    m_rows.clear();
    m_area = 0;
    m_preset = 0;
    m_adjusting = false;
}

void LightLevels::levelChanged(int area, int channel, int levelByte) {
    if (area != m_area || m_area == 0 || m_adjusting) return;
    ChannelRow* r = row(channel);
    if (!r) return;
    m_okToSend = false;
    showLevel(*r, levelByte);
    emit channelChanged(channel);
    m_okToSend = true;
}

}  // namespace qv::reactions
