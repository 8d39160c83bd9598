// The energy usage report over a large monitor log: 1,000,000 EventLog
// records of which 10,000 are channel-level changes inside the report's
// range (one day). Prints how long the report takes, with and without the
// CSV export. Target: under 2 s.
//
//   energy_report_bench [--records N] [--in-range M]

#include "features/devices/energy_report.h"
#include "features/devices/lamp_editors.h"
#include "store/database.h"
#include "store/transaction.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

using qv::store::Database;
using qv::store::DbKind;

void fillMainDatabase(Database& main) {
    qv::devices::LampEditors lamps(main);
    int fluorescent = 0, halogen = 0, led = 0;
    lamps.addLampType(QStringLiteral("Fluorescent"), 58, 6, &fluorescent);
    lamps.addLampType(QStringLiteral("Halogen"), 50, 0, &halogen);
    lamps.addLampType(QStringLiteral("LED"), 12, 1, &led);
    for (const auto& [percentage, load] : {std::pair{100, "64"}, {50, "30"}, {10, "9"}})
        lamps.enterMeasuredPoint(fluorescent, QString::number(percentage), QString::fromLatin1(load));
    for (const auto& [percentage, load] : {std::pair{100, "50"}, {0, "0"}})
        lamps.enterMeasuredPoint(halogen, QString::number(percentage), QString::fromLatin1(load));
    for (const auto& [percentage, load] : {std::pair{100, "13"}, {20, "3.5"}, {0, "0.4"}})
        lamps.enterMeasuredPoint(led, QString::number(percentage), QString::fromLatin1(load));
    for (int area = 1; area <= 32; ++area)
        for (int channel = 1; channel <= 8; ++channel) {
            lamps.setLampsOnChannel(area, channel, channel % 2 ? fluorescent : halogen,
                                    QString::number(channel));
            if (channel % 3 == 0) lamps.setLampsOnChannel(area, channel, led, QStringLiteral("10"));
        }
}

// Background traffic before the range (a third of it level changes), then
// the level changes inside the range, 8 s apart from 2024-06-01 00:00.
void fillMonitorLog(Database& log, int records, int inRange) {
    qv::store::Transaction transaction(log);
    QSqlQuery background = log.prepare(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?) "
        "INSERT INTO EventLog (Origin, Hexstring, TimeDateStamp, Comments, Area, Preset, Channel, "
        "ChannelLevel) "
        "SELECT 'Comms', '1C 01 00 71 80 00 FF F3', "
        "strftime('%Y-%m-%d %H:%M:%S', '2023-06-01', '+' || (i * 15) || ' seconds'), 'background', "
        "CASE WHEN i % 7 = 0 THEN NULL ELSE 1 + i % 32 END, NULL, "
        "CASE WHEN i % 3 = 0 THEN 1 + (i / 32) % 8 ELSE NULL END, "
        "CASE WHEN i % 3 = 0 THEN i % 101 ELSE NULL END FROM n"));
    background.addBindValue(records - inRange);
    log.exec(background);
    QSqlQuery levels = log.prepare(
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?) "
                       "INSERT INTO EventLog (Origin, Hexstring, TimeDateStamp, Comments, Area, Preset, "
                       "Channel, ChannelLevel) "
                       "SELECT 'Comms', '1C 01 00 60 80 00 FF 04', "
                       "strftime('%Y-%m-%d %H:%M:%S', '2024-06-01', '+' || (i * 8) || ' seconds'), 'level', "
                       "1 + i % 32, NULL, 1 + (i / 32) % 8, (i * 7) % 101 FROM n"));
    levels.addBindValue(inRange);
    log.exec(levels);
    transaction.commit();
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int records = 1000000;
    int inRange = 10000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--records") records = args[i + 1].toInt();
        if (args[i] == "--in-range") inRange = args[i + 1].toInt();
    }
    if (inRange < 1 || records < inRange || inRange > 10800) {
        std::fprintf(stderr, "need 1 <= in-range <= 10800 and in-range <= records\n");
        return 2;
    }

    QTemporaryDir dir;
    const qv::store::DataPaths paths{dir.path()};
    QElapsedTimer setup;
    setup.start();
    {
        Database main = Database::open(paths.mainDb(), DbKind::Main);
        fillMainDatabase(main);
        Database log = Database::open(paths.monitorLog(), DbKind::MonitorLog);
        fillMonitorLog(log, records, inRange);
    }
    std::printf("monitor log of %d records (%d level changes in range) made in %.1f s\n", records, inRange,
                setup.elapsed() / 1000.0);

    const QDate from(2024, 6, 1);
    const QDate to(2024, 6, 2);
    for (const bool csv : {false, true, false, true}) {
        QElapsedTimer timer;
        timer.start();
        const auto result = qv::devices::createEnergyUsageReport(
            paths, from, to, csv ? QDir(dir.path()).filePath(QStringLiteral("report.csv")) : QString());
        const double seconds = timer.nsecsElapsed() / 1e9;
        if (!result.ok) {
            std::fprintf(stderr, "report failed: %s\n", qPrintable(result.message));
            return 1;
        }
        std::printf("report%s: %d records in %.3f s (target 2 s: %s)\n", csv ? " + CSV" : "", result.records,
                    seconds, seconds < 2.0 ? "met" : "MISSED");
    }
    return 0;
}
