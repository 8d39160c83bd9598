#include "store/name_rows.h"

#include "store/database.h"
#include "store/log.h"

namespace qv::store {

namespace {

bool numberAt(const QSqlQuery& query, int column, int& number) {
    const QVariant value = query.value(column);
    bool ok = false;
    number = value.toInt(&ok);
    return !value.isNull() && ok;
}

}  // namespace

NameRows loadNameRows(Database& main) {
    NameRows rows;
    int skipped = 0;
    {
        QSqlQuery query = main.run(QStringLiteral("SELECT Area, AreaName FROM AreaNames ORDER BY Area"));
        while (query.next()) {
            int area = 0;
            if (!numberAt(query, 0, area)) {
                ++skipped;
                continue;
            }
            rows.areas.emplace_back(area, query.value(1).toString());
        }
    }
    {
        QSqlQuery query = main.run(QStringLiteral(
            "SELECT Area, Preset, PresetName FROM PresetNames ORDER BY Area, Preset, Preset_ID"));
        while (query.next()) {
            int area = 0;
            int preset = 0;
            if (!numberAt(query, 0, area) || !numberAt(query, 1, preset)) {
                ++skipped;
                continue;
            }
            rows.presets.emplace_back(area, preset, query.value(2).toString());
        }
    }
    {
        QSqlQuery query = main.run(QStringLiteral(
            "SELECT Area, Channel, Channelname FROM AreaChannels ORDER BY Area, Channel, rowid"));
        while (query.next()) {
            int area = 0;
            int channel = 0;
            if (!numberAt(query, 0, area) || !numberAt(query, 1, channel)) {
                ++skipped;
                continue;
            }
            rows.channels.emplace_back(area, channel, query.value(2).toString());
        }
    }
    if (skipped > 0)
        qCWarning(lcStore) << main.path() << "skipped" << skipped << "name rows without their numbers";
    return rows;
}

}  // namespace qv::store
