#pragma once
// The events window's engine: its pick lists, loading an event into the
// choices, and the save and delete buttons with their messages. After a
// change both loaders run, so the new event fires (or stops) at once.
//
// An event is found by its name (compared without regard to case, as the
// window's users expect). Values are always bound, so any name is safe.

#include "features/reactions/choice_lists.h"
#include "features/reactions/editor_result.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::reactions {

class Events;

// What the window's choices hold; nothing = not chosen.
struct EventDraft {
    QString name;
    std::optional<int> area;    // 0..255
    std::optional<int> preset;  // 1..255
    std::optional<int> macroId;
    std::optional<int> customCodeId;
    bool operator==(const EventDraft&) const = default;
};

class EventsEditor {
public:
    static inline const QString kNeedName =
        QStringLiteral("You need to give the Event a name to save it by.");
    static inline const QString kNeedChoices =
        QStringLiteral("You need to select an Area, Preset and Macro before you can save this event");

    EventsEditor(store::Database& db, Events& events);

    // The lists; each throws store::StoreError when the database cannot be read.
    QStringList eventNames();
    std::vector<Choice> macros() { return macroChoices(m_db); }
    std::vector<Choice> areas() { return areaChoices(m_db, QStringLiteral("  ")); }
    std::vector<Choice> presets(int area) { return presetChoices(m_db, area, QStringLiteral("  ")); }
    std::vector<Choice> customCodes() { return customCodeChoices(m_db); }

    // The stored choices of the named event; nothing when there is none.
    // Throws store::StoreError.
    std::optional<EventDraft> choose(const QString& name);

    // OK: updates the event of that name, or adds it. Area and preset are
    // stored only as a pair; either alone counts as not chosen.
    EditorResult save(const EventDraft& draft);
    EditorResult remove(const QString& name);

private:
    void reloadEvents();

    store::Database& m_db;
    Events& m_events;
};

}  // namespace qv::reactions
