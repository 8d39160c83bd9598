#pragma once
// The button editor's engine, for one button place at a time: its stored
// caption, hide mark and starting macro; the rule grid; adding and deleting
// rules. Saving reloads the panel, so the button shows the change at once.

#include "features/reactions/choice_lists.h"
#include "features/reactions/editor_result.h"

#include <QString>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::reactions {

class ButtonPanel;

struct ButtonDraft {
    QString caption;
    bool invisible = false;
    std::optional<int> macroId;  // the starting macro
    bool operator==(const ButtonDraft&) const = default;
};

struct RuleDraft {
    QString label;
    std::optional<int> macroId;
    std::optional<int> area;
    std::optional<int> preset;  // with an area: the trigger is the area and preset
    std::optional<int> customCodeId;
    int colour = 0;  // red in the low byte, then green, then blue
};

// One line of the rule grid.
struct RuleLine {
    int id = 0;  // ButtonMultiState_ID, for deleting the line
    QString trigger;
    QString label;
    QString macro;
    std::optional<int> colour;
};

class ButtonEditor {
public:
    static inline const QString kTriggerHeading = QStringLiteral("If I hear");
    static inline const QString kLabelHeading = QStringLiteral("make Label = ");
    static inline const QString kMacroHeading = QStringLiteral("and next Macro = ");
    static inline const QString kNeedLabel = QStringLiteral("You need to enter a button label for this line");
    static inline const QString kNeedMacro = QStringLiteral("You need to select a macro to execute");
    // A rule with neither trigger could never fire; it is refused rather than stored.
    static inline const QString kNeedTrigger =
        QStringLiteral("You need to select an Area and Preset, or a Custom Code, for this line");

    ButtonEditor(store::Database& db, ButtonPanel& panel);

    // Pick lists; each throws store::StoreError.
    std::vector<Choice> macros() { return macroChoices(m_db); }
    std::vector<Choice> areas() { return areaChoices(m_db, QStringLiteral("  ")); }
    std::vector<Choice> presets(int area) { return presetChoices(m_db, area, QStringLiteral("  ")); }
    std::vector<Choice> customCodes() { return customCodeChoices(m_db); }

    // The stored row of button place `index`; nothing when it has none.
    // Throws store::StoreError.
    std::optional<ButtonDraft> load(int index);
    // Writes the Buttons row of the place (adding it when missing), then
    // GetButtonLabels and GetButtonChanges.
    EditorResult save(int index, const ButtonDraft& draft);
    // Removes the Buttons row and every rule of the place, then GetButtonLabels.
    EditorResult removeButton(int index);

    // The rules of button place `index`, oldest first. Throws store::StoreError.
    std::vector<RuleLine> rules(int index);
    EditorResult addRule(int index, const RuleDraft& draft);
    EditorResult deleteRule(int ruleId);

private:
    store::Database& m_db;
    ButtonPanel& m_panel;
};

}  // namespace qv::reactions
