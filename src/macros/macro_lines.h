#pragma once
// The open macro as the editor holds it: three parallel lists of equal length
// in line order, the display texts, the macro command lines and the comments.

#include <QString>
#include <QStringList>

namespace qv::macros {

// The comment of a newly added line.
inline constexpr char kNoComments[] = "<no comments>";

struct MacroLines {
    QStringList displayTexts;
    QStringList commandLines;
    QStringList comments;

    qsizetype size() const { return commandLines.size(); }
    bool isEmpty() const { return commandLines.isEmpty(); }

    void append(const QString& display, const QString& command, const QString& comment);

    // Inserts a new line (comment "<no comments>", display text = the command
    // line until the next load) before line selected (0-based), or appends it
    // when nothing is selected (selected < 0) or selected is past the end.
    // Returns the new line's index.
    qsizetype insertLine(const QString& command, qsizetype selected = -1);

    // Removes line index; false when there is no such line.
    bool removeLine(qsizetype index);
    // Moves line from to position to (both 0-based, in the current order).
    bool moveLine(qsizetype from, qsizetype to);

    friend bool operator==(const MacroLines&, const MacroLines&) = default;
};

}  // namespace qv::macros
