#pragma once
// The colours of a monitor row, chosen by its MsgType. Plain 0xRRGGBB numbers:
// the engine links no QtGui, and the monitor window turns them into brushes.

#include <QString>

#include <cstdint>
#include <optional>

namespace qv::store {

struct RowColours {
    std::uint32_t background = 0;       // 0xRRGGBB
    std::optional<std::uint32_t> text;  // empty: the list's own text colour stays
};

// Exact, case-sensitive match of the types the program writes; anything else
// (messages heard and sent, the empty text) gets the pale yellow of traffic.
RowColours coloursForMsgType(const QString& msgType);

// The three rows that mark where the previous sessions end: yellow, text unset.
inline constexpr std::uint32_t kSeparatorBackground = 0xFFFF00;

// "#rrggbb", for a front end that prefers names.
QString colourName(std::uint32_t rgb);

}  // namespace qv::store
