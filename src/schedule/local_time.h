#pragma once
// Local wall-clock date-times as plain calendar values.
//
// Schedules are kept and compared as the clock on the wall reads, with no time
// zone attached: 01:30 on the day the clocks go forward is a valid schedule
// time even though that moment never happens. QDateTime would move such a
// value, so the rule arithmetic and the stored texts use these types and only
// the clock's readings are converted (by their date and time fields).

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

#include <chrono>
#include <optional>

namespace qv::schedule {

using LocalDateTime = std::chrono::local_seconds;
using LocalDay = std::chrono::local_days;

LocalDay dayOf(LocalDateTime when);
std::chrono::seconds timeOfDay(LocalDateTime when);
LocalDateTime at(LocalDay day, std::chrono::seconds timeOfDay);
std::chrono::year_month_day ymd(LocalDay day);

// Monday = 1 ... Sunday = 7.
int weekdayNumber(LocalDay day);
LocalDay mondayOf(LocalDay day);

// Month and year additions keep the day, or take the month's last day when the
// target month is shorter (31 January + 1 month = 28 or 29 February).
LocalDateTime addMonths(LocalDateTime when, int months);
LocalDateTime addYears(LocalDateTime when, int years);
// A day number past the month's end runs on into the next month (day 31 of
// April is 1 May). day must be 1 or more.
LocalDay dayFromParts(int year, unsigned month, int day);

// "yyyy-MM-dd HH:mm:ss" (also without seconds, with a 'T', or a bare date).
std::optional<LocalDateTime> parseDateTimeText(const QString& text);
QString dateTimeText(LocalDateTime when);  // "yyyy-MM-dd HH:mm:ss"
QString dateText(LocalDay day);            // "yyyy-MM-dd"

// A time of day "HH:MM", "H:MM", "HH:MM:SS", or the time part of a stored
// date-time (older files keep times on 30 December 1899). Seconds are kept.
std::optional<std::chrono::seconds> parseTimeOfDayText(const QString& text);

// The wall-clock reading of a QDateTime, in whatever zone it carries.
LocalDateTime fromQDateTime(const QDateTime& when);
LocalDay fromQDate(QDate date);
QDate toQDate(LocalDay day);
QTime toQTime(std::chrono::seconds timeOfDay);

// English day and month names; lookups ignore case and surrounding spaces.
QString dayName(int weekdayNumber);  // 1 = "Monday"
QString monthName(unsigned month);   // 1 = "January"
std::optional<int> weekdayFromName(const QString& name);
std::optional<unsigned> monthFromName(const QString& name);

}  // namespace qv::schedule
