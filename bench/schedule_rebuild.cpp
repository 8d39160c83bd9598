// Rebuilds a schedule workspace of 10,000 schedules of every rule kind and
// both time modes in a temporary main database, and prints how long the
// rebuild takes (target: under 200 ms).
//
//     build/bin/schedule_rebuild [--schedules N] [--runs R] [--no-sync]

#include "clock/clock.h"
#include "schedule/local_time.h"
#include "schedule/sun_times.h"
#include "schedule/workspace.h"
#include "store/store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

class NullMonitor final : public qv::store::MonitorSink {
public:
    void MonitorAdditem(const qv::store::MonitorRecord&) override {}
};

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

int argument(const QStringList& args, const QString& name, int fallback) {
    const int at = static_cast<int>(args.indexOf(name));
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

// One schedule per kind in turn, with starts spread over ten years.
void fill(qv::store::Database& db, int count) {
    static const char* const kDays[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                        "Friday", "Saturday", "Sunday"};
    static const char* const kMonths[] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    static const char* const kOrdinals[] = {"First", "Second", "Third", "Fourth", "Last"};
    qv::store::Transaction transaction(db);
    QSqlQuery macro = db.prepare(QStringLiteral("INSERT INTO Macros (Macro, Enabled) VALUES ('Lights', 1)"));
    db.exec(macro);
    QSqlQuery insert = db.prepare(QStringLiteral(
        "INSERT INTO Scheduler (Macro_ID, Disabled, startdate, starttime, hours, \"before\", Sunset, "
        "RecurringDaily, D1_EveryXdays, D2_EveryWeekDay, D3_EveryWeekEndDay, RecurringWeekly, W_EveryXweeks, "
        "W_Mon, W_Wed, W_Sat, RecurringMonthly, M1_EveryWhatDay, M1_OfEveryXmonths, M2_TheWhatDay, "
        "M2_OfEveryWhatDay, M2_OfEveryXmonths, RecurringYearly, Y1_EverywhatDay, Y1_OfEveryNameofMonth, "
        "Y2_TheFirstSecondThirdFourthLast, Y2_DayOfWeek, Y2_OfEveryNameofMonth) "
        "VALUES (1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < count; ++i) {
        const int kind = i % 9;
        const bool sun = i % 3 == 0;
        const QDate start = QDate(2016, 1, 1).addDays((i * 37) % 3650);
        const QString time =
            QStringLiteral("%1:%2").arg(i % 24, 2, 10, QLatin1Char('0')).arg(i % 60, 2, 10, QLatin1Char('0'));
        QVariantList v;
        v << (i % 10 == 0 ? 1 : 0)
          << start.toString(QStringLiteral("yyyy-MM-dd ")) + time + QStringLiteral(":00")
          << (sun ? QVariant() : QVariant(time)) << (sun ? QStringLiteral("01:30") : QStringLiteral("00:00"))
          << (i % 2) << (i % 4 == 0 ? 1 : 0);
        v << (kind >= 1 && kind <= 3 ? 1 : 0) << (kind == 1 ? 1 + i % 9 : 0) << (kind == 2 ? 1 : 0)
          << (kind == 3 ? 1 : 0);
        v << (kind == 4 ? 1 : 0) << (kind == 4 ? 1 + i % 3 : 0) << (kind == 4 ? 1 : 0) << (i % 2)
          << (i % 3 == 0 ? 1 : 0);
        v << (kind == 5 || kind == 6 ? 1 : 0) << (kind == 5 ? 1 + i % 31 : 0) << (kind == 5 ? 1 + i % 4 : 0)
          << (kind == 6 ? QVariant(kOrdinals[i % 5]) : QVariant())
          << (kind == 6 ? QVariant(kDays[i % 7]) : QVariant()) << (kind == 6 ? 1 + i % 6 : 0);
        v << (kind >= 7 ? 1 : 0) << (kind == 7 ? 1 + i % 28 : 0)
          << (kind == 7 ? QVariant(kMonths[i % 12]) : QVariant())
          << (kind == 8 ? QVariant(kOrdinals[i % 5]) : QVariant())
          << (kind == 8 ? QVariant(kDays[i % 7]) : QVariant())
          << (kind == 8 ? QVariant(kMonths[i % 12]) : QVariant());
        for (int k = 0; k < v.size(); ++k) insert.bindValue(k, v[k]);
        db.exec(insert);
    }
    transaction.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("quorvel.store.info=false"));
    const QStringList args = app.arguments();
    const int count = argument(args, QStringLiteral("--schedules"), 10000);
    const int runs = std::max(1, argument(args, QStringLiteral("--runs"), 5));

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    try {
        qv::store::Database db =
            qv::store::Database::open(qv::store::DataPaths{dir.path()}.mainDb(), qv::store::DbKind::Main);
        fill(db, count);
        if (args.contains(QStringLiteral("--no-sync")))
            db.exec(QStringLiteral("PRAGMA synchronous = OFF"));  // the rebuild without waiting for the disk
        NullMonitor monitor;
        qv::SystemClock clock;
        const qv::schedule::SunCalculator sun(qv::schedule::Site{-31.95, -115.86, 8, false});
        qv::schedule::ScheduleWorkspace workspace(db, monitor, clock, sun);

        std::vector<double> times;
        std::vector<double> cpu;  // this process's processor time: a busy machine shows in wall time only
        int rows = 0;
        for (int run = 0; run < runs; ++run) {
            // Each run from another day, as the midnight rebuilds go.
            const auto from = qv::schedule::at(qv::schedule::fromQDate(QDate(2026, 1, 5).addDays(run)),
                                               std::chrono::seconds(0));
            QElapsedTimer timer;
            const double cpuBefore = cpuMs();
            timer.start();
            rows = workspace.CalcNextDateTimeforThisSchedule(from).rows;
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            cpu.push_back(cpuMs() - cpuBefore);
        }
        std::sort(cpu.begin(), cpu.end());
        std::sort(times.begin(), times.end());
        std::printf("schedule_rebuild: %d schedules, %d workspace rows\n", count, rows);
        std::printf("rebuild: best %.1f ms, median %.1f ms, worst %.1f ms over %d runs (target < 200 ms)\n",
                    times.front(), times[times.size() / 2], times.back(), runs);
        std::printf("processor time per rebuild: median %.1f ms\n", cpu[cpu.size() / 2]);
        db.close();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "schedule_rebuild: %s\n", error.what());
        return 1;
    }
    return 0;
}
