#pragma once
// The nine recurrence rules: given a schedule's rule and a reference moment
// `from`, the date of its next occurrence (the time of day is resolved later,
// see occurrence_time.h). Pure calendar arithmetic on wall-clock values.
//
// The rules keep the stored schedules' established behaviour, turns included:
// the weekend rule compares its candidate with the start date-time, the weekly
// rule looks at two active weeks only, monthly day numbers are clamped and the
// clamp carries on (31 Jan, 28 Feb, 28 Mar, ...), and the yearly rules move
// on to next year when the occurrence is not later than the reference.
//
// Every count (days, weeks, months) must be 1 or more and every day of the
// month 1..31; the callers check that (see schedule_row.h).

#include "schedule/local_time.h"

#include <array>
#include <optional>

namespace qv::schedule {

// "First" ... "Fourth", "Last"; any other word is kept as Other, which the
// rules treat like First.
enum class Ordinal { First, Second, Third, Fourth, Last, Other };
Ordinal ordinalFromWord(const QString& word);
QString ordinalWord(Ordinal ordinal);  // "First" ... "Last"; Other gives ""

using WeekDays = std::array<bool, 7>;                   // Monday ... Sunday
using TimeOfDay = std::optional<std::chrono::seconds>;  // the fixed start time; empty when sun-relative

// The weekday, weekend and yearly rules start at the schedule's own start day:
// when startdate is on a later day than from, from moved to that day (keeping
// from's time of day); otherwise from itself.
LocalDateTime effectiveReference(LocalDateTime startdate, LocalDateTime from);

// CalcNextEvent_SpecificDate: startdate's day at starttime (00:00 when
// sun-relative), when from is not later than that moment.
std::optional<LocalDay> nextSpecificDate(LocalDateTime startdate, TimeOfDay starttime, LocalDateTime from);

// CalcNextEvent_EveryXDays: from's day on the start day itself, else the first
// startdate + k*n days not earlier than from (sun-relative: whole days, so
// today's occurrence stays today's whatever the time of day).
std::optional<LocalDay> nextEveryXDays(LocalDateTime startdate, TimeOfDay starttime, int n,
                                       LocalDateTime from);

// CalcNextEvent_EveryWeekDay: the effective day, or the Monday after a weekend.
std::optional<LocalDay> nextEveryWeekDay(LocalDateTime startdate, LocalDateTime from);

// CalcNextEvent_EveryWeekEndDay: the effective day when it is a Saturday or a
// Sunday, else the coming Saturday; nothing unless that is later than startdate.
std::optional<LocalDay> nextEveryWeekEndDay(LocalDateTime startdate, LocalDateTime from);

// CalcNextEvent_EveryXWeeks: scans the active week around from's day and the
// active week after it for the first ticked day not earlier than from.
std::optional<LocalDay> nextEveryXWeeks(LocalDateTime startdate, TimeOfDay starttime, int x,
                                        const WeekDays& days, LocalDateTime from);

// CalcNextEvent_EveryWhatDayOfEveryXMonths: day n of startdate's month, then
// every x months, the first not earlier than from nor than startdate's day.
std::optional<LocalDay> nextDayOfEveryXMonths(LocalDateTime startdate, int n, int x, LocalDateTime from);

// CalcNextEvent_TheWhatDayofEveryWhatDayofEveryXMonths: the ordinal weekday of
// every x months counted from startdate's month, strictly later than from in
// from's month, or the first active month after it.
std::optional<LocalDay> nextNthWeekdayOfEveryXMonths(LocalDateTime startdate, Ordinal ordinal, int weekday,
                                                     int x, LocalDateTime from);

// CalcNextEvent_EveryWhatDayofEveryNameofMonth: day n of the month in the
// effective year, or a year later when that is not later than the reference.
std::optional<LocalDay> nextDayOfNamedMonth(LocalDateTime startdate, TimeOfDay starttime, int n,
                                            unsigned month, LocalDateTime from);

// CalcNextEvent_TheFirstSecondThirdFourthLastDayofWeekOfEveryNameofMonth.
std::optional<LocalDay> nextNthWeekdayOfNamedMonth(LocalDateTime startdate, TimeOfDay starttime,
                                                   Ordinal ordinal, int weekday, unsigned month,
                                                   LocalDateTime from);

}  // namespace qv::schedule
