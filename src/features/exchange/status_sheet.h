#pragma once
// The area status file's text: a header row "Area,Preset,Request", then one
// row per area 1..255 with the area, its last known preset ("unknown" while
// none has been heard) and a request cell that other programs or people fill.
//
// Comma-separated, fields with a comma, quote or line break in double
// quotes, quotes doubled. Plain functions: no files here.

#include "net/area_state.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

namespace qv::exchange {

inline constexpr char kSheetHeader[] = "Area,Preset,Request";

// The text of a preset cell.
QString presetCellText(int preset);

// The whole file as the program writes it: every request cell empty.
QByteArray formatStatusSheet(const net::AreaState& state);

struct SheetRead {
    // The request cell of each area (index 1..255), cut at the first line
    // break and trimmed; empty when the area has no row or no request.
    std::array<QString, 256> requests;
    // Rows that could not be used, as "row N: reason".
    QStringList problems;
};

// Reads the request cells. Rows are found by their area number, wherever
// they are; the header row and blank rows are skipped.
SheetRead readStatusSheet(const QByteArray& bytes);

}  // namespace qv::exchange
