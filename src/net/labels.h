#pragma once
// The names of areas, presets and channels, and the labels built from them
// for every monitor text.

#include <array>
#include <string>
#include <vector>

namespace qv::net {

constexpr int kMaxArea = 255;
constexpr int kMaxNamedPreset = 96;
constexpr int kAllChannels = 256;

class NameTables {
public:
    NameTables();

    // Forgets every name; channel 256 of every area is "All Channels" again.
    void clear();

    // Out-of-range numbers are ignored.
    void setAreaName(int area, std::string name);
    void setPresetName(int area, int preset, std::string name);
    void setChannelName(int area, int channel, std::string name);

    // The empty text for no name or a number out of range.
    const std::string& areaName(int area) const;
    const std::string& presetName(int area, int preset) const;
    const std::string& channelName(int area, int channel) const;

private:
    std::vector<std::string> m_areas;     // 0..255
    std::vector<std::string> m_presets;   // area 0..255 x preset 1..96
    std::vector<std::string> m_channels;  // area 1..255 x channel 0..256
};

// "   Office(5)   " for a named area, "5" otherwise.
std::string AreaString(const NameTables& names, int area);
// The empty text above preset 96.
std::string PresetString(const NameTables& names, int area, int preset);
// The empty text outside channels 0..256.
std::string ChannelString(const NameTables& names, int area, int channel);

}  // namespace qv::net
