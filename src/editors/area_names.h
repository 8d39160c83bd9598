#pragma once
// The names window's engine: the stored area names and the preset names of
// one area, entering a name (with its check), deleting one, and copying a
// preset name to every named area that lacks it. Labels elsewhere follow when
// the caller reloads the name tables (Engine::GetAreaPresetNames).

#include "features/reactions/editor_result.h"

#include <QString>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::editors {

struct NameRow {
    int number = 0;  // the area, or the preset
    QString name;
    bool operator==(const NameRow&) const = default;
};

class AreaNames {
public:
    static inline const QString kAreaHeading = QStringLiteral("Area#");
    static inline const QString kAreaNameHeading = QStringLiteral("Area Name");
    static inline const QString kPresetHeading = QStringLiteral("Preset#");
    static inline const QString kPresetNameHeading = QStringLiteral("Preset Name");
    static inline const QString kAreaTip = QStringLiteral(
        "Used to give a user-friendly, english name to an Area number. Such as 'Freds Office' instead of "
        "Area 6");
    static inline const QString kPresetTip = QStringLiteral(
        "Used to give a user-friendly, english name to an Preset Number. Such as 'On Full' instead of Preset "
        "1");
    static inline const QString kBadName = QStringLiteral(
        "Sorry, you can only use Letters and Numbers for Area names, and names can not begin with a "
        "numeric...");
    static inline const QString kBlankName = QStringLiteral(
        "You can not assign a blank name to an area. To delete an area, highlight the name and press the DEL "
        "key.");
    static inline const QString kNameAreaFirst =
        QStringLiteral("you should name the area before you attempt to name presets for this area");

    static QString areaCaption(int area) { return QStringLiteral("Name for Area ") + QString::number(area); }
    static QString presetCaption(int preset) {
        return QStringLiteral("Name for Preset ") + QString::number(preset);
    }

    explicit AreaNames(store::Database& db);

    // Empty when the name may be stored, else the message. Letters, digits,
    // blanks, apostrophes and double quotes; not beginning with a digit; not
    // blank once trailing blanks are gone.
    static QString checkName(const QString& name);

    // Each throws store::StoreError.
    std::vector<NameRow> areas();
    std::vector<NameRow> presets(int area);
    std::optional<QString> areaName(int area);

    reactions::EditorResult nameArea(int area, const QString& name);
    // Refused with kNameAreaFirst while the area has no name.
    reactions::EditorResult namePreset(int area, int preset, const QString& name);
    // The area's preset names stay in their table.
    reactions::EditorResult deleteArea(int area);
    reactions::EditorResult deletePreset(int area, int preset);
    // The name of `preset` in `area` to every named area with no name for that
    // preset; areas naming it already keep theirs. One transaction.
    reactions::EditorResult applyToAll(int area, int preset);

private:
    store::Database& m_db;
};

}  // namespace qv::editors
