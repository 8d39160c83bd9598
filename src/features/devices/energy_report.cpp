#include "features/devices/energy_report.h"

#include "features/devices/energy_totals.h"
#include "features/devices/local_seconds.h"
#include "features/devices/logging.h"
#include "store/transaction.h"

#include <QFileInfo>
#include <QSqlQuery>

#include <map>
#include <tuple>

namespace qv::devices {

namespace {

using PowerKey = std::tuple<int, int, int>;  // area, channel, percentage

// What a channel draws at each percentage: for every lamp type on it, lamps
// x interpolated load. Rows equal in area, channel, lamp count, type,
// percentage and load count once, so the two rows of an inner measured point
// add its load once.
std::map<PowerKey, double> powerTable(store::Database& main) {
    QSqlQuery q = main.run(QStringLiteral(
        "SELECT Area, Channel, InterpolatedPercentage, SUM(Number * InterpolatedLevel) FROM ("
        "SELECT DISTINCT c.Area, c.Channel, c.Number, c.LampFitting_ID, i.InterpolatedPercentage, "
        "i.InterpolatedLevel FROM LampInterpolations i INNER JOIN LampFittingsonChannel c "
        "ON i.LampFitting_ID = c.LampFitting_ID) GROUP BY Area, Channel, InterpolatedPercentage"));
    std::map<PowerKey, double> table;
    while (q.next()) {
        const PowerKey key{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()};
        table.emplace_hint(table.end(), key, q.value(3).toDouble());
    }
    return table;
}

std::optional<int> intOf(const QVariant& value) {
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok ? std::optional<int>(n) : std::nullopt;
}

QString midnightText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

void report(const EnergyProgress& progress, int percent) {
    if (progress) progress(percent);
}

}  // namespace

QString energyReportCompleteMessage(int records) {
    return QStringLiteral(
               "Report Complete.  The Microsoft Access table 'EnergyUsage' has been created in the database "
               "'EnergyUsage.MDB'\n\nThe date range and available data has produced %1 records")
        .arg(records);
}

EnergyReportResult createEnergyUsageReport(store::Database& main, store::Database& monitorLog,
                                           store::Database& energyUsage, const QDate& from, const QDate& to,
                                           const QString& csvPath, const EnergyProgress& progress) {
    EnergyReportResult result;
    try {
        report(progress, 0);
        const std::map<PowerKey, double> power = powerTable(main);
        report(progress, 5);

        QSqlQuery source = monitorLog.run(
            QStringLiteral("SELECT ID, TimeDateStamp, Area, Channel, ChannelLevel FROM EventLog "
                           "WHERE TimeDateStamp BETWEEN ? AND ? AND Area IS NOT NULL AND Channel IS NOT NULL "
                           "AND ChannelLevel IS NOT NULL"),
            {midnightText(from), midnightText(to)});

        std::vector<EnergyUsageRow> rows;
        std::vector<LoadSample> samples;
        LocalSeconds secondsOf;
        while (source.next()) {
            EnergyUsageRow row{source.value(0), source.value(1).toString(),
                               source.value(2), source.value(3),
                               source.value(4), 0.0};
            const auto area = intOf(row.area);
            const auto channel = intOf(row.channel);
            const auto level = intOf(row.level);
            if (area && channel && level) {
                if (auto it = power.find({*area, *channel, *level}); it != power.end())
                    row.powerUsage = static_cast<double>(static_cast<float>(it->second));
            }
            // A change whose level cannot be read still ends the load before it.
            if (area && channel) {
                if (const auto at = secondsOf(row.dateTimeStamp))
                    samples.push_back(
                        {*area, *channel, *at, row.id.toLongLong(), level.value_or(0), row.powerUsage});
            }
            rows.push_back(std::move(row));
            if (rows.size() % 4096 == 0)
                report(progress, 5 + static_cast<int>(std::min<std::size_t>(rows.size() / 4096, 40)));
        }
        report(progress, 50);

        result.totals = energyTotals(std::move(samples), QDateTime(to, QTime(0, 0)).toSecsSinceEpoch());

        {
            store::Transaction transaction(energyUsage);
            // Kept beside EnergyUsage in the same file; made here so that files
            // written before the totals existed gain the table.
            energyUsage.exec(
                QStringLiteral("CREATE TABLE IF NOT EXISTS EnergyTotals (Area INTEGER, Channel INTEGER, "
                               "Hours REAL, kWh REAL)"));
            energyUsage.exec(QStringLiteral("DELETE FROM EnergyUsage"));
            energyUsage.exec(QStringLiteral("DELETE FROM EnergyTotals"));
            QSqlQuery insert =
                energyUsage.prepare(QStringLiteral("INSERT INTO EnergyUsage (ID, DateTimeStamp, Area, "
                                                   "Channel, Level, PowerUsage) VALUES (?, ?, ?, ?, ?, ?)"));
            std::size_t written = 0;
            for (const EnergyUsageRow& row : rows) {
                insert.bindValue(0, row.id);
                insert.bindValue(1, row.dateTimeStamp);
                insert.bindValue(2, row.area);
                insert.bindValue(3, row.channel);
                insert.bindValue(4, row.level);
                insert.bindValue(5, row.powerUsage);
                energyUsage.exec(insert);
                if (++written % 4096 == 0)
                    report(progress,
                           50 + static_cast<int>(40 * written / std::max<std::size_t>(rows.size(), 1)));
            }
            QSqlQuery total = energyUsage.prepare(
                QStringLiteral("INSERT INTO EnergyTotals (Area, Channel, Hours, kWh) VALUES (?, ?, ?, ?)"));
            for (const ChannelEnergy& t : result.totals) {
                total.bindValue(0, t.area);
                total.bindValue(1, t.channel);
                total.bindValue(2, t.hours);
                total.bindValue(3, t.kWh);
                energyUsage.exec(total);
            }
            transaction.commit();
        }
        report(progress, 90);

        result.records = static_cast<int>(rows.size());
        if (!csvPath.isEmpty()) {
            QString error;
            if (!writeEnergyCsv(csvPath, rows, result.totals, &error)) {
                result.message =
                    QStringLiteral("The report was made (%1 records) but the CSV export failed: %2")
                        .arg(QString::number(result.records), error);
                return result;
            }
        }
    } catch (const std::exception& error) {
        result.message = QStringLiteral("The energy usage report could not be made: %1")
                             .arg(QString::fromUtf8(error.what()));
        qCWarning(lcDevices).noquote() << result.message;
        return result;
    }
    report(progress, 100);
    result.ok = true;
    result.message = energyReportCompleteMessage(result.records);
    return result;
}

EnergyReportResult createEnergyUsageReport(const store::DataPaths& paths, const QDate& from, const QDate& to,
                                           const QString& csvPath, const EnergyProgress& progress) {
    EnergyReportResult result;
    if (!from.isValid() || !to.isValid()) {
        result.message = QStringLiteral("The energy usage report needs two valid dates");
        return result;
    }
    for (const QString& needed : {paths.mainDb(), paths.monitorLog()}) {
        if (!QFileInfo::exists(needed)) {
            result.message =
                QStringLiteral("The energy usage report could not be made: %1 does not exist").arg(needed);
            return result;
        }
    }
    try {
        store::Database main = store::Database::open(paths.mainDb(), store::DbKind::Main);
        store::Database monitorLog = store::Database::open(paths.monitorLog(), store::DbKind::MonitorLog);
        store::Database energyUsage = store::Database::open(paths.energyUsage(), store::DbKind::EnergyUsage);
        return createEnergyUsageReport(main, monitorLog, energyUsage, from, to, csvPath, progress);
    } catch (const std::exception& error) {
        result.message = QStringLiteral("The energy usage report could not be made: %1")
                             .arg(QString::fromUtf8(error.what()));
        return result;
    }
}

}  // namespace qv::devices
