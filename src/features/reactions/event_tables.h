#pragma once
// The two look-ups the decoder's reactions consult for every line heard:
// area/preset -> macro, and custom code -> macro. Pure data, no database.

#include <QHash>
#include <QString>

#include <vector>

namespace qv::reactions {

// A macro name per area 0..255 and preset 0..255; empty = no event.
class AreaPresetEventTable {
public:
    static constexpr int kSize = 256;

    AreaPresetEventTable();
    // False (and nothing stored) when area or preset is outside 0..255.
    bool set(int area, int preset, const QString& macro);
    // Empty outside the table.
    QString macroFor(int area, int preset) const;

private:
    std::vector<QString> m_macros;
};

// Custom code -> macro. Codes are compared in their normalised hex form, so
// letter case and spacing do not matter. The first event added for a code
// keeps it.
class CustomCodeEventMap {
public:
    struct Entry {
        QString macro;
        QString eventName;
    };

    enum class Added { Yes, EmptyCode, Taken };
    struct AddResult {
        Added added = Added::Yes;
        Entry keeper;  // for Taken: the entry that keeps the code
    };

    // Adds the code. A code already taken is left as it is. An empty code is
    // refused, since no line heard is empty.
    AddResult add(const QString& code, const QString& macro, const QString& eventName);
    // Empty when the code has no event (or its event has no macro left).
    QString macroFor(const QString& heardHex) const;
    int size() const { return static_cast<int>(m_entries.size()); }

private:
    QHash<QString, Entry> m_entries;
};

}  // namespace qv::reactions
