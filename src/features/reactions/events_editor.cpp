#include "features/reactions/events_editor.h"

#include "features/reactions/events.h"
#include "features/reactions/stored_number.h"
#include "store/database.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QSqlQuery>

namespace qv::reactions {

namespace {

QVariant orNull(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

bool validArea(const std::optional<int>& area) {
    return area && *area >= 0 && *area <= kLastArea;
}

bool validPreset(const std::optional<int>& preset) {
    return preset && *preset >= 1 && *preset <= kLastArea;
}

EditorResult failed(const QString& what, const store::StoreError& e) {
    return EditorResult::refused(what + QStringLiteral(": ") + QString::fromUtf8(e.what()),
                                 MessageIcon::Critical);
}

}  // namespace

EventsEditor::EventsEditor(store::Database& db, Events& events) : m_db(db), m_events(events) {}

QStringList EventsEditor::eventNames() {
    QSqlQuery query = m_db.run(QStringLiteral("SELECT Events.EventName FROM Events ORDER BY Events.rowid"));
    QStringList names;
    while (query.next())
        if (!query.value(0).isNull()) names << query.value(0).toString();
    return names;
}

std::optional<EventDraft> EventsEditor::choose(const QString& name) {
    QSqlQuery query = m_db.run(
        QStringLiteral(
            "SELECT Events.EventName, Events.Area, Events.Preset, Events.Macro_ID, Events.CustomCode_ID"
            " FROM Events WHERE Events.EventName = ? ORDER BY Events.rowid LIMIT 1"),
        {name});
    if (!query.next()) return std::nullopt;
    EventDraft draft;
    draft.name = query.value(0).toString();
    draft.area = storedInt(query.value(1));
    draft.preset = storedInt(query.value(2));
    if (!validArea(draft.area) || !validPreset(draft.preset)) draft.area = draft.preset = std::nullopt;
    draft.macroId = storedInt(query.value(3));
    draft.customCodeId = storedInt(query.value(4));
    return draft;
}

EditorResult EventsEditor::save(const EventDraft& draft) {
    if (draft.name.trimmed().isEmpty()) return EditorResult::refused(kNeedName, MessageIcon::Information);
    const bool areaPreset = validArea(draft.area) && validPreset(draft.preset);
    if ((!areaPreset && !draft.customCodeId) || !draft.macroId)
        return EditorResult::refused(kNeedChoices, MessageIcon::Critical);

    const QVariant area = areaPreset ? orNull(draft.area) : orNull(std::nullopt);
    const QVariant preset = areaPreset ? orNull(draft.preset) : orNull(std::nullopt);
    try {
        store::Transaction transaction(m_db);
        const QVariant customCode = orNull(draft.customCodeId);
        const QVariant macro = orNull(draft.macroId);
        QSqlQuery update = m_db.run(QStringLiteral("UPDATE Events SET Area = ?, Preset = ?, CustomCode_ID = "
                                                   "?, Macro_ID = ? WHERE EventName = ?"),
                                    {area, preset, customCode, macro, draft.name});
        if (update.numRowsAffected() == 0) {
            m_db.run(QStringLiteral("INSERT INTO Events (EventName, Area, Preset, CustomCode_ID, "
                                    "Macro_ID) VALUES (?, ?, ?, ?, ?)"),
                     {draft.name, area, preset, customCode, macro});
        }
        transaction.commit();
    } catch (const store::StoreError& e) {
        return failed(QStringLiteral("The event could not be saved"), e);
    }
    reloadEvents();
    return EditorResult::ok();
}

EditorResult EventsEditor::remove(const QString& name) {
    try {
        m_db.run(QStringLiteral("DELETE FROM Events WHERE EventName = ?"), {name});
    } catch (const store::StoreError& e) {
        return failed(QStringLiteral("The event could not be deleted"), e);
    }
    reloadEvents();
    return EditorResult::ok();
}

void EventsEditor::reloadEvents() {
    m_events.GetAreaPresetEvents();
    m_events.GetCustomCodeEvents();
}

}  // namespace qv::reactions
