// Monitor-log speed with the program's real file layout in a temporary data
// directory:
//  - records written a second through MonitorLog (list + EventLog), with the
//    event loop turning as it would under traffic, and the longest stall of
//    one call or one commit; beside it the rate of one open, insert and close
//    per record for comparison;
//  - start-up time to read back 10000 records from a log of 1,000,000;
//  - start-up maintenance (check, compaction, weekday backup) of that log.
//
//  - the longest event-loop turn while a 10 ms timer feeds a steady 20,000
//    records a second, and the rows stored after the shutdown commit;
//
//   monitor_log_bench [--records N] [--seconds N] [--log-rows N]

#include "net/labels.h"
#include "store/monitor_readback.h"
#include "store/store.h"
#include "traffic_record.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

using namespace qv;

const SystemClock systemClock;

using bench::trafficRecord;

// CPU time of this process: on a machine shared with other work the wall
// clock also counts the time the process waited for a core.
double cpuSeconds() {
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

WriteFigures measureWrites(const store::DataPaths& paths, const net::NameTables& names, int records) {
    store::MonitorLog log({paths.monitorLog(), &names, systemClock});
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
    if (!log.flush()) std::fprintf(stderr, "the final commit failed\n");
    figures.perSecond = records / (total.nsecsElapsed() / 1e9);
    figures.perCpuSecond = records / (cpuSeconds() - cpuStart);
    return figures;
}

// Every event the loop delivers, timed: the longest is the longest turn.
class TimedApp final : public QCoreApplication {
public:
    using QCoreApplication::QCoreApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        if (m_depth++ > 0) {
            const bool done = QCoreApplication::notify(receiver, event);
            --m_depth;
            return done;
        }
        QElapsedTimer turn;
        turn.start();
        const double cpu = cpuSeconds();
        const bool done = QCoreApplication::notify(receiver, event);
        --m_depth;
        longestMs = std::max(longestMs, turn.nsecsElapsed() / 1e6);
        longestCpuMs = std::max(longestCpuMs, (cpuSeconds() - cpu) * 1000);
        return done;
    }
    double longestMs = 0;
    double longestCpuMs = 0;

private:
    int m_depth = 0;
};

struct SteadyFigures {
    long long fed = 0;
    long long stored = 0;
    double longestTurnMs = 0;
    double longestTurnCpuMs = 0;
};

// 20,000 records a second from a 10 ms timer, 200 a tick (more if a tick
// came late), for `seconds`; then the log goes, committing what waits.
SteadyFigures measureSteadyFeed(TimedApp& app, const store::DataPaths& paths, const net::NameTables& names,
                                int seconds) {
    SteadyFigures figures;
    {
        store::MonitorLog log({paths.monitorLog(), &names, systemClock});
        QElapsedTimer clock;
        QTimer feed;
        feed.setTimerType(Qt::PreciseTimer);
        QObject::connect(&feed, &QTimer::timeout, [&] {
            const long long due = std::min<long long>(clock.elapsed(), seconds * 1000LL) * 20;
            for (; figures.fed < due; ++figures.fed) log.MonitorAdditem(trafficRecord(figures.fed));
            if (clock.elapsed() >= seconds * 1000LL) QCoreApplication::quit();
        });
        clock.start();
        feed.start(10);
        app.longestMs = app.longestCpuMs = 0;
        QCoreApplication::exec();
        figures.longestTurnMs = app.longestMs;
        figures.longestTurnCpuMs = app.longestCpuMs;
    }
    store::Database db = store::Database::open(paths.monitorLog(), store::DbKind::MonitorLog);
    QSqlQuery count = db.prepare(QStringLiteral("SELECT count(*) FROM EventLog"));
    db.exec(count);
    figures.stored = count.next() ? count.value(0).toLongLong() : -1;
    return figures;
}

double measureOpenPerRecord(const store::DataPaths& paths, int records) {
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

void buildLargeLog(const store::DataPaths& paths, int rows) {
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

int main(int argc, char* argv[]) {
    TimedApp app(argc, argv);
    int records = 200000;
    int seconds = 5;
    int logRows = 1000000;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--records")) records = std::max(1, args[i + 1].toInt());
        if (args[i] == QLatin1String("--seconds")) seconds = std::max(1, args[i + 1].toInt());
        if (args[i] == QLatin1String("--log-rows")) logRows = std::max(1, args[i + 1].toInt());
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

        // A steady 20,000 records a second.
        const store::DataPaths steadyPaths{dir.filePath(QStringLiteral("steady"))};
        const SteadyFigures steady = measureSteadyFeed(app, steadyPaths, names, seconds);
        std::printf("steady 20000/s for %d s longest loop turn %.1f ms, %.1f ms of CPU  target < 50 ms %s\n",
                    seconds, steady.longestTurnMs, steady.longestTurnCpuMs,
                    steady.longestTurnMs < 50 ? "PASS" : "FAIL");
        std::printf("  rows stored          %lld of %lld fed %s\n", steady.stored, steady.fed,
                    steady.stored == steady.fed ? "PASS" : "FAIL");

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
            store::MonitorLog log({readPaths.monitorLog(), &names, systemClock});
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
