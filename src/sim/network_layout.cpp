#include "sim/network_layout.h"

#include <QStringList>

namespace qv::sim {

namespace {

std::optional<int> number(const QString& text, int base, int low, int high) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, base);
    if (!ok || value < low || value > high) return std::nullopt;
    return value;
}

QStringList items(const QString& text) {
    return text.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

std::optional<Device> parseDevice(const QString& item) {
    const QStringList parts = item.trimmed().split(QLatin1Char(':'));
    if (parts.size() != 3) return std::nullopt;
    const QStringList version = parts[2].split(QLatin1Char('.'));
    if (version.size() != 2) return std::nullopt;
    const auto type = number(parts[0], 16, 0, 0xFF);
    const auto box = number(parts[1], 10, 0, 0xFF);
    const auto major = number(version[0], 10, 0, 0xFF);
    const auto minor = number(version[1], 10, 0, 0xFF);
    if (!type || !box || !major || !minor) return std::nullopt;
    return Device{static_cast<std::uint8_t>(*type), static_cast<std::uint8_t>(*box),
                  static_cast<std::uint8_t>(*major), static_cast<std::uint8_t>(*minor)};
}

}  // namespace

std::optional<std::vector<SensorBox>> parseSensorList(const QString& text, QString* error) {
    std::vector<SensorBox> sensors;
    for (const QString& item : items(text)) {
        const QStringList parts = item.split(QLatin1Char('='));
        const auto box = number(parts[0], 10, 1, 0xFF);
        const auto lux =
            parts.size() == 2 ? number(parts[1], 10, 0, 0xFFFF) : std::optional<int>(kDefaultLux);
        if (parts.size() > 2 || !box || !lux) {
            *error = QStringLiteral("bad sensor \"%1\": expected BOX or BOX=LUX, box 1-255, lux 0-65535")
                         .arg(item.trimmed());
            return std::nullopt;
        }
        sensors.push_back({*box, *lux});
    }
    return sensors;
}

std::optional<std::vector<Device>> parseDeviceList(const QString& text, QString* error) {
    std::vector<Device> devices;
    for (const QString& item : items(text)) {
        const auto device = parseDevice(item);
        if (!device) {
            *error = QStringLiteral(
                         "bad device \"%1\": expected TYPE:BOX:MAJOR.MINOR, "
                         "type in hex (00-FF), box and version parts 0-255")
                         .arg(item.trimmed());
            return std::nullopt;
        }
        devices.push_back(*device);
    }
    return devices;
}

}  // namespace qv::sim
