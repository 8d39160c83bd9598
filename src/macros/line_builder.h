#pragma once
// Building macro command lines from the editor's inputs: the numbers carried
// by its list entries and the texts of its boxes. The editor shows the
// returned message where the old program showed a message box; an empty
// list of lines means nothing is added.

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace qv::macros {

namespace editor_text {
inline constexpr char kDelayTooLong[] =
    "You can not enter a total delay time longer than 99 hours\nPlease break your required delay into "
    "smaller multiples";
inline constexpr char kFadeTooLong[] = "Fade times can not exceed 1000 secs";
inline constexpr char kSelectEmail[] = "You must select an email from the list";
inline constexpr char kNegativeDelay[] = "A delay can not be negative";
}  // namespace editor_text

inline constexpr double kMaxDelaySeconds = 356400;  // 99 hours, itself accepted
inline constexpr double kMaxPresetFade = 1000;      // seconds, itself accepted
inline constexpr int kMaxChannelFade = 255;         // seconds: one message byte
inline constexpr int kMaxLevel = 100;               // percent

struct BuiltLines {
    QStringList lines;  // in the order they go into the macro
    QString message;    // for the user; empty when all went well
    bool added() const { return !lines.isEmpty(); }
};

// Delay from the hours, minutes and seconds boxes (each read leniently), in
// single precision. On success the boxes are given back in normal form
// (whole hours, whole minutes, seconds as "0.0").
struct DelayEntry {
    BuiltLines built;
    QString hoursBox;
    QString minutesBox;
    QString secondsBox;
};
DelayEntry buildDelayLine(const QString& hours, const QString& minutes, const QString& seconds);

// The preset fade box: above 1000 the box becomes "1000" with the message.
struct FadeBox {
    QString text;
    QString message;
};
FadeBox checkPresetFade(const QString& fadeText);
// The channel-fade box on leaving it: above 255 "255", below 0 "0".
QString clampChannelFade(const QString& fadeText);
// The level box: the parsed number, clamped to 0..100.
QString clampLevel(const QString& levelText);

// Area and preset from the lists; the fade as the box holds it. Refuses a
// fade above 1000 and values that do not fit the network message.
BuiltLines buildPresetLine(int area, int preset, const QString& fadeText);
// The level and fade boxes are clamped first, as the editor does on leaving them.
BuiltLines buildChannelLine(int area, int channel, const QString& levelText, const QString& fadeText);

// List choices: nothing chosen adds nothing, without a message.
BuiltLines buildWavLine(const QString& fileText);
BuiltLines buildRollCallLine(const std::optional<QString>& rollCall);
BuiltLines buildCustomLine(const std::optional<QString>& customCodeName);
BuiltLines buildSubMacroLine(const std::optional<QString>& macro);
BuiltLines buildCancelMacroLine(const std::optional<QString>& macroOrAll);
// The enable choice wins when both lists have one.
BuiltLines buildEnableDisableLine(const std::optional<QString>& enable,
                                  const std::optional<QString>& disable);
BuiltLines buildEmailLine(const std::optional<qint64>& emailId);

// A light box's three channels: each with a chosen level yields a line, first
// channel first.
struct CorvalinChoice {
    int channel = 0;
    std::optional<qint64> levelId;  // CorvalinChannelLevel_ID of the chosen level
};
BuiltLines buildCorvalinLines(int box, const std::array<CorvalinChoice, 3>& channels);

// Nothing is added for an empty full path.
BuiltLines buildPlanViewLine(const QString& fullPath, const QString& key);

}  // namespace qv::macros
