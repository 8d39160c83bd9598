#include "server/relay_replies.h"

#include <algorithm>

namespace qv::server {

namespace {

QByteArray padded(int value, int width) {
    return QByteArray::number(value).rightJustified(width, ' ', true);
}

}  // namespace

QByteArray okReply() {
    return QByteArrayLiteral("OK   :");
}

QByteArray versionReply(const RelayVersion& version) {
    const auto field = [](int value) { return padded(std::clamp(value, 0, 999), 3); };
    return "QVELSERVERVERSION MAJOR:" + field(version.major) + " MINOR:" + field(version.minor) +
           " BUILD:" + field(version.build);
}

QByteArray presetReport(int area, int preset) {
    return "AREA:" + padded(std::clamp(area, 0, 9999), 4) +
           " IS IN PRESET:" + padded(std::clamp(preset, 0, 9999), 4);
}

QByteArray relayedMessage(std::string_view hex) {
    if (hex.empty() || hex.size() > 9999) return {};
    return "RS232:" + padded(static_cast<int>(hex.size()), 4) + " " +
           QByteArray(hex.data(), static_cast<qsizetype>(hex.size()));
}

}  // namespace qv::server
