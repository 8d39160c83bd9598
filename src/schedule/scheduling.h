#pragma once
// The scheduling subsystem put together: sun times for the site, the
// workspace, firing, the editor and listing engines, calendar reminders and
// CheckforEventsTimer, which drives firing and reminders each minute.
//
//     qv::schedule::Scheduling scheduling({mainDb, monitor, clock, macroRunner,
//                                          qv::schedule::siteFromConfig(config),
//                                          config.ReminderCalendarPath});
//     scheduling.start();  // rebuild-and-fire now, first tick 5 s later
//
// Everything runs on the thread that owns the object; nothing here opens a
// window. The dependencies must outlive it.

#include "schedule/calendar_reminders.h"
#include "schedule/events_timer.h"
#include "schedule/schedule_editor.h"
#include "schedule/schedule_firing.h"
#include "schedule/schedule_listing.h"
#include "schedule/sun_times.h"
#include "schedule/workspace.h"

#include <QObject>

#include <memory>
#include <optional>

namespace qv::schedule {

struct SchedulingDeps {
    store::Database& main;
    store::MonitorSink& monitor;
    const qv::Clock& clock;
    macros::MacroRunner& macros;
    Site site;
    QString reminderCalendarPath;  // Config.ReminderCalendarPath; empty: no reminders
};

class Scheduling : public QObject {
    Q_OBJECT
public:
    explicit Scheduling(SchedulingDeps deps, QObject* parent = nullptr);
    ~Scheduling() override;

    // Start-up: rebuild-and-fire at once, then CheckforEventsTimer.
    void start();
    void stop();

    // The clock every part of it reads; windows take "now" and "today" from it.
    const qv::Clock& clock() const { return m_clock; }
    const SunCalculator& sun() const { return m_sun; }
    ScheduleWorkspace& workspace() { return m_workspace; }
    ScheduleFiring& firing() { return m_firing; }
    ScheduleEditor& editor() { return m_editor; }
    ScheduleListing& listing() { return m_listing; }
    CalendarReminders& reminders() { return m_reminders; }
    CheckforEventsTimer& timer() { return m_timer; }

private:
    const qv::Clock& m_clock;
    SunCalculator m_sun;
    ScheduleWorkspace m_workspace;
    ScheduleFiring m_firing;
    ScheduleEditor m_editor;
    ScheduleListing m_listing;
    CalendarReminders m_reminders;
    CheckforEventsTimer m_timer;
};

// `quorvel schedules [--date YYYY-MM-DD]`: the listing of the day (today when
// none) as the listing window shows it, with the site's sunrise and sunset.
// Leaves the workspace computed from now, as the window does. Throws StoreError.
QStringList schedulesCommand(store::Database& main, store::MonitorSink& monitor, const qv::Clock& clock,
                             const Site& site, std::optional<QDate> date);

}  // namespace qv::schedule
