#pragma once
// The pick lists the event, button and direct-control windows share: macros,
// custom codes, areas and presets, each entry with the number or key it
// stands for. Read fresh each time, so a name edited elsewhere shows at once.
// All throw store::StoreError when the database cannot be read.

#include <QString>

#include <vector>

namespace qv::store {
class Database;
}

namespace qv::reactions {

struct Choice {
    QString text;
    int id = 0;  // Macro_ID, CustomCode_ID, area or preset number
    bool operator==(const Choice&) const = default;
};

inline constexpr int kLastArea = 255;
inline constexpr int kLastListedPreset = 96;  // only presets 1..96 can be named

// Macros by name, each with its Macro_ID.
std::vector<Choice> macroChoices(store::Database& db);
// Custom codes by name, each with its CustomCode_ID.
std::vector<Choice> customCodeChoices(store::Database& db);
// Areas 0..255: the number, or the number, the separator and the name.
std::vector<Choice> areaChoices(store::Database& db, const QString& separator);
// Presets 1..96 of the area in the same style.
std::vector<Choice> presetChoices(store::Database& db, int area, const QString& separator);

}  // namespace qv::reactions
