#include "net/labels.h"

namespace qv::net {

namespace {

constexpr int kAreaCount = kMaxArea + 1;         // areas 0..255
constexpr int kChannelCount = kAllChannels + 1;  // channels 0..256
constexpr const char* kAllChannelsName = "All Channels";

const std::string kNoName;

bool validArea(int area) {
    return area >= 0 && area <= kMaxArea;
}

// Channel names exist only for real areas: area 0 has no channels.
bool validChannelSlot(int area, int channel) {
    return area >= 1 && area <= kMaxArea && channel >= 0 && channel <= kAllChannels;
}

std::size_t presetIndex(int area, int preset) {
    return static_cast<std::size_t>(area) * kMaxNamedPreset + (preset - 1);
}

std::size_t channelIndex(int area, int channel) {
    return static_cast<std::size_t>(area - 1) * kChannelCount + channel;
}

bool validPresetSlot(int area, int preset) {
    return validArea(area) && preset >= 1 && preset <= kMaxNamedPreset;
}

std::string label(const std::string& name, int number) {
    if (name.empty()) return std::to_string(number);
    return "   " + name + "(" + std::to_string(number) + ")   ";
}

}  // namespace

NameTables::NameTables() {
    clear();
}

void NameTables::clear() {
    m_areas.assign(kAreaCount, {});
    m_presets.assign(static_cast<std::size_t>(kAreaCount) * kMaxNamedPreset, {});
    m_channels.assign(static_cast<std::size_t>(kMaxArea) * kChannelCount, {});
    for (int area = 1; area <= kMaxArea; ++area)
        m_channels[channelIndex(area, kAllChannels)] = kAllChannelsName;
}

void NameTables::setAreaName(int area, std::string name) {
    if (validArea(area)) m_areas[area] = std::move(name);
}

void NameTables::setPresetName(int area, int preset, std::string name) {
    if (validPresetSlot(area, preset)) m_presets[presetIndex(area, preset)] = std::move(name);
}

void NameTables::setChannelName(int area, int channel, std::string name) {
    if (validChannelSlot(area, channel)) m_channels[channelIndex(area, channel)] = std::move(name);
}

const std::string& NameTables::areaName(int area) const {
    return validArea(area) ? m_areas[area] : kNoName;
}

const std::string& NameTables::presetName(int area, int preset) const {
    return validPresetSlot(area, preset) ? m_presets[presetIndex(area, preset)] : kNoName;
}

const std::string& NameTables::channelName(int area, int channel) const {
    return validChannelSlot(area, channel) ? m_channels[channelIndex(area, channel)] : kNoName;
}

std::string AreaString(const NameTables& names, int area) {
    return label(names.areaName(area), area);
}

std::string PresetString(const NameTables& names, int area, int preset) {
    // Only presets 1..96 can be named; above that there is nothing to show.
    if (preset > kMaxNamedPreset) return {};
    return label(names.presetName(area, preset), preset);
}

std::string ChannelString(const NameTables& names, int area, int channel) {
    if (channel < 0 || channel > kAllChannels) return {};
    return label(names.channelName(area, channel), channel);
}

}  // namespace qv::net
