#include "shell/config/limits.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace qv::config {

int limitReleaseRate(int ms) {
    return std::clamp(ms, kMinReleaseRate, kMaxReleaseRate);
}

int limitLoadFromMonitorLog(int records) {
    return std::clamp(records, 0, kMaxLoadFromMonitorLog);
}

int limitUsbDelay(int ms) {
    return ms < 1 ? kDefaultUsbDelay : ms;
}

bool isButtonVersion(int buttons) {
    constexpr std::array<int, 5> versions{4, 8, 12, 18, 24};
    return std::find(versions.begin(), versions.end(), buttons) != versions.end();
}

int limitButtonVersion(int buttons) {
    return isButtonVersion(buttons) ? buttons : kDefaultButtonVersion;
}

bool CheckValidIPQuad(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4) return false;
    for (const QString& part : parts) {
        // Digits only: no signs, blanks or hex, and short enough not to overflow.
        if (part.isEmpty() || part.size() > 3) return false;
        for (const QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        if (part.toInt() > 255) return false;
    }
    return true;
}

}  // namespace qv::config
