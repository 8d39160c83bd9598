#pragma once
// The macro command line: the editor's one-line text form of one macro row,
// a tag such as "(DELAY:)" followed by values. Building lines from values,
// finding a line's kind and reading its values back. Pure text work.

#include <QString>
#include <QStringView>

namespace qv::macros {

enum class LineKind {
    None,  // no tag: stored with only its macro and comment
    Orvanet,
    Delay,
    Wav,
    RollCall,
    Custom,
    SubMacro,
    EnableMacro,
    DisableMacro,
    CancelMacro,
    Email,
    Corvalin,
    PlanView,
};

namespace tag {
inline constexpr char Orvanet[] = "(ORVANET:)";
inline constexpr char Delay[] = "(DELAY:)";
inline constexpr char Wav[] = "(WAV:)";
inline constexpr char RollCall[] = "(ROLLCALL:)";
inline constexpr char Custom[] = "(CUSTOM:)";
inline constexpr char SubMacro[] = "(SUBMACRO:)";
inline constexpr char EnableMacro[] = "(ENABLEMACRO:)";
inline constexpr char DisableMacro[] = "(DISABLEMACRO:)";
inline constexpr char CancelMacro[] = "(CANCELMACRO:)";
inline constexpr char Email[] = "(EMAIL:)";
inline constexpr char Corvalin[] = "(CORVALIN:)";
inline constexpr char PlanView[] = "(PLANVIEW:)";
// Value tags inside a line.
inline constexpr char Area[] = "(AREA:)";
inline constexpr char Preset[] = "(PRESET:)";
inline constexpr char Channel[] = "(CHANNEL:)";
inline constexpr char Level[] = "(LEVEL:)";
inline constexpr char Fade[] = "(FADE:)";
inline constexpr char LightBox[] = "(LIGHTBOX:)";
inline constexpr char Key[] = "(KEY:)";
inline constexpr char FullPath[] = "(FULLPATH:)";
}  // namespace tag

// The value "All Macros" of cancel and enable lines.
inline constexpr char kAllMacros[] = "All Macros";

// The kind of the first tag, in the fixed tag order, that occurs anywhere in
// the line. A media path that happens to hold "(DELAY:)" makes a delay line,
// as it always has.
LineKind lineKindOf(QStringView line);

// The width characters after the first occurrence of the tag; empty when the
// tag is absent. width < 0 takes the rest of the line.
QString valueAfter(QStringView line, QLatin1String tagText, int width = -1);

// Fixed widths of the values read back.
inline constexpr int kAreaWidth = 5;
inline constexpr int kPresetWidth = 3;
inline constexpr int kChannelWidth = 3;
inline constexpr int kLevelWidth = 4;
inline constexpr int kFadeWidth = 5;
inline constexpr int kDelayWidth = 9;
inline constexpr int kNameWidth = 50;

// A command line read back into its values, numbers by the lenient parse.
struct ParsedLine {
    LineKind kind = LineKind::None;
    bool channelLine = false;  // an Orvanet line without "(PRESET:)"
    double area = 0;
    double preset = 0;
    double channel = 0;
    double level = 0;
    double fade = 0;
    double delay = 0;
    double number = 0;  // Email_ID, CorvalinChannelLevel_ID or TreeView_ID
    QString text;       // path, roll call, custom code or macro name, as it stands
};
ParsedLine parseCommandLine(QStringView line);

// Lines as written. Values are texts so the editor's boxes go in unchanged;
// the number overloads write the default text form.
QString presetLine(const QString& area, const QString& preset, const QString& fade);
QString channelLine(const QString& area, const QString& channel, const QString& level, const QString& fade);
QString delayLine(const QString& seconds);
QString wavLine(const QString& path);
QString rollCallLine(const QString& name);
QString customLine(const QString& customCodeName);
QString subMacroLine(const QString& macro);
QString enableMacroLine(const QString& macro);
QString disableMacroLine(const QString& macro);
QString cancelMacroLine(const QString& macro);
QString emailLine(const QString& emailId);
QString corvalinLine(const QString& box, const QString& channel, const QString& levelId);
// A plan-view node's key is its TreeView_ID followed by "key".
QString planViewKey(qint64 treeViewId);
QString planViewLine(const QString& fullPath, const QString& key);

}  // namespace qv::macros
