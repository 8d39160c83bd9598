#include "net/area_state.h"

namespace qv::net {

namespace {

constexpr int kLastSlot = 255;
constexpr int kLastChannel = 256;

// Areas and sensor boxes are both numbered 1..255; 0 is "all" or "none".
bool validSlot(int number) {
    return number >= 1 && number <= kLastSlot;
}

bool validChannel(int area, int channel) {
    return validSlot(area) && channel >= 0 && channel <= kLastChannel;
}

}  // namespace

AreaState::AreaState() {
    reset();
}

void AreaState::reset() {
    m_presets.fill(0);
    for (auto& channels : m_levels) channels.fill(-1);
    m_lux.fill(-1);
}

int AreaState::GetPresetforArea(int area) const {
    return validSlot(area) ? m_presets[area] : 0;
}

void AreaState::setPreset(int area, int preset) {
    if (validSlot(area)) m_presets[area] = preset;
}

void AreaState::setPresetAllAreas(int preset) {
    for (int area = 1; area <= kLastSlot; ++area) m_presets[area] = preset;
}

int AreaState::channelLevel(int area, int channel) const {
    return validChannel(area, channel) ? m_levels[area][channel] : -1;
}

void AreaState::setChannelLevel(int area, int channel, int levelByte) {
    // The table holds level bytes and -1 for "no report"; nothing else fits.
    if (validChannel(area, channel) && levelByte >= -1 && levelByte <= 0xFF)
        m_levels[area][channel] = static_cast<std::int16_t>(levelByte);
}

int AreaState::lux(int box) const {
    return validSlot(box) ? m_lux[box] : -1;
}

void AreaState::setLux(int box, int lux) {
    if (validSlot(box)) m_lux[box] = lux;
}

}  // namespace qv::net
