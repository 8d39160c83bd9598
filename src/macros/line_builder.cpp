#include "macros/line_builder.h"

#include "macros/command_line.h"
#include "macros/display_text.h"
#include "macros/number_text.h"
#include "macros/stored_message.h"

#include <algorithm>
#include <cmath>

namespace qv::macros {

namespace {

BuiltLines one(const QString& line) {
    return BuiltLines{{line}, {}};
}

BuiltLines refused(const QString& message) {
    return BuiltLines{{}, message};
}

BuiltLines fromChoice(const std::optional<QString>& choice, QString (*make)(const QString&)) {
    if (!choice || choice->isEmpty()) return {};
    return one(make(*choice));
}

}  // namespace

DelayEntry buildDelayLine(const QString& hours, const QString& minutes, const QString& seconds) {
    DelayEntry entry;
    entry.hoursBox = hours;
    entry.minutesBox = minutes;
    entry.secondsBox = seconds;
    const float total = static_cast<float>(leadingNumber(hours)) * 3600.0f +
                        static_cast<float>(leadingNumber(minutes)) * 60.0f +
                        static_cast<float>(leadingNumber(seconds));
    if (total > static_cast<float>(kMaxDelaySeconds)) {
        entry.built = refused(QString::fromLatin1(editor_text::kDelayTooLong));
        return entry;
    }
    if (total < 0) {
        entry.built = refused(QString::fromLatin1(editor_text::kNegativeDelay));
        return entry;
    }
    const DelaySplit split = splitDelay(total);
    entry.hoursBox = fixedText(split.hours, 0);
    entry.minutesBox = fixedText(split.minutes, 0);
    entry.secondsBox = fixedText(split.seconds, 1);
    entry.built = one(delayLine(defaultText(total)));
    return entry;
}

FadeBox checkPresetFade(const QString& fadeText) {
    if (leadingNumber(fadeText) > kMaxPresetFade)
        return {QString::number(static_cast<int>(kMaxPresetFade)),
                QString::fromLatin1(editor_text::kFadeTooLong)};
    return {fadeText, {}};
}

QString clampChannelFade(const QString& fadeText) {
    const double fade = leadingNumber(fadeText);
    if (fade > kMaxChannelFade) return QString::number(kMaxChannelFade);
    if (fade < 0) return QStringLiteral("0");
    return fadeText;
}

QString clampLevel(const QString& levelText) {
    const double level = std::clamp(leadingNumber(levelText), 0.0, static_cast<double>(kMaxLevel));
    return defaultText(level);
}

BuiltLines buildPresetLine(int area, int preset, const QString& fadeText) {
    const FadeBox fade = checkPresetFade(fadeText);
    if (!fade.message.isEmpty()) return refused(fade.message);
    const StoredMessage message = presetMessage(area, preset, storedFade(leadingNumber(fadeText)));
    if (!message.message) return refused(message.error);
    return one(presetLine(QString::number(area), QString::number(preset), fadeText));
}

BuiltLines buildChannelLine(int area, int channel, const QString& levelText, const QString& fadeText) {
    const QString level = clampLevel(levelText);
    const QString fade = clampChannelFade(fadeText);
    const StoredMessage message =
        channelMessage(area, channel, storedWhole(leadingNumber(level)), storedFade(leadingNumber(fade)));
    if (!message.message) return refused(message.error);
    return one(channelLine(QString::number(area), QString::number(channel), level, fade));
}

BuiltLines buildWavLine(const QString& fileText) {
    if (fileText.isEmpty()) return {};
    return one(wavLine(fileText));
}

BuiltLines buildRollCallLine(const std::optional<QString>& rollCall) {
    return fromChoice(rollCall, &rollCallLine);
}

BuiltLines buildCustomLine(const std::optional<QString>& customCodeName) {
    return fromChoice(customCodeName, &customLine);
}

BuiltLines buildSubMacroLine(const std::optional<QString>& macro) {
    return fromChoice(macro, &subMacroLine);
}

BuiltLines buildCancelMacroLine(const std::optional<QString>& macroOrAll) {
    return fromChoice(macroOrAll, &cancelMacroLine);
}

BuiltLines buildEnableDisableLine(const std::optional<QString>& enable,
                                  const std::optional<QString>& disable) {
    if (enable && !enable->isEmpty()) return one(enableMacroLine(*enable));
    return fromChoice(disable, &disableMacroLine);
}

BuiltLines buildEmailLine(const std::optional<qint64>& emailId) {
    if (!emailId) return refused(QString::fromLatin1(editor_text::kSelectEmail));
    return one(emailLine(QString::number(*emailId)));
}

BuiltLines buildCorvalinLines(int box, const std::array<CorvalinChoice, 3>& channels) {
    BuiltLines built;
    for (const CorvalinChoice& choice : channels) {
        if (!choice.levelId) continue;
        built.lines << corvalinLine(QString::number(box), QString::number(choice.channel),
                                    QString::number(*choice.levelId));
    }
    return built;
}

BuiltLines buildPlanViewLine(const QString& fullPath, const QString& key) {
    if (fullPath.isEmpty()) return {};
    return one(planViewLine(fullPath, key));
}

}  // namespace qv::macros
