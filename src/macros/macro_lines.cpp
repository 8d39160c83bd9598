#include "macros/macro_lines.h"

namespace qv::macros {

void MacroLines::append(const QString& display, const QString& command, const QString& comment) {
    displayTexts.append(display);
    commandLines.append(command);
    comments.append(comment);
}

qsizetype MacroLines::insertLine(const QString& command, qsizetype selected) {
    const qsizetype at = (selected < 0 || selected > size()) ? size() : selected;
    // Lists filled by hand may differ in length; each gets the line at the
    // nearest valid place rather than an out-of-range insert.
    displayTexts.insert(qMin(at, displayTexts.size()), command);
    commandLines.insert(at, command);
    comments.insert(qMin(at, comments.size()), QString::fromLatin1(kNoComments));
    return at;
}

bool MacroLines::removeLine(qsizetype index) {
    if (index < 0 || index >= size()) return false;
    if (index < displayTexts.size()) displayTexts.removeAt(index);
    commandLines.removeAt(index);
    if (index < comments.size()) comments.removeAt(index);
    return true;
}

bool MacroLines::moveLine(qsizetype from, qsizetype to) {
    const qsizetype n = size();
    if (from < 0 || from >= n || to < 0 || to >= n || displayTexts.size() != n || comments.size() != n)
        return false;
    displayTexts.move(from, to);
    commandLines.move(from, to);
    comments.move(from, to);
    return true;
}

}  // namespace qv::macros
