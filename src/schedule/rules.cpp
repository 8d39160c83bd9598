#include "schedule/rules.h"

namespace qv::schedule {

using namespace std::chrono;

namespace {

const days kWeek{7};

int monthIndex(LocalDay day) {
    const year_month_day date = ymd(day);
    return static_cast<int>(date.year()) * 12 + static_cast<int>(static_cast<unsigned>(date.month())) - 1;
}

LocalDay firstOfMonth(LocalDay day) {
    const year_month_day date = ymd(day);
    return LocalDay(date.year() / date.month() / 1);
}

// The first day on or after `day` that is the weekday (walks at most 6 days).
LocalDay firstWeekdayFrom(LocalDay day, int weekday) {
    return day + days((weekday - weekdayNumber(day) + 7) % 7);
}

bool sameMonth(LocalDay a, LocalDay b) {
    return monthIndex(a) == monthIndex(b);
}

// Monthly rule: "Last" is the fifth occurrence when it is still in the month.
LocalDay monthlyOrdinal(LocalDay firstOfItsMonth, Ordinal ordinal, int weekday) {
    const LocalDay first = firstWeekdayFrom(firstOfItsMonth, weekday);
    switch (ordinal) {
        case Ordinal::Second:
            return first + kWeek;
        case Ordinal::Third:
            return first + 2 * kWeek;
        case Ordinal::Fourth:
            return first + 3 * kWeek;
        case Ordinal::Last:
            return sameMonth(first + 4 * kWeek, first) ? first + 4 * kWeek : first + 3 * kWeek;
        case Ordinal::First:
        case Ordinal::Other:
            break;
    }
    return first;
}

// Yearly rule: the same days, with "Last" decided by whether the fifth week
// leaves the month the fourth is in.
LocalDay yearlyOrdinal(LocalDay firstOfItsMonth, Ordinal ordinal, int weekday) {
    const LocalDay first = firstWeekdayFrom(firstOfItsMonth, weekday);
    switch (ordinal) {
        case Ordinal::Second:
            return first + kWeek;
        case Ordinal::Third:
            return first + 2 * kWeek;
        case Ordinal::Fourth:
            return first + 3 * kWeek;
        case Ordinal::Last:
            return sameMonth(first + 4 * kWeek, first + 3 * kWeek) ? first + 4 * kWeek : first + 3 * kWeek;
        case Ordinal::First:
        case Ordinal::Other:
            break;
    }
    return first;
}

}  // namespace

Ordinal ordinalFromWord(const QString& word) {
    static const std::pair<const char*, Ordinal> kWords[] = {{"First", Ordinal::First},
                                                             {"Second", Ordinal::Second},
                                                             {"Third", Ordinal::Third},
                                                             {"Fourth", Ordinal::Fourth},
                                                             {"Last", Ordinal::Last}};
    const QString wanted = word.trimmed();
    for (const auto& [text, ordinal] : kWords) {
        if (wanted.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) return ordinal;
    }
    return Ordinal::Other;
}

QString ordinalWord(Ordinal ordinal) {
    switch (ordinal) {
        case Ordinal::First:
            return QStringLiteral("First");
        case Ordinal::Second:
            return QStringLiteral("Second");
        case Ordinal::Third:
            return QStringLiteral("Third");
        case Ordinal::Fourth:
            return QStringLiteral("Fourth");
        case Ordinal::Last:
            return QStringLiteral("Last");
        case Ordinal::Other:
            break;
    }
    return {};
}

LocalDateTime effectiveReference(LocalDateTime startdate, LocalDateTime from) {
    if (dayOf(startdate) > dayOf(from)) return at(dayOf(startdate), timeOfDay(from));
    return from;
}

std::optional<LocalDay> nextSpecificDate(LocalDateTime startdate, TimeOfDay starttime, LocalDateTime from) {
    const LocalDateTime occurrence = at(dayOf(startdate), starttime.value_or(seconds(0)));
    if (from <= occurrence) return dayOf(occurrence);
    return std::nullopt;
}

std::optional<LocalDay> nextEveryXDays(LocalDateTime startdate, TimeOfDay starttime, int n,
                                       LocalDateTime from) {
    // A sun-relative startdate carries the time the picker happened to show,
    // which is not the schedule's time: such a schedule compares whole days.
    if (!starttime) {
        startdate = at(dayOf(startdate), seconds(0));
        from = at(dayOf(from), seconds(0));
    }
    if (dayOf(startdate) == dayOf(from)) return dayOf(from);
    if (startdate >= from) return dayOf(startdate);
    // The first startdate + k*n days that is not earlier than from.
    const seconds period = days(n);
    const auto steps = ((from - startdate) + period - seconds(1)) / period;
    return dayOf(startdate + steps * period);
}

std::optional<LocalDay> nextEveryWeekDay(LocalDateTime startdate, LocalDateTime from) {
    const LocalDay day = dayOf(effectiveReference(startdate, from));
    switch (weekdayNumber(day)) {
        case 6:
            return day + days(2);
        case 7:
            return day + days(1);
        default:
            return day;
    }
}

std::optional<LocalDay> nextEveryWeekEndDay(LocalDateTime startdate, LocalDateTime from) {
    const LocalDateTime reference = effectiveReference(startdate, from);
    const int weekday = weekdayNumber(dayOf(reference));
    const LocalDateTime candidate = weekday >= 6 ? reference : reference + days(6 - weekday);
    if (candidate > startdate) return dayOf(candidate);
    return std::nullopt;
}

std::optional<LocalDay> nextEveryXWeeks(LocalDateTime startdate, TimeOfDay starttime, int x,
                                        const WeekDays& ticked, LocalDateTime from) {
    const LocalDay fromDay = dayOf(from);
    LocalDay start = dayOf(startdate);
    const days step = x * kWeek;
    if (start <= fromDay) {
        // Move on by whole active periods while the start lies more than a week back.
        const int behind = (fromDay - start).count();
        if (behind > 7) start += step * ((behind - 7 + step.count() - 1) / step.count());
    }
    const seconds time = starttime.value_or(seconds(0));
    const auto scan = [&](LocalDay monday) -> std::optional<LocalDay> {
        for (int i = 0; i < 7; ++i) {
            const LocalDay day = monday + days(i);
            if (ticked[static_cast<std::size_t>(i)] && at(day, time) >= from) return day;
        }
        return std::nullopt;
    };
    const LocalDay monday = mondayOf(start);
    if (auto found = scan(monday)) return found;
    return scan(monday + step);
}

std::optional<LocalDay> nextDayOfEveryXMonths(LocalDateTime startdate, int n, int x, LocalDateTime from) {
    const year_month_day startDate = ymd(dayOf(startdate));
    LocalDateTime occurrence =
        at(dayFromParts(static_cast<int>(startDate.year()), static_cast<unsigned>(startDate.month()), n),
           timeOfDay(startdate));
    // occurrence keeps startdate's time of day, so "its day is before startdate's
    // day" is "it is before startdate".
    const LocalDateTime target = std::max(from, startdate);
    while (occurrence < target) {
        // Once the day is 28 or less no month clamps it any more, so whole
        // periods can be skipped; until then each step may shorten the day.
        if (static_cast<unsigned>(ymd(dayOf(occurrence)).day()) <= 28) {
            const int behind = monthIndex(dayOf(target)) - monthIndex(dayOf(occurrence));
            const int periods = behind / x - 1;
            if (periods > 0) {
                occurrence = addMonths(occurrence, periods * x);
                continue;
            }
        }
        occurrence = addMonths(occurrence, x);
    }
    return dayOf(occurrence);
}

std::optional<LocalDay> nextNthWeekdayOfEveryXMonths(LocalDateTime startdate, Ordinal ordinal, int weekday,
                                                     int x, LocalDateTime from) {
    const LocalDay fromDay = dayOf(from);
    LocalDay month = firstOfMonth(dayOf(startdate));
    const int behind = monthIndex(fromDay) - monthIndex(month);
    if (behind > 0) month = dayOf(addMonths(LocalDateTime(month), x * ((behind + x - 1) / x)));

    const seconds time = timeOfDay(startdate);
    const LocalDay candidate = monthlyOrdinal(month, ordinal, weekday);
    if (monthIndex(candidate) > monthIndex(fromDay) || from < at(candidate, time)) return candidate;
    return monthlyOrdinal(dayOf(addMonths(LocalDateTime(month), x)), ordinal, weekday);
}

std::optional<LocalDay> nextDayOfNamedMonth(LocalDateTime startdate, TimeOfDay starttime, int n,
                                            unsigned month, LocalDateTime from) {
    const LocalDateTime reference = effectiveReference(startdate, from);
    const int year = static_cast<int>(ymd(dayOf(reference)).year());
    LocalDateTime occurrence = at(dayFromParts(year, month, n), starttime.value_or(seconds(0)));
    if (occurrence <= reference) occurrence = addYears(occurrence, 1);
    return dayOf(occurrence);
}

std::optional<LocalDay> nextNthWeekdayOfNamedMonth(LocalDateTime startdate, TimeOfDay starttime,
                                                   Ordinal ordinal, int weekday, unsigned month,
                                                   LocalDateTime from) {
    const LocalDateTime reference = effectiveReference(startdate, from);
    const int year = static_cast<int>(ymd(dayOf(reference)).year());
    const seconds time = starttime.value_or(seconds(0));
    const LocalDay thisYear = yearlyOrdinal(dayFromParts(year, month, 1), ordinal, weekday);
    if (at(thisYear, time) > reference) return thisYear;
    return yearlyOrdinal(dayFromParts(year + 1, month, 1), ordinal, weekday);
}

}  // namespace qv::schedule
