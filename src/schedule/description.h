#pragma once
// The one-line description of a schedule shown in the schedule listing
// ("Every day at 18:30:00- effective 05/12/2026 18:30:00").
//
// Times are written in the long time format "HH:mm:ss" and dates in the
// general format "dd/MM/yyyy", with " HH:mm:ss" when the time is not
// midnight: fixed formats, so the text does not change with the machine's
// regional settings.

#include "schedule/schedule_row.h"

namespace qv::schedule {

// Empty when the recurrence flags are set but no rule's fields match.
QString describeSchedule(const ScheduleRow& row);

// The time text T of a description (fixed time or sun offset).
QString describeTime(const ScheduleRow& row);
// The effective date text E of a description.
QString describeStartDate(const ScheduleRow& row);

}  // namespace qv::schedule
