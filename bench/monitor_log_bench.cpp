// Monitor-log speed with the program's real file layout in a temporary data
// directory:
//  - records written a second through MonitorLog (list + EventLog), with the
//    event loop turning as it would under traffic, and the longest stall of
//    one call or one commit; beside it the rate of one open, insert and close
//    per record for comparison;
//  - start-up time to read back 10000 records from a log of 1,000,000;
//  - start-up maintenance (check, compaction, weekday backup) of that log.
//
//   monitor_log_bench [--records N] [--log-rows N]

#include "net/labels.h"
#include "traffic_record.h"
#include "store/monitor_readback.h"
#include "store/store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

using namespace qv;

using bench::trafficRecord;

// CPU time of this process: on a machine shared with other work the wall
// clock also counts the time the process waited for a core.
double cpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

struct WriteFigures {
    double perSecond = 0;
    double perCpuSecond = 0;
    qint64 longestCallMs = 0;
    qint64 longestLoopTurnMs = 0;
    double longestLoopTurnCpuMs = 0;
};

WriteFigures measureWrites(const store::DataPaths& paths, const net::NameTables& names, int records)
{
    store::MonitorLog log({paths.monitorLog(), &names, [] { return QDateTime::currentDateTime(); }, {}});
    WriteFigures figures;
    QElapsedTimer total;
    QElapsedTimer one;
    total.start();
    const double cpuStart = cpuSeconds();
    for (int i = 0; i < records; ++i) {
        one.start();
        log.MonitorAdditem(trafficRecord(i));
        figures.longestCallMs = std::max(figures.longestCallMs, one.elapsed());
        // The decoder hands over a few records per in-box tick; the event
        // loop turns in between and runs the commit timer when it is due.
        if (i % 50 == 49) {
            one.start();
            const double turnCpu = cpuSeconds();
            QCoreApplication::processEvents();
            figures.longestLoopTurnMs = std::max(figures.longestLoopTurnMs, one.elapsed());
            figures.longestLoopTurnCpuMs =
                std::max(figures.longestLoopTurnCpuMs, (cpuSeconds() - turnCpu) * 1000);
        }
    }
    if (!log.flush())
        std::fprintf(stderr, "the final commit failed\n");
    figures.perSecond = records / (total.nsecsElapsed() / 1e9);
    figures.perCpuSecond = records / (cpuSeconds() - cpuStart);
    return figures;
}

double measureOpenPerRecord(const store::DataPaths& paths, int records)
{
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < records; ++i) {
        store::Database db = store::Database::open(paths.monitorLog(), store::DbKind::MonitorLog);
        QSqlQuery insert =
            db.prepare(QStringLiteral("INSERT INTO EventLog (Origin, Comments) VALUES (?, ?)"));
        insert.addBindValue(QStringLiteral("Comms"));
        insert.addBindValue(trafficRecord(i).comment);
        db.exec(insert);
    }
    return records / (total.nsecsElapsed() / 1e9);
}

void buildLargeLog(const store::DataPaths& paths, int rows)
{
    store::Database db = store::Database::open(paths.monitorLog(), store::DbKind::MonitorLog);
    store::Transaction transaction(db);
    QSqlQuery fill = db.prepare(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
        "INSERT INTO EventLog (Origin, Hexstring, TimeDateStamp, Macro, Comments, Area, Preset, AreaName, "
        "PresetName, Channel, ChannelName, ChannelLevel) "
        "SELECT 'Comms', '1C 05 32 00 00 00 FF AE', '2024-05-13 08:15:42', '', 'Area ' || (i % 255 + 1) || "
        "' Channel ' || (i % 24 + 1), i % 255 + 1, i % 96 + 1, '', '', i % 24 + 1, '', i % 101 FROM n"));
    fill.addBindValue(rows);
    db.exec(fill);
    transaction.commit();
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int records = 200000;
    int logRows = 1000000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--records"))
            records = std::max(1, args[i + 1].toInt());
        if (args[i] == QLatin1String("--log-rows"))
            logRows = std::max(1, args[i + 1].toInt());
    }

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary directory\n");
        return 1;
    }
    net::NameTables names;
    names.setAreaName(5, "Office");
    names.setChannelName(5, 3, "Downlights");

    try {
        // Writing.
        const store::DataPaths writePaths{dir.filePath(QStringLiteral("write"))};
        const WriteFigures writes = measureWrites(writePaths, names, records);
        const double openPerRecord = measureOpenPerRecord(writePaths, 500);
        std::printf("records written        %.0f records/s over %d records  target >= 20000/s %s\n",
                    writes.perSecond, records, writes.perSecond >= 20000 ? "PASS" : "FAIL");
        std::printf("  of CPU time          %.0f records/s (the wall clock also counts waiting for a core)\n",
                    writes.perCpuSecond);
        std::printf("longest call           %lld ms (MonitorAdditem, a due commit included)\n",
                    static_cast<long long>(writes.longestCallMs));
        std::printf("longest loop turn      %lld ms, %.0f ms of CPU (the commit timer's batch)\n",
                    static_cast<long long>(writes.longestLoopTurnMs), writes.longestLoopTurnCpuMs);
        std::printf("open/insert/close each %.0f records/s (one open per record, for comparison)\n",
                    openPerRecord);

        // Reading back.
        const store::DataPaths readPaths{dir.filePath(QStringLiteral("read"))};
        QElapsedTimer timer;
        timer.start();
        buildLargeLog(readPaths, logRows);
        std::printf("log of %d records   built in %.2f s, %.0f MB\n", logRows, timer.elapsed() / 1000.0,
                    QFileInfo(readPaths.monitorLog()).size() / 1e6);

        timer.start();
        int readBack = 0;
        {
            store::MonitorLog log(
                {readPaths.monitorLog(), &names, [] { return QDateTime::currentDateTime(); }, {}});
            readBack = log.loadPreviousSessions(store::kMaxReadBack);
            const qint64 ms = timer.elapsed();
            std::printf("read back %d records   %lld ms (open, read, into the list)  target < 1000 ms %s\n",
                        readBack, static_cast<long long>(ms), ms < 1000 ? "PASS" : "FAIL");
        }

        timer.start();
        const store::MaintenanceResult maintenance =
            store::runDatabaseMaintenance(readPaths, QDateTime::currentDateTime());
        std::printf("start-up maintenance   %.2f s for both databases (check, compaction, backup)%s\n",
                    timer.elapsed() / 1000.0, maintenance.canStart() ? "" : "  FAILED");
    } catch (const store::StoreError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
