#pragma once
// What the decoder remembers of the network: the last preset of every area,
// the last level of every channel and the last lux of every sensor box.
// All in memory; everything starts unknown at start-up.

#include <array>
#include <cstdint>

namespace qv::net {

class AreaState {
public:
    AreaState();
    void reset();

    // 0 = not heard yet. Areas outside 1..255 read as 0 and are never stored.
    int GetPresetforArea(int area) const;
    void setPreset(int area, int preset);
    // Area 0 stands for all areas: every area 1..255 gets the preset.
    void setPresetAllAreas(int preset);

    // The last level byte reported, -1 when none yet. Channels 0..256.
    int channelLevel(int area, int channel) const;
    void setChannelLevel(int area, int channel, int levelByte);

    // The last lux heard from a sensor box 1..255, -1 when none yet.
    int lux(int box) const;
    void setLux(int box, int lux);

private:
    std::array<int, 256> m_presets{};
    std::array<std::array<std::int16_t, 257>, 256> m_levels{};
    std::array<int, 256> m_lux{};
};

}  // namespace qv::net
