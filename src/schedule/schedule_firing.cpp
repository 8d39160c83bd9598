#include "schedule/schedule_firing.h"

#include "clock/clock.h"
#include "macros/macro_runner.h"
#include "schedule/due_keys.h"
#include "schedule/logging.h"
#include "schedule/workspace.h"
#include "store/database.h"
#include "store/field_values.h"
#include "store/monitor_record.h"
#include "store/store_error.h"

#include <vector>

namespace qv::schedule {

ScheduleFiring::ScheduleFiring(store::Database& main, ScheduleWorkspace& workspace,
                               store::MonitorSink& monitor, macros::MacroRunner& macros,
                               const qv::Clock& clock)
    : m_db(main), m_workspace(workspace), m_monitorWriter(monitor, clock), m_macros(macros), m_clock(clock) {}

int ScheduleFiring::rebuildAndFire() {
    struct Due {
        int schedulerId;
        QString key;
        QString macro;
    };
    std::vector<Due> enabled;
    const QDateTime started = m_clock.now();
    try {
        m_workspace.CalcNextDateTimeforThisSchedule(at(fromQDate(started.date()), std::chrono::seconds(0)));
        QSqlQuery query = m_db.prepare(QStringLiteral(
            "SELECT ScheduleWorkspace.Scheduler_ID, ScheduleWorkspace.StartDateTime, Macros.Macro, "
            "Scheduler.Disabled "
            "FROM (ScheduleWorkspace INNER JOIN Scheduler ON ScheduleWorkspace.Scheduler_ID = "
            "Scheduler.Scheduler_ID) "
            "INNER JOIN Macros ON Scheduler.Macro_ID = Macros.Macro_ID "
            "ORDER BY ScheduleWorkspace.StartDateTime, ScheduleWorkspace.Scheduler_ID"));
        m_db.exec(query);
        while (query.next()) {
            if (store::yesNoOr(query.value(3), false)) continue;  // disabled: keeps its row, never fires
            enabled.push_back(
                {query.value(0).toInt(), dueKeyOfText(query.value(1).toString()), query.value(2).toString()});
        }
    } catch (const store::StoreError& error) {
        qCWarning(lcSchedule) << "rebuild-and-fire failed:" << error.what();
        m_monitorWriter.error(QStringLiteral("Schedules could not be brought up to date: %1")
                                  .arg(QString::fromStdString(error.what())));
        return 0;
    }

    int ran = 0;
    for (const Due& due : enabled) {
        if (due.key.isEmpty()) continue;
        m_dueKeys.insert(due.key);
        // The clock is read again for each row: running macros takes time.
        if (!dueKeysAt(m_clock.now()).contains(due.key)) continue;
        if (!m_fired.emplace(due.schedulerId, due.key).second) continue;  // already run for this minute
        try {
            m_macros.RunMacro(due.macro);
            ++ran;
        } catch (const std::exception& error) {
            // One failing macro does not keep the others of this minute from running.
            qCWarning(lcSchedule) << "RunMacro failed for" << due.macro << error.what();
            m_monitorWriter.error(QStringLiteral("Scheduled macro could not be started: %1")
                                      .arg(QString::fromStdString(error.what())),
                                  {.macro = due.macro});
        }
    }
    m_handledMinutes.insert(dueKey(fromQDateTime(started)));
    return ran;
}

int ScheduleFiring::onMinute(const QDateTime& now) {
    const int nextTick = msToNextMinute(now);
    const LocalDateTime wall = fromQDateTime(now);
    if (now.time().hour() == 0 && now.time().minute() == 0) {
        dropKeysBefore(dueKey(at(dayOf(wall), std::chrono::seconds(0))));
        rebuildAndFire();
        return nextTick;
    }
    if (m_handledMinutes.contains(dueKey(wall))) return nextTick;
    bool due = false;
    for (const QString& key : dueKeysAt(now)) due = due || m_dueKeys.contains(key);
    if (!due) return nextTick;
    m_monitorWriter.write(store::MonitorType::Scheduler, QStringLiteral("Scheduled Event started!"));
    rebuildAndFire();
    return nextTick;
}

void ScheduleFiring::dropKeysBefore(const QString& firstKeyToKeep) {
    const auto old = [&](const QString& key) { return key < firstKeyToKeep; };
    m_dueKeys.removeIf(old);
    m_handledMinutes.removeIf(old);
    std::erase_if(m_fired, [&](const auto& fired) { return old(fired.second); });
}

}  // namespace qv::schedule
