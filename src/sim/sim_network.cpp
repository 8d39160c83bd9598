#include "sim/sim_network.h"

#include "net/builders.h"
#include "net/encodings.h"

#include <algorithm>
#include <utility>

namespace qv::sim {

namespace {

constexpr std::uint8_t kJoin = 0xFF;
constexpr std::uint8_t kOff = 0xFF;
constexpr std::uint8_t kAllChannels = 0xFF;
constexpr std::uint8_t kLightSensor = 0xA5;

namespace op {
constexpr std::uint8_t kSavePreset = 0x09;
constexpr std::uint8_t kLevelReport = 0x60;
constexpr std::uint8_t kLevelQuery = 0x61;
constexpr std::uint8_t kPresetReport = 0x62;
constexpr std::uint8_t kPresetQuery = 0x63;
constexpr std::uint8_t kLinearPreset = 0x65;
constexpr std::uint8_t kSetLevelFirst = 0x71;
constexpr std::uint8_t kSetLevelLast = 0x73;
constexpr std::uint8_t kVersionReply = 0x00;
constexpr std::uint8_t kLuxRequest = 0x09;
constexpr std::uint8_t kLuxReading = 0x0A;
constexpr std::uint8_t kVersionRequest = 0x80;
}  // namespace op

// Presets a bank select can name beyond this do not fit a preset report.
constexpr int kMaxPreset = 256;

RawMessage areaMessage(int area, int data1, std::uint8_t opcode, int data2) {
    return net::withChecksum({net::kAreaSync, static_cast<std::uint8_t>(area),
                              static_cast<std::uint8_t>(data1), opcode, static_cast<std::uint8_t>(data2),
                              0x00, kJoin});
}

}  // namespace

SimNetwork::SimNetwork(const NetworkLayout& layout)
    : m_channels(layout.channels),
      m_areas(static_cast<std::size_t>(layout.areas),
              Area{1, std::vector<std::uint8_t>(static_cast<std::size_t>(layout.channels), kOff), {}}) {
    for (const SensorBox& sensor : layout.sensors) m_lux[sensor.box] = sensor.lux;
    for (const Device& device : layout.devices) m_devices[{device.type, device.box}] = device;
}

std::vector<RawMessage> SimNetwork::handle(const RawMessage& in) {
    if (!net::hasValidChecksum(in)) return {};
    if (in[0] == net::kAreaSync) return handleArea(in);
    if (in[0] == net::kBoxSync) return handleBox(in);
    return {};
}

std::vector<RawMessage> SimNetwork::handleArea(const RawMessage& in) {
    const int areaNumber = in[1];
    const std::uint8_t data1 = in[2];
    const std::uint8_t opcode = in[3];

    if (const int preset = net::presetFromSelect(opcode, in[5]); preset > 0) {
        if (preset <= kMaxPreset) selectPreset(areaNumber, preset);
        return {};
    }
    if (opcode == op::kLinearPreset) {
        selectPreset(areaNumber, data1 + 1);
        return {};
    }

    Area* target = area(areaNumber);
    if (!target) return {};
    switch (opcode) {
        case op::kPresetQuery:
            return {areaMessage(areaNumber, target->preset - 1, op::kPresetReport, 0x00)};
        case op::kLevelQuery:
            if (data1 >= m_channels) return {};
            return {areaMessage(areaNumber, data1, op::kLevelReport, target->levels[data1])};
        case op::kSavePreset:
            target->presets[data1 + 1] = target->levels;
            return {};
        default:
            if (opcode >= op::kSetLevelFirst && opcode <= op::kSetLevelLast)
                setChannel(*target, data1, in[4]);
            return {};
    }
}

std::vector<RawMessage> SimNetwork::handleBox(const RawMessage& in) {
    const std::uint8_t type = in[1];
    const std::uint8_t box = in[2];
    const std::uint8_t opcode = in[3];

    if (type == kLightSensor && opcode == op::kLuxRequest) {
        const auto it = m_lux.find(box);
        if (it == m_lux.end()) return {};
        const int lux = it->second;
        return {
            net::withChecksum({net::kBoxSync, kLightSensor, box, op::kLuxReading, 0x00,
                               static_cast<std::uint8_t>(lux >> 8), static_cast<std::uint8_t>(lux & 0xFF)})};
    }
    if (opcode == op::kVersionRequest) {
        const auto it = m_devices.find({type, box});
        if (it == m_devices.end()) return {};
        const Device& device = it->second;
        return {net::withChecksum(
            {net::kBoxSync, type, box, op::kVersionReply, device.major, device.minor, 0x00})};
    }
    return {};
}

RawMessage SimNetwork::randomActivity(Rng& rng) {
    const int areaNumber = 1 + rng.below(areaCount());
    RawMessage message;
    if (m_channels == 0 || rng.chance(0.7)) {
        // Mostly the first bank: panels rarely reach past preset 8.
        const int preset = 1 + rng.below(8) + (rng.chance(0.1) ? 8 : 0);
        message = *net::GoAreaPreset(areaNumber, preset);
    } else {
        const int channel = 1 + rng.below(m_channels);
        const int level = 1 + rng.below(255);
        message = *net::ChannelLevelMessage(areaNumber, channel, level);
    }
    handle(message);
    return message;
}

int SimNetwork::preset(int areaNumber) const {
    const Area* found = area(areaNumber);
    return found ? found->preset : 0;
}

std::optional<std::uint8_t> SimNetwork::level(int areaNumber, int channel) const {
    const Area* found = area(areaNumber);
    if (!found || channel < 1 || channel > m_channels) return std::nullopt;
    return found->levels[static_cast<std::size_t>(channel - 1)];
}

std::optional<std::vector<std::uint8_t>> SimNetwork::storedPreset(int areaNumber, int preset) const {
    const Area* found = area(areaNumber);
    if (!found) return std::nullopt;
    const auto it = found->presets.find(preset);
    if (it == found->presets.end()) return std::nullopt;
    return it->second;
}

std::optional<int> SimNetwork::lux(int box) const {
    const auto it = m_lux.find(box);
    if (it == m_lux.end()) return std::nullopt;
    return it->second;
}

void SimNetwork::setLux(int box, int lux) {
    m_lux[box] = lux;
}

const SimNetwork::Area* SimNetwork::area(int number) const {
    if (number < 1 || number > areaCount()) return nullptr;
    return &m_areas[static_cast<std::size_t>(number - 1)];
}

SimNetwork::Area* SimNetwork::area(int number) {
    return const_cast<Area*>(std::as_const(*this).area(number));
}

void SimNetwork::selectPreset(int areaNumber, int preset) {
    auto apply = [preset](Area& target) {
        target.preset = preset;
        if (const auto it = target.presets.find(preset); it != target.presets.end())
            target.levels = it->second;
    };
    if (areaNumber == 0) {
        for (Area& each : m_areas) apply(each);
    } else if (Area* target = area(areaNumber)) {
        apply(*target);
    }
}

void SimNetwork::setChannel(Area& target, std::uint8_t channelByte, std::uint8_t level) {
    if (channelByte == kAllChannels) {
        std::fill(target.levels.begin(), target.levels.end(), level);
    } else if (channelByte < m_channels) {
        target.levels[channelByte] = level;
    }
}

}  // namespace qv::sim
