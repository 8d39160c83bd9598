#pragma once
// The texts the editor's line tree shows for each kind of macro line.

#include <QString>

namespace qv::macros {

// A delay total split for the editor's three boxes and the display text.
struct DelaySplit {
    double hours = 0;    // whole hours
    double minutes = 0;  // whole minutes left over
    double seconds = 0;  // what remains, fractions kept
};
DelaySplit splitDelay(double totalSeconds);

// "Delay for 1 hours 30 mins 30.0 secs ": each part only when above zero.
QString delayDisplay(double totalSeconds);

// A name, or the fallback word and number when the name is empty.
QString nameOr(const QString& name, const char* word, const QString& number);

// "Foyer to Evening over 2.0sec"
QString presetDisplay(const QString& areaName, int area, const QString& presetName, int preset, double fade);
// "Foyer, Downlights to 40% over 3.0sec"
QString channelDisplay(const QString& areaName, int area, const QString& channelName, int channel, int level,
                       double fade);

QString wavDisplay(const QString& path);               // "play " + path
QString rollCallDisplay(const QString& name);          // "Rollcall: " + name
QString customDisplay(const QString& customCodeName);  // "Custom Code:" + name
QString subMacroDisplay(const QString& macro);         // "Run: " + macro
QString cancelMacroDisplay(const QString& macro);      // "Cancel: " + macro
QString enableMacroDisplay(const QString& macro);      // "Enable Macro: " + macro
QString disableMacroDisplay(const QString& macro);     // "Disable Macro: " + macro
QString emailDisplay(const QString& emailName);        // "Email: " + name
// "lightbox #3: 'Colour' to Red"
QString corvalinDisplay(const QString& box, const QString& channelDesc, const QString& levelDesc);
QString planViewDisplay(const QString& fullPath);  // "PlanView Nav:" + path

// A stored row that carries no action (a custom code that was deleted, say).
QString emptyLineDisplay();

}  // namespace qv::macros
