#include "features/reactions/choice_lists.h"

#include "features/reactions/stored_number.h"
#include "store/database.h"

#include <QSqlQuery>

#include <map>

namespace qv::reactions {

namespace {

std::vector<Choice> namedIds(store::Database& db, const QString& sql) {
    QSqlQuery query = db.run(sql);
    std::vector<Choice> choices;
    while (query.next()) {
        const std::optional<int> id = storedInt(query.value(1));
        if (id) choices.push_back({query.value(0).toString(), *id});
    }
    return choices;
}

QString entryText(int number, const QString& name, const QString& separator) {
    return name.isEmpty() ? QString::number(number) : QString::number(number) + separator + name;
}

}  // namespace

std::vector<Choice> macroChoices(store::Database& db) {
    return namedIds(db,
                    QStringLiteral("SELECT Macros.Macro, Macros.Macro_ID FROM Macros ORDER BY Macros.Macro"));
}

std::vector<Choice> customCodeChoices(store::Database& db) {
    return namedIds(db, QStringLiteral("SELECT CustomCodes.CustomCodeName, CustomCodes.CustomCode_ID "
                                       "FROM CustomCodes ORDER BY CustomCodes.CustomCodeName"));
}

std::vector<Choice> areaChoices(store::Database& db, const QString& separator) {
    std::map<int, QString> names;
    for (const Choice& c :
         namedIds(db, QStringLiteral("SELECT AreaNames.AreaName, AreaNames.Area FROM AreaNames "
                                     "ORDER BY AreaNames.Area")))
        names[c.id] = c.text;
    std::vector<Choice> choices;
    for (int area = 0; area <= kLastArea; ++area) {
        const auto named = names.find(area);
        choices.push_back(
            {entryText(area, named == names.end() ? QString() : named->second, separator), area});
    }
    return choices;
}

std::vector<Choice> presetChoices(store::Database& db, int area, const QString& separator) {
    QSqlQuery query =
        db.run(QStringLiteral("SELECT PresetNames.Preset, PresetNames.PresetName FROM PresetNames "
                              "WHERE PresetNames.Area = ? ORDER BY PresetNames.Preset"),
               {area});
    std::map<int, QString> names;
    while (query.next()) {
        const std::optional<int> preset = storedInt(query.value(0));
        if (preset) names[*preset] = query.value(1).toString();
    }
    std::vector<Choice> choices;
    for (int preset = 1; preset <= kLastListedPreset; ++preset) {
        const auto named = names.find(preset);
        choices.push_back(
            {entryText(preset, named == names.end() ? QString() : named->second, separator), preset});
    }
    return choices;
}

}  // namespace qv::reactions
