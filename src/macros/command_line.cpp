#include "macros/command_line.h"

#include "macros/number_text.h"

#include <array>
#include <utility>

namespace qv::macros {

namespace {

QString tagText(const char* t) {
    return QString::fromLatin1(t);
}

// Tested in this order; the first one found anywhere in the line decides.
const std::array<std::pair<const char*, LineKind>, 12> kTagOrder{{
    {tag::Orvanet, LineKind::Orvanet},
    {tag::Delay, LineKind::Delay},
    {tag::Wav, LineKind::Wav},
    {tag::RollCall, LineKind::RollCall},
    {tag::Custom, LineKind::Custom},
    {tag::SubMacro, LineKind::SubMacro},
    {tag::EnableMacro, LineKind::EnableMacro},
    {tag::DisableMacro, LineKind::DisableMacro},
    {tag::CancelMacro, LineKind::CancelMacro},
    {tag::Email, LineKind::Email},
    {tag::Corvalin, LineKind::Corvalin},
    {tag::PlanView, LineKind::PlanView},
}};

double numberAfter(QStringView line, const char* t, int width) {
    return leadingNumber(valueAfter(line, QLatin1String(t), width));
}

// " (AREA:)" and its kind begin with one blank in a written line.
QString spaced(const char* t) {
    return QLatin1Char(' ') + tagText(t);
}

}  // namespace

LineKind lineKindOf(QStringView line) {
    for (const auto& [text, kind] : kTagOrder) {
        if (line.contains(QLatin1String(text))) return kind;
    }
    return LineKind::None;
}

QString valueAfter(QStringView line, QLatin1String tagText, int width) {
    const qsizetype at = line.indexOf(tagText);
    if (at < 0) return {};
    const QStringView rest = line.mid(at + tagText.size());
    return (width < 0 ? rest : rest.left(width)).toString();
}

ParsedLine parseCommandLine(QStringView line) {
    ParsedLine parsed;
    parsed.kind = lineKindOf(line);
    switch (parsed.kind) {
        case LineKind::None:
            break;
        case LineKind::Orvanet:
            parsed.area = numberAfter(line, tag::Area, kAreaWidth);
            parsed.fade = numberAfter(line, tag::Fade, kFadeWidth);
            parsed.channelLine = !line.contains(QLatin1String(tag::Preset));
            if (parsed.channelLine) {
                parsed.channel = numberAfter(line, tag::Channel, kChannelWidth);
                parsed.level = numberAfter(line, tag::Level, kLevelWidth);
            } else {
                parsed.preset = numberAfter(line, tag::Preset, kPresetWidth);
            }
            break;
        case LineKind::Delay:
            parsed.delay = numberAfter(line, tag::Delay, kDelayWidth);
            break;
        case LineKind::Wav:
            parsed.text = valueAfter(line, QLatin1String(tag::Wav));
            break;
        case LineKind::RollCall:
            parsed.text = valueAfter(line, QLatin1String(tag::RollCall));
            break;
        case LineKind::Custom:
            parsed.text = valueAfter(line, QLatin1String(tag::Custom));
            break;
        case LineKind::SubMacro:
            parsed.text = valueAfter(line, QLatin1String(tag::SubMacro), kNameWidth);
            break;
        case LineKind::EnableMacro:
            parsed.text = valueAfter(line, QLatin1String(tag::EnableMacro), kNameWidth);
            break;
        case LineKind::DisableMacro:
            parsed.text = valueAfter(line, QLatin1String(tag::DisableMacro), kNameWidth);
            break;
        case LineKind::CancelMacro:
            parsed.text = valueAfter(line, QLatin1String(tag::CancelMacro), kNameWidth);
            break;
        case LineKind::Email:
            parsed.number = numberAfter(line, tag::Email, kNameWidth);
            break;
        case LineKind::Corvalin:
            parsed.number = numberAfter(line, tag::Level, kNameWidth);
            break;
        case LineKind::PlanView:
            parsed.number = numberAfter(line, tag::Key, kNameWidth);
            break;
    }
    return parsed;
}

QString presetLine(const QString& area, const QString& preset, const QString& fade) {
    return tagText(tag::Orvanet) + spaced(tag::Area) + area + spaced(tag::Preset) + preset +
           spaced(tag::Fade) + fade;
}

QString channelLine(const QString& area, const QString& channel, const QString& level, const QString& fade) {
    return tagText(tag::Orvanet) + spaced(tag::Area) + area + spaced(tag::Channel) + channel +
           spaced(tag::Level) + level + spaced(tag::Fade) + fade;
}

QString delayLine(const QString& seconds) {
    return tagText(tag::Delay) + seconds;
}

QString wavLine(const QString& path) {
    return tagText(tag::Wav) + path;
}

QString rollCallLine(const QString& name) {
    return tagText(tag::RollCall) + name;
}

QString customLine(const QString& customCodeName) {
    return tagText(tag::Custom) + customCodeName;
}

QString subMacroLine(const QString& macro) {
    return tagText(tag::SubMacro) + macro;
}

QString enableMacroLine(const QString& macro) {
    return tagText(tag::EnableMacro) + macro;
}

QString disableMacroLine(const QString& macro) {
    return tagText(tag::DisableMacro) + macro;
}

QString cancelMacroLine(const QString& macro) {
    return tagText(tag::CancelMacro) + macro;
}

QString emailLine(const QString& emailId) {
    return tagText(tag::Email) + emailId;
}

QString corvalinLine(const QString& box, const QString& channel, const QString& levelId) {
    return tagText(tag::Corvalin) + spaced(tag::LightBox) + box + spaced(tag::Channel) + channel +
           spaced(tag::Level) + levelId;
}

QString planViewKey(qint64 treeViewId) {
    return QString::number(treeViewId) + QStringLiteral("key");
}

QString planViewLine(const QString& fullPath, const QString& key) {
    return tagText(tag::PlanView) + fullPath + tagText(tag::Key) + key + tagText(tag::FullPath) + fullPath;
}

}  // namespace qv::macros
