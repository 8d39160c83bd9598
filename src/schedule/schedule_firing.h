#pragma once
// Firing schedules by the minute.
//
// Rebuild-and-fire recomputes the workspace from today's 00:00, adds the due
// key of every enabled schedule to the due-key set and runs the macro of each
// one due this minute. The minute tick (onMinute) only asks the due-key set
// whether anything is due now; if so it writes "Scheduled Event started!" and
// runs rebuild-and-fire, which decides what actually runs. At 00:00 the tick
// always rebuilds, which moves every schedule on to the new day.
//
// Beyond the tick's own rules:
// - a schedule runs at most once for one due key, so a second save in the same
//   minute, or the hour the clocks go back, does not run it again;
// - a minute already handled is not handled again when the wall clock shows it
//   a second time (clocks going back);
// - in the first minute after the clocks go forward, schedules of the skipped
//   minutes fire (see dueKeysAt);
// - keys of earlier days are dropped at midnight, so a long run stays small.

#include "comms/monitor_writer.h"
#include "schedule/local_time.h"

#include <QDateTime>
#include <QSet>
#include <QString>

#include <set>
#include <utility>

namespace qv {
class Clock;
}
namespace qv::macros {
class MacroRunner;
}
namespace qv::store {
class Database;
class MonitorSink;
}  // namespace qv::store

namespace qv::schedule {

class ScheduleWorkspace;

class ScheduleFiring {
public:
    ScheduleFiring(store::Database& main, ScheduleWorkspace& workspace, store::MonitorSink& monitor,
                   macros::MacroRunner& macros, const qv::Clock& clock);

    // Start-up, after a save, at midnight and on a due tick. Never throws: a
    // failure is logged and written to the monitor, and the program goes on.
    // Returns the number of macros it ran.
    int rebuildAndFire();

    // One tick of CheckforEventsTimer at `now`; returns the milliseconds to the
    // start of the next minute.
    int onMinute(const QDateTime& now);

    bool hasDueKey(const QString& key) const { return m_dueKeys.contains(key); }
    qsizetype dueKeyCount() const { return m_dueKeys.size(); }

private:
    void dropKeysBefore(const QString& firstKeyToKeep);

    store::Database& m_db;
    ScheduleWorkspace& m_workspace;
    comms::MonitorWriter m_monitorWriter;
    macros::MacroRunner& m_macros;
    const qv::Clock& m_clock;

    QSet<QString> m_dueKeys;
    QSet<QString> m_handledMinutes;
    std::set<std::pair<int, QString>> m_fired;  // (Scheduler_ID, due key)
};

}  // namespace qv::schedule
