#include "features/reactions/button_editor.h"

#include "features/reactions/button_panel.h"
#include "features/reactions/stored_number.h"
#include "store/database.h"
#include "store/field_values.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <QSqlQuery>

namespace qv::reactions {

namespace {

QVariant orNull(const std::optional<int>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType::fromType<int>());
}

bool validPlace(int index) {
    return index >= 1 && index <= ButtonPanel::kMaxButtons;
}

EditorResult noSuchPlace(int index) {
    return EditorResult::refused(QStringLiteral("There is no button place %1").arg(index),
                                 MessageIcon::Critical);
}

EditorResult failed(const QString& what, const store::StoreError& e) {
    return EditorResult::refused(what + QStringLiteral(": ") + QString::fromUtf8(e.what()),
                                 MessageIcon::Critical);
}

// "Area 3 (Office) to Preset 2 (Evening)"; names only where there are some.
QString areaPresetTrigger(const QVariant& area, const QVariant& areaName, const QVariant& preset,
                          const QVariant& presetName) {
    QString text = QStringLiteral("Area ") + area.toString();
    if (!areaName.toString().isEmpty()) text += QStringLiteral(" (") + areaName.toString() + QLatin1Char(')');
    text += QStringLiteral(" to Preset ") + preset.toString();
    if (!presetName.toString().isEmpty())
        text += QStringLiteral(" (") + presetName.toString() + QLatin1Char(')');
    return text;
}

}  // namespace

ButtonEditor::ButtonEditor(store::Database& db, ButtonPanel& panel) : m_db(db), m_panel(panel) {}

std::optional<ButtonDraft> ButtonEditor::load(int index) {
    QSqlQuery query =
        m_db.run(QStringLiteral("SELECT Buttons.Buttonlabel, Buttons.Invisible, Buttons.Macro_ID FROM Buttons"
                                " WHERE Buttons.ButtonIndex = ? ORDER BY Buttons.Button_ID DESC LIMIT 1"),
                 {index});
    if (!query.next()) return std::nullopt;
    return ButtonDraft{query.value(0).toString(), store::yesNoOr(query.value(1), false),
                       storedInt(query.value(2))};
}

EditorResult ButtonEditor::save(int index, const ButtonDraft& draft) {
    if (!validPlace(index)) return noSuchPlace(index);
    try {
        store::Transaction transaction(m_db);
        QSqlQuery update = m_db.run(
            QStringLiteral(
                "UPDATE Buttons SET Buttonlabel = ?, Invisible = ?, Macro_ID = ? WHERE ButtonIndex = ?"),
            {draft.caption, draft.invisible ? 1 : 0, orNull(draft.macroId), index});
        if (update.numRowsAffected() == 0) {
            m_db.run(QStringLiteral("INSERT INTO Buttons (ButtonIndex, Buttonlabel, Invisible, Macro_ID) "
                                    "VALUES (?, ?, ?, ?)"),
                     {index, draft.caption, draft.invisible ? 1 : 0, orNull(draft.macroId)});
        }
        transaction.commit();
    } catch (const store::StoreError& e) {
        return failed(QStringLiteral("The button could not be saved"), e);
    }
    m_panel.GetButtonLabels();
    m_panel.GetButtonChanges();
    return EditorResult::ok();
}

EditorResult ButtonEditor::removeButton(int index) {
    if (!validPlace(index)) return noSuchPlace(index);
    try {
        store::Transaction transaction(m_db);
        for (const QString& sql : {QStringLiteral("DELETE FROM Buttons WHERE ButtonIndex = ?"),
                                   QStringLiteral("DELETE FROM ButtonMultiState WHERE ButtonIndex = ?")}) {
            m_db.run(sql, {index});
        }
        transaction.commit();
    } catch (const store::StoreError& e) {
        return failed(QStringLiteral("The button could not be deleted"), e);
    }
    m_panel.GetButtonLabels();
    return EditorResult::ok();
}

std::vector<RuleLine> ButtonEditor::rules(int index) {
    QSqlQuery query =
        m_db.run(QStringLiteral(
                     "SELECT r.ButtonMultiState_ID, r.Area, r.Preset, r.ButtonLabel, r.Colour, Macros.Macro,"
                     " CustomCodes.CustomCodeName,"
                     " (SELECT AreaNames.AreaName FROM AreaNames WHERE AreaNames.Area = r.Area LIMIT 1),"
                     " (SELECT PresetNames.PresetName FROM PresetNames"
                     "   WHERE PresetNames.Area = r.Area AND PresetNames.Preset = r.Preset LIMIT 1)"
                     " FROM (ButtonMultiState AS r LEFT JOIN Macros ON r.Macro_ID = Macros.Macro_ID)"
                     " LEFT JOIN CustomCodes ON r.CustomCode_ID = CustomCodes.CustomCode_ID"
                     " WHERE r.ButtonIndex = ? ORDER BY r.ButtonMultiState_ID"),
                 {index});
    std::vector<RuleLine> lines;
    while (query.next()) {
        RuleLine line;
        line.id = storedInt(query.value(0)).value_or(0);
        line.trigger = !query.value(1).isNull() && !query.value(2).isNull()
                           ? areaPresetTrigger(query.value(1), query.value(7), query.value(2), query.value(8))
                           : QStringLiteral("Custom Code: ") + query.value(6).toString();
        line.label = query.value(3).toString();
        line.colour = storedInt(query.value(4));
        line.macro = query.value(5).toString();
        lines.push_back(line);
    }
    return lines;
}

EditorResult ButtonEditor::addRule(int index, const RuleDraft& draft) {
    if (!validPlace(index)) return noSuchPlace(index);
    if (draft.label.trimmed().isEmpty()) return EditorResult::refused(kNeedLabel);
    if (!draft.macroId) return EditorResult::refused(kNeedMacro);
    const bool areaPreset = draft.area && draft.preset && *draft.area >= 0 && *draft.area <= kLastArea &&
                            *draft.preset >= 1 && *draft.preset <= kLastArea;
    if (!areaPreset && !draft.customCodeId) return EditorResult::refused(kNeedTrigger);
    try {
        m_db.run(QStringLiteral("INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, "
                                "CustomCode_ID, ButtonLabel, Macro_ID, Colour)"
                                " VALUES (?, ?, ?, ?, ?, ?, ?)"),
                 {index, areaPreset ? orNull(draft.area) : orNull(std::nullopt),
                  areaPreset ? orNull(draft.preset) : orNull(std::nullopt),
                  areaPreset ? orNull(std::nullopt) : orNull(draft.customCodeId), draft.label, *draft.macroId,
                  draft.colour});
    } catch (const store::StoreError& e) {
        return failed(QStringLiteral("The rule could not be added"), e);
    }
    return EditorResult::ok();
}

EditorResult ButtonEditor::deleteRule(int ruleId) {
    try {
        m_db.run(QStringLiteral("DELETE FROM ButtonMultiState WHERE ButtonMultiState_ID = ?"), {ruleId});
    } catch (const store::StoreError& e) {
        return failed(QStringLiteral("The rule could not be deleted"), e);
    }
    return EditorResult::ok();
}

}  // namespace qv::reactions
