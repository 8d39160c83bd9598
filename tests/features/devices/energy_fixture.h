#pragma once
// Lamp types, lamps on channels and a monitor log with level changes, in
// real files, for the energy report.

#include "devices_support.h"
#include "features/devices/energy_report.h"
#include "features/devices/lamp_editors.h"

namespace qv::test {

class EnergyTest : public DataFolderTest {
protected:
    EnergyTest() : lamps(*main) {
        monitorLog.emplace(store::Database::open(paths.monitorLog(), store::DbKind::MonitorLog));
        monitorLog->exec(QStringLiteral("PRAGMA synchronous = OFF"));
    }

    // A lamp type measured at the given points (percentage, load).
    int lampType(const QString& name, std::initializer_list<std::pair<int, double>> points) {
        int id = 0;
        const store::Outcome added = lamps.addLampType(name, 0, 0, &id);
        EXPECT_TRUE(added.ok) << added.message.toStdString();
        for (const auto& [percentage, load] : points) {
            const store::Outcome entered =
                lamps.enterMeasuredPoint(id, QString::number(percentage), QString::number(load, 'g', 17));
            EXPECT_TRUE(entered.ok) << entered.message.toStdString();
        }
        return id;
    }
    void lampsOn(int area, int channel, int fittingId, int number) {
        EXPECT_TRUE(lamps.setLampsOnChannel(area, channel, fittingId, QString::number(number)).ok);
    }

    // An EventLog row; a null QVariant leaves the field empty.
    void logged(const QString& when, const QVariant& area, const QVariant& channel, const QVariant& level) {
        run(*monitorLog,
            "INSERT INTO EventLog (Origin, TimeDateStamp, Area, Channel, ChannelLevel) VALUES ('Comms', ?, "
            "?, ?, ?)",
            {when, area, channel, level});
    }

    devices::EnergyReportResult report(const QDate& from, const QDate& to, const QString& csv = {}) {
        monitorLog->close();
        monitorLog.reset();
        main->close();
        main.reset();
        const devices::EnergyReportResult result = devices::createEnergyUsageReport(paths, from, to, csv);
        main.emplace(store::Database::open(paths.mainDb(), store::DbKind::Main));
        monitorLog.emplace(store::Database::open(paths.monitorLog(), store::DbKind::MonitorLog));
        return result;
    }

    struct UsageRow {
        qint64 id;
        QString when;
        int area;
        int channel;
        int level;
        double power;
        bool operator==(const UsageRow&) const = default;
    };
    std::vector<UsageRow> usage() {
        store::Database energy = store::Database::open(paths.energyUsage(), store::DbKind::EnergyUsage);
        QSqlQuery q =
            energy.prepare(QStringLiteral("SELECT ID, DateTimeStamp, Area, Channel, Level, PowerUsage, "
                                          "AreaName, ChannelName FROM EnergyUsage "
                                          "ORDER BY ID"));
        energy.exec(q);
        std::vector<UsageRow> rows;
        while (q.next()) {
            EXPECT_TRUE(q.value(6).isNull() && q.value(7).isNull()) << "names are left empty";
            rows.push_back({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toInt(),
                            q.value(3).toInt(), q.value(4).toInt(), q.value(5).toDouble()});
        }
        return rows;
    }

    devices::LampEditors lamps;
    std::optional<store::Database> monitorLog;
};

}  // namespace qv::test
