#pragma once
// The devices behind the gateway: areas with their presets and channel
// levels, light sensors and roll-call devices. Pure state and message logic;
// the pseudo-terminal side lives in PtyGateway.

#include "net/message.h"
#include "sim/network_layout.h"
#include "sim/rng.h"

#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace qv::sim {

using net::RawMessage;

class SimNetwork {
public:
    explicit SimNetwork(const NetworkLayout& layout = {});

    // What the network answers after hearing `in`, in wire order. The
    // gateway's echo is not part of it. A message with a bad checksum, for an
    // area or box that does not exist, or that asks nothing, gets no answer.
    std::vector<RawMessage> handle(const RawMessage& in);

    // A panel press somewhere in the building (a preset select or a channel
    // set), already applied to the state. Needs at least one area.
    RawMessage randomActivity(Rng& rng);

    int areaCount() const { return static_cast<int>(m_areas.size()); }
    int channelCount() const { return m_channels; }

    // 0 for an area that does not exist.
    int preset(int area) const;
    // Nothing for an area or channel that does not exist.
    std::optional<std::uint8_t> level(int area, int channel) const;
    std::optional<std::vector<std::uint8_t>> storedPreset(int area, int preset) const;
    std::optional<int> lux(int box) const;
    // Makes the box a sensor if it was not one.
    void setLux(int box, int lux);

private:
    struct Area {
        int preset = 1;
        std::vector<std::uint8_t> levels;                  // index channel - 1
        std::map<int, std::vector<std::uint8_t>> presets;  // saved levels by preset
    };

    std::vector<RawMessage> handleArea(const RawMessage& in);
    std::vector<RawMessage> handleBox(const RawMessage& in);
    const Area* area(int number) const;
    Area* area(int number);
    void selectPreset(int areaNumber, int preset);
    void setChannel(Area& area, std::uint8_t channelByte, std::uint8_t level);

    int m_channels;
    std::vector<Area> m_areas;                                          // index area - 1
    std::map<int, int> m_lux;                                           // by sensor box
    std::map<std::pair<std::uint8_t, std::uint8_t>, Device> m_devices;  // by (type, box)
};

}  // namespace qv::sim
