#include "macros/display_text.h"

#include "macros/number_text.h"

#include <cmath>

namespace qv::macros {

DelaySplit splitDelay(double totalSeconds) {
    DelaySplit split;
    if (!std::isfinite(totalSeconds) || totalSeconds <= 0) return split;
    split.hours = std::floor(totalSeconds / 3600.0);
    split.minutes = std::floor((totalSeconds - split.hours * 3600.0) / 60.0);
    split.seconds = totalSeconds - split.hours * 3600.0 - split.minutes * 60.0;
    return split;
}

QString delayDisplay(double totalSeconds) {
    const DelaySplit split = splitDelay(totalSeconds);
    QString text = QStringLiteral("Delay for ");
    if (split.hours > 0) text += fixedText(split.hours, 0) + QStringLiteral(" hours ");
    if (split.minutes > 0) text += fixedText(split.minutes, 0) + QStringLiteral(" mins ");
    if (split.seconds > 0) text += fixedText(split.seconds, 1) + QStringLiteral(" secs ");
    return text;
}

QString nameOr(const QString& name, const char* word, const QString& number) {
    if (!name.isEmpty()) return name;
    return QString::fromLatin1(word) + QLatin1Char(' ') + number;
}

QString presetDisplay(const QString& areaName, int area, const QString& presetName, int preset, double fade) {
    return nameOr(areaName, "Area", QString::number(area)) + QStringLiteral(" to ") +
           nameOr(presetName, "Preset", QString::number(preset)) + QStringLiteral(" over ") +
           fixedText(fade, 1) + QStringLiteral("sec");
}

QString channelDisplay(const QString& areaName, int area, const QString& channelName, int channel, int level,
                       double fade) {
    return nameOr(areaName, "Area", QString::number(area)) + QStringLiteral(", ") +
           nameOr(channelName, "Channel", QString::number(channel)) + QStringLiteral(" to ") +
           QString::number(level) + QStringLiteral("%") + QStringLiteral(" over ") + fixedText(fade, 1) +
           QStringLiteral("sec");
}

QString wavDisplay(const QString& path) {
    return QStringLiteral("play ") + path;
}

QString rollCallDisplay(const QString& name) {
    return QStringLiteral("Rollcall: ") + name;
}

QString customDisplay(const QString& customCodeName) {
    return QStringLiteral("Custom Code:") + customCodeName;
}

QString subMacroDisplay(const QString& macro) {
    return QStringLiteral("Run: ") + macro;
}

QString cancelMacroDisplay(const QString& macro) {
    return QStringLiteral("Cancel: ") + macro;
}

QString enableMacroDisplay(const QString& macro) {
    return QStringLiteral("Enable Macro: ") + macro;
}

QString disableMacroDisplay(const QString& macro) {
    return QStringLiteral("Disable Macro: ") + macro;
}

QString emailDisplay(const QString& emailName) {
    return QStringLiteral("Email: ") + emailName;
}

QString corvalinDisplay(const QString& box, const QString& channelDesc, const QString& levelDesc) {
    return QStringLiteral("lightbox #") + box + QStringLiteral(": '") + channelDesc +
           QStringLiteral("' to ") + levelDesc;
}

QString planViewDisplay(const QString& fullPath) {
    return QStringLiteral("PlanView Nav:") + fullPath;
}

QString emptyLineDisplay() {
    return QStringLiteral("(no action)");
}

}  // namespace qv::macros
