#pragma once
// The ranges the configuration keeps its numbers in. The window applies them
// when a box loses focus; the engine applies them again when settings are
// loaded and stored, so a value typed into a file by hand cannot stop the out
// box (an interval of 0) or read back the whole monitor log.

#include <QString>

namespace qv::config {

inline constexpr int kMinReleaseRate = 50;
inline constexpr int kMaxReleaseRate = 300;
inline constexpr int kMaxLoadFromMonitorLog = 10000;
inline constexpr int kDefaultUsbDelay = 25;
inline constexpr int kDefaultButtonVersion = 8;

// Out-box interval in ms, 50..300.
int limitReleaseRate(int ms);
// Monitor records read back at start-up, 0..10000.
int limitLoadFromMonitorLog(int records);
// A USB delay below 1 ms becomes 25.
int limitUsbDelay(int ms);
// 4, 8, 12, 18 or 24; anything else lays out the 8-button version.
int limitButtonVersion(int buttons);
bool isButtonVersion(int buttons);

// Four decimal numbers 0..255 separated by full stops, nothing else
// (CheckValidIPQuad of the server fields).
bool CheckValidIPQuad(const QString& text);

}  // namespace qv::config
