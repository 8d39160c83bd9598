#include "features/reactions/event_tables.h"

#include "features/reactions/hex_text.h"

namespace qv::reactions {

namespace {

bool inTable(int number) {
    return number >= 0 && number < AreaPresetEventTable::kSize;
}

}  // namespace

AreaPresetEventTable::AreaPresetEventTable() : m_macros(kSize * kSize) {}

bool AreaPresetEventTable::set(int area, int preset, const QString& macro) {
    if (!inTable(area) || !inTable(preset)) return false;
    m_macros[static_cast<std::size_t>(area * kSize + preset)] = macro;
    return true;
}

QString AreaPresetEventTable::macroFor(int area, int preset) const {
    if (!inTable(area) || !inTable(preset)) return {};
    return m_macros[static_cast<std::size_t>(area * kSize + preset)];
}

CustomCodeEventMap::AddResult CustomCodeEventMap::add(const QString& code, const QString& macro,
                                                      const QString& eventName) {
    const QString key = normaliseHexText(code);
    if (key.isEmpty()) return {Added::EmptyCode, {}};
    const auto taken = m_entries.constFind(key);
    if (taken != m_entries.constEnd()) return {Added::Taken, *taken};
    m_entries.insert(key, Entry{macro, eventName});
    return {};
}

QString CustomCodeEventMap::macroFor(const QString& heardHex) const {
    if (m_entries.isEmpty()) return {};
    return m_entries.value(normaliseHexText(heardHex)).macro;
}

}  // namespace qv::reactions
