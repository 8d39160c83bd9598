#include "schedule/scheduling.h"

#include "clock/clock.h"

namespace qv::schedule {

Scheduling::Scheduling(SchedulingDeps deps, QObject* parent)
    : QObject(parent),
      m_clock(deps.clock),
      m_sun(deps.site),
      m_workspace(deps.main, deps.monitor, deps.clock, m_sun),
      m_firing(deps.main, m_workspace, deps.monitor, deps.macros, deps.clock),
      m_editor(deps.main, m_firing),
      m_listing(deps.main, m_workspace, deps.clock),
      m_reminders(deps.main, deps.monitor, deps.macros, deps.clock, deps.reminderCalendarPath),
      m_timer(deps.clock) {
    m_timer.addMinuteHandler([this](const QDateTime& now) { m_firing.onMinute(now); });
    m_timer.addMinuteHandler([this](const QDateTime& now) { m_reminders.onMinute(now); });
}

Scheduling::~Scheduling() {
    m_timer.stop();
}

void Scheduling::start() {
    m_firing.rebuildAndFire();
    m_timer.start();
}

void Scheduling::stop() {
    m_timer.stop();
}

QStringList schedulesCommand(store::Database& main, store::MonitorSink& monitor, const qv::Clock& clock,
                             const Site& site, std::optional<QDate> date) {
    const SunCalculator sun(site);
    ScheduleWorkspace workspace(main, monitor, clock, sun);
    ScheduleListing listing(main, workspace, clock);
    return scheduleListingText(listing, date.value_or(clock.now().date()));
}

}  // namespace qv::schedule
