#pragma once
// The schedule workspace: the next occurrence of every schedule at or after a
// reference moment, one ScheduleWorkspace row per schedule and rule kind.
//
// A rebuild empties the table and refills it in one transaction, so readers
// see either the old rows or all the new ones. A schedule whose fields a rule
// cannot use gets no row and one "Warning **" monitor record naming it; the
// rebuild goes on with the others. A database error rolls the whole rebuild
// back and is thrown to the caller (StoreError).

#include "comms/monitor_writer.h"
#include "schedule/local_time.h"
#include "schedule/sun_times.h"

#include <QString>

#include <set>
#include <utility>
#include <vector>

namespace qv {
class Clock;
}
namespace qv::store {
class Database;
class MonitorSink;
}  // namespace qv::store

namespace qv::schedule {

class ScheduleWorkspace {
public:
    ScheduleWorkspace(store::Database& main, store::MonitorSink& monitor, const qv::Clock& clock,
                      const SunSource& sun);

    struct Rebuild {
        int rows = 0;     // workspace rows written
        int skipped = 0;  // schedule rules left out because of a bad field
    };

    // Rebuilds the whole workspace for the reference moment. Throws StoreError.
    Rebuild CalcNextDateTimeforThisSchedule(LocalDateTime from);

    // The description of a schedule that has a workspace row; empty otherwise.
    // Throws StoreError.
    QString GetScheduleDescription(int schedulerId);

    const SunSource& sun() const { return m_sun; }

private:
    void warnOnce(int schedulerId, const QString& problem);
    void insertRows(const std::vector<std::pair<int, QString>>& starts);

    store::Database& m_db;
    comms::MonitorWriter m_monitorWriter;
    const SunSource& m_sun;
    // A bad schedule is reported once per run, not at every rebuild (the
    // listing rebuilds every minute while it is open).
    std::set<std::pair<int, QString>> m_warned;
};

}  // namespace qv::schedule
