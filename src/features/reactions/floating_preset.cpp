#include "features/reactions/floating_preset.h"

#include "features/reactions/area_channels.h"
#include "features/reactions/logging.h"
#include "features/reactions/stored_number.h"
#include "net/builders.h"
#include "net/encodings.h"
#include "store/database.h"
#include "store/field_values.h"
#include "store/store_error.h"

#include <QSqlQuery>

#include <algorithm>
#include <cmath>
#include <map>

namespace qv::reactions {

namespace {

constexpr int kOn = 0x00;
constexpr int kOff = 0xFF;

QString percentText(int levelByte) {
    return QString::fromStdString(net::levelPercentText(levelByte)) + QLatin1Char('%');
}

}  // namespace

FloatingPreset::FloatingPreset(store::Database& db, const net::AreaState& state, const net::NameTables& names,
                               const qv::Clock& clock, SendRS232 sendRS232, Intervals intervals,
                               QObject* parent)
    : QObject(parent),
      m_db(db),
      m_state(state),
      m_names(names),
      m_sendRS232(std::move(sendRS232)),
      m_paced(clock, intervals.sliderPacingMs,
              [this](int channel, int level) { send(net::ChannelLevelMessage(m_area, channel, level)); }),
      m_flashTimer(clock.createTimer(intervals.flashMs, [this] { Flashchanneltimer(); })),
      m_unloadTimer(clock.createSingleShot(intervals.unloadMs, [this] { UnloadTimer(); })),
      m_refreshTimer(clock.createSingleShot(intervals.refreshWaitMs, [this] { refreshDone(); })) {}

void FloatingPreset::send(const std::optional<net::RawMessage>& message) {
    if (message) m_sendRS232(*message);
}

FloatingChannel* FloatingPreset::find(int channel) {
    for (FloatingChannel& c : m_channels)
        if (c.channel == channel) return &c;
    return nullptr;
}

bool FloatingPreset::open(int planIndicatorId) {
    close();
    int area = 0;
    std::vector<FloatingChannel> channels;
    try {
        QSqlQuery indicator = m_db.run(
            QStringLiteral(
                "SELECT PlanIndicators.Area FROM PlanIndicators WHERE PlanIndicators.PlanIndicator_ID = ?"),
            {planIndicatorId});
        if (!indicator.next()) return false;
        area = storedInt(indicator.value(0)).value_or(0);
        if (area < 1 || area > 255) return false;

        std::map<int, QString> names;
        for (const AreaChannel& c : loadAreaChannels(m_db, area)) names[c.channel] = c.name;
        QSqlQuery switching = m_db.run(
            QStringLiteral(
                "SELECT PlanIndicatorChannels.Channel, PlanIndicatorChannels.Switching FROM "
                "PlanIndicatorChannels"
                " WHERE PlanIndicatorChannels.PlanIndicator_ID = ? ORDER BY PlanIndicatorChannels.Channel"),
            {planIndicatorId});
        while (switching.next()) {
            const std::optional<int> channel = storedInt(switching.value(0));
            if (!channel || *channel < 1 || *channel > net::kAllChannels) continue;
            if (!store::yesNoOr(switching.value(1), false)) continue;
            if (std::any_of(channels.begin(), channels.end(),
                            [&](const auto& c) { return c.channel == *channel; }))
                continue;
            const auto named = names.find(*channel);
            const int level = m_state.channelLevel(area, *channel);
            channels.push_back({*channel,
                                QStringLiteral("Channel %1: %2")
                                    .arg(*channel)
                                    .arg(named == names.end() ? QString() : named->second),
                                level == -1 ? kNoReply : percentText(level)});
        }
    } catch (const store::StoreError& e) {
        qCWarning(lcReactions) << "plan indicator" << planIndicatorId << "could not be read:" << e.what();
        return false;
    }
    m_area = area;
    m_channels = std::move(channels);
    if (!m_channels.empty()) m_selected = m_channels.front().channel;
    emit channelsChanged();
    for (const FloatingChannel& c : m_channels) send(net::RequestlevelofChannel(m_area, c.channel));
    return true;
}

bool FloatingPreset::selectChannel(int channel) {
    if (!find(channel)) return false;
    m_selected = channel;
    return true;
}

bool FloatingPreset::go(int preset) {
    if (m_area == 0) return false;
    const auto message = net::GoAreaPreset(m_area, preset);
    send(message);
    return message.has_value();
}

void FloatingPreset::setLevelText(int channel, const QString& text) {
    FloatingChannel* c = find(channel);
    if (!c || c->levelText == text) return;
    c->levelText = text;
    emit levelTextChanged(channel, text);
}

bool FloatingPreset::sendLevel(int levelByte, const QString& text) {
    if (m_area == 0 || !find(m_selected)) return false;
    send(net::ChannelLevelMessage(m_area, m_selected, levelByte));
    setLevelText(m_selected, text);
    return true;
}

bool FloatingPreset::on() {
    return sendLevel(kOn, QStringLiteral("100%"));
}

bool FloatingPreset::off() {
    return sendLevel(kOff, QStringLiteral("0%"));
}

bool FloatingPreset::setLevelPercent(double percent) {
    if (m_area == 0 || !find(m_selected)) return false;
    const double p = std::clamp(percent, 0.0, 100.0);
    m_paced.set(m_selected, net::levelFromPercent(p));
    setLevelText(m_selected, QString::number(std::lround(p)) + QLatin1Char('%'));
    return true;
}

void FloatingPreset::setFlash(bool flashing) {
    if (!flashing) {
        m_flashTimer->stop();
        return;
    }
    if (m_area == 0 || m_flashTimer->isActive()) return;
    m_flashLit = false;
    m_flashTimer->start();
}

void FloatingPreset::Flashchanneltimer() {
    m_flashLit = !m_flashLit;
    if (m_flashLit)
        on();
    else
        off();
}

bool FloatingPreset::savePreset(int preset) {
    if (m_area == 0) return false;
    const auto message = net::SavePreset(m_area, preset);
    send(message);
    return message.has_value();
}

void FloatingPreset::refresh() {
    if (m_area == 0) return;
    m_replied.clear();
    m_refreshCaption = kWait;
    emit refreshCaptionChanged(m_refreshCaption);
    for (const FloatingChannel& c : m_channels) send(net::RequestlevelofChannel(m_area, c.channel));
    m_refreshTimer->start();
}

void FloatingPreset::refreshDone() {
    m_refreshTimer->stop();
    for (const FloatingChannel& c : m_channels)
        if (!m_replied.contains(c.channel)) setLevelText(c.channel, kNoReply);
    m_refreshCaption = kRefresh;
    emit refreshCaptionChanged(m_refreshCaption);
}

void FloatingPreset::toggleChannels() {
    m_channelsShown = !m_channelsShown;
    emit channelsCaptionChanged(channelsCaption());
}

QString FloatingPreset::presetCheckText() const {
    const int preset = m_state.GetPresetforArea(m_area);
    if (preset == 0) return kNoResponse;
    const std::string& name = m_names.presetName(m_area, preset);
    return name.empty() ? QStringLiteral("Preset %1").arg(preset) : QString::fromStdString(name);
}

void FloatingPreset::focusLost() {
    if (m_area != 0) m_unloadTimer->start();
}

void FloatingPreset::focusGained() {
    m_unloadTimer->stop();
}

void FloatingPreset::UnloadTimer() {
    close();
    emit closeRequested();
}

void FloatingPreset::close() {
    m_flashTimer->stop();
    m_unloadTimer->stop();
    m_refreshTimer->stop();
    m_paced.clear();
    m_channels.clear();
    m_replied.clear();
    m_area = 0;
    m_selected = 0;
    m_refreshCaption = kRefresh;
}

void FloatingPreset::levelChanged(int area, int channel, int levelByte) {
    if (area != m_area || m_area == 0 || !find(channel)) return;
    m_replied.insert(channel);
    setLevelText(channel, percentText(levelByte));
}

}  // namespace qv::reactions
