#include "features/reactions/events.h"

#include "features/reactions/logging.h"
#include "features/reactions/stored_number.h"
#include "store/database.h"
#include "store/store_error.h"

#include <QSqlQuery>

namespace qv::reactions {

namespace {

constexpr int kLastNumber = 255;

}  // namespace

Events::Events(store::Database& db, macros::MacroRunner& runner, store::MonitorSink& monitor,
               const qv::Clock& clock)
    : m_db(db), m_runner(runner), m_monitorWriter(monitor, clock) {}

void Events::GetAreaPresetEvents() {
    AreaPresetEventTable table;
    try {
        QSqlQuery query = m_db.run(QStringLiteral(
            "SELECT Events.EventName, Events.Area, Events.Preset, Macros.Macro"
            " FROM Macros INNER JOIN Events ON Macros.Macro_ID = Events.Macro_ID"
            " WHERE Events.Area IS NOT NULL AND Events.Preset IS NOT NULL ORDER BY Events.rowid"));
        while (query.next()) {
            const std::optional<int> area = storedInt(query.value(1));
            const std::optional<int> preset = storedInt(query.value(2));
            if (!area || !preset || *area < 0 || *area > kLastNumber || *preset < 1 ||
                *preset > kLastNumber) {
                m_monitorWriter.warning(
                    QStringLiteral("Event \"%1\" is skipped: area %2 preset %3 is not an area "
                                   "0-255 and a preset 1-255")
                        .arg(query.value(0).toString(), query.value(1).toString(),
                             query.value(2).toString()));
                continue;
            }
            table.set(*area, *preset, query.value(3).toString());
        }
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(
            QStringLiteral("The area/preset events could not be read, the old ones stay: %1")
                .arg(QString::fromUtf8(e.what())));
        return;
    }
    m_areaPreset = std::move(table);
}

void Events::GetCustomCodeEvents() {
    CustomCodeEventMap map;
    try {
        // The macro is optional: an event whose macro was deleted still holds its code.
        QSqlQuery query = m_db.run(QStringLiteral(
            "SELECT Events.EventName, Macros.Macro, CustomCodes.CustomCode"
            " FROM (Events INNER JOIN CustomCodes ON Events.CustomCode_ID = CustomCodes.CustomCode_ID)"
            " LEFT JOIN Macros ON Macros.Macro_ID = Events.Macro_ID ORDER BY Events.rowid"));
        while (query.next()) {
            const QString name = query.value(0).toString();
            const QString code = query.value(2).toString();
            const CustomCodeEventMap::AddResult result = map.add(code, query.value(1).toString(), name);
            if (result.added == CustomCodeEventMap::Added::EmptyCode) {
                qCDebug(lcReactions) << "event" << name << "has an empty custom code";
            } else if (result.added == CustomCodeEventMap::Added::Taken) {
                m_monitorWriter.warning(
                    QStringLiteral("Events \"%1\" and \"%2\" both react to custom code %3: "
                                   "only \"%1\" runs its macro")
                        .arg(result.keeper.eventName, name, code.trimmed()));
            }
        }
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(
            QStringLiteral("The custom-code events could not be read, the old ones stay: %1")
                .arg(QString::fromUtf8(e.what())));
        return;
    }
    m_customCodes = std::move(map);
}

void Events::presetHeard(int area, int preset) {
    const QString macro = m_areaPreset.macroFor(area, preset);
    if (macro.isEmpty()) return;
    qCDebug(lcReactions) << "area" << area << "preset" << preset << "runs" << macro;
    m_runner.RunMacro(macro);
}

void Events::customCodeHeard(const std::string& hex) {
    const QString macro = m_customCodes.macroFor(QString::fromStdString(hex));
    if (macro.isEmpty()) return;
    qCDebug(lcReactions) << "custom code" << hex.c_str() << "runs" << macro;
    m_runner.RunMacro(macro);
}

}  // namespace qv::reactions
