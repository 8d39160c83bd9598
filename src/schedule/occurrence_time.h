#pragma once
// The time of day of one occurrence (what AddEventtoDB stores): the fixed
// start time, or sunrise/sunset of the occurrence day moved by the offset.

#include "schedule/local_time.h"
#include "schedule/sun_times.h"

namespace qv::schedule {

// Sun times are used to the nearest minute, as an almanac gives them.
std::chrono::seconds toNearestMinute(std::chrono::seconds timeOfDay);

// starttimeText "HH:MM" for a fixed time (the offset is not applied), empty
// for sun-relative. An offset that carries the time past midnight keeps only
// the time of day: the date stays the occurrence date. Seconds are dropped.
// Throws RuleFieldError when starttimeText is not a time of day.
LocalDateTime occurrenceStart(LocalDay date, const QString& starttimeText, std::chrono::seconds offset,
                              bool before, bool sunset, const SunSource& sun);

}  // namespace qv::schedule
