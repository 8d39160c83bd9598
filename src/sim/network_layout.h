#pragma once
// What the simulated network is made of: how many areas and channels, which
// light sensors and which devices answer a roll call.

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace qv::sim {

struct SensorBox {
    int box = 0;  // 1..255
    int lux = 0;  // 0..65535, what the next reading reports
};

struct Device {
    std::uint8_t type = 0;  // the device code sent in byte 1
    std::uint8_t box = 0;
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
};

struct NetworkLayout {
    int areas = 32;    // areas 1..areas exist
    int channels = 8;  // channels 1..channels in every area
    std::vector<SensorBox> sensors;
    std::vector<Device> devices;
};

constexpr int kDefaultLux = 300;

// "7,9=120": sensor boxes, each optionally with its starting lux (default
// kDefaultLux). Empty text gives no sensors. On a bad item returns nothing
// and says why in *error.
std::optional<std::vector<SensorBox>> parseSensorList(const QString& text, QString* error);

// "A5:7:1.4,20:12:2.0": type:box:major.minor, the type in hex as the device
// codes are written, box and version parts in decimal.
std::optional<std::vector<Device>> parseDeviceList(const QString& text, QString* error);

}  // namespace qv::sim
