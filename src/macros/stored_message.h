#pragma once
// OrvanetRS232: the eight-byte network message a macro's network line stores,
// computed from the line's stored numbers when the line is saved. Processors
// send it unchanged.

#include "net/message.h"

#include <QString>

#include <optional>

namespace qv::macros {

// Fade is never stored below 0.02 s (one fade unit).
inline constexpr double kMinimumFade = 0.02;
double storedFade(double parsedFade);

// Jet kept area, preset, channel and level in whole-number fields: a parsed
// 5.5 was stored as 6 (halves to the even neighbour). The same here.
int storedWhole(double parsed);

struct StoredMessage {
    std::optional<net::RawMessage> message;
    QString error;  // why a value does not fit its byte, when there is no message
};

// 1C area fadeLow presetCode fadeHigh bank FF checksum. fade is the stored fade.
StoredMessage presetMessage(int area, int preset, double fade);
// 1C area channel-1 72 levelByte fadeSeconds FF checksum; level in percent.
StoredMessage channelMessage(int area, int channel, int level, double fade);

// The fade parts of an area-preset message: high = whole part of fade / 5.12;
// low = fade / 0.02 rounded up to 5.1 s, else the whole 0.02 s units left over
// above the high part.
struct FadeParts {
    long high = 0;
    long low = 0;
};
FadeParts presetFadeParts(double fade);

// 255 - level * 255 / 100, rounded half to even: 100 % gives 0, 0 % gives 255.
long channelLevelByte(int level);

// A stored message as the database holds it: the eight bytes, or from a
// converted file eight characters whose codes are the bytes.
QByteArray storedBytes(const net::RawMessage& message);

}  // namespace qv::macros
