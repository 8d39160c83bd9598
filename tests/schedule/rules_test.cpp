// The recurrence rules on the cases their users rely on: month ends, leap
// years, year ends and the rules' own turns.

#include "schedule/rules.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::schedule::test {
namespace {

using std::chrono::hours;
using std::chrono::minutes;

const TimeOfDay kSun = std::nullopt;  // sun-relative: no fixed start time
TimeOfDay fixed(int h, int m) {
    return hours(h) + minutes(m);
}

const std::optional<QString> kNone = std::nullopt;
std::optional<QString> on(const char* date) {
    return QString::fromLatin1(date);
}

TEST(OneOffRule, RowOnlyWhenFromIsNotLaterThanTheMoment) {
    const LocalDateTime start = ldt("2026-03-10 14:30:00");
    EXPECT_EQ(dayText(nextSpecificDate(start, fixed(14, 30), ldt("2026-03-10 14:30:00"))), on("2026-03-10"));
    EXPECT_EQ(dayText(nextSpecificDate(start, fixed(14, 30), ldt("2026-03-10 14:31:00"))), kNone);
    EXPECT_EQ(dayText(nextSpecificDate(start, fixed(14, 30), ldt("2026-03-10 00:00:00"))), on("2026-03-10"));
    // Sun-relative one-offs count from the day's 00:00, whatever the picker's time.
    EXPECT_EQ(dayText(nextSpecificDate(ldt("2026-03-10 14:30:00"), kSun, ldt("2026-03-10 00:00:00"))),
              on("2026-03-10"));
    EXPECT_EQ(dayText(nextSpecificDate(ldt("2026-03-10 14:30:00"), kSun, ldt("2026-03-10 00:01:00"))), kNone);
}

struct XDaysCase {
    const char* start;
    int n;
    const char* from;
    const char* expected;
};

void PrintTo(const XDaysCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.start, row.n, row.from);
}

class EveryXDays : public ::testing::TestWithParam<XDaysCase> {};

TEST_P(EveryXDays, NextOccurrence) {
    const XDaysCase& c = GetParam();
    const LocalDateTime start = ldt(c.start);  // fixed time: startdate carries it
    EXPECT_EQ(dayText(nextEveryXDays(start, timeOfDay(start), c.n, ldt(c.from))), on(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, EveryXDays,
                         ::testing::Values(
                             // Fixed time already past today, rebuilt from 00:00: still today's.
                             XDaysCase{"2025-11-01 08:00:00", 1, "2026-01-05 00:00:00", "2026-01-05"},
                             // On the start day itself the answer is that day, even after its time.
                             XDaysCase{"2026-01-05 09:00:00", 3, "2026-01-05 23:00:00", "2026-01-05"},
                             // Exactly on an occurrence's moment counts.
                             XDaysCase{"2026-01-01 06:00:00", 2, "2026-01-03 06:00:00", "2026-01-03"},
                             XDaysCase{"2026-01-01 06:00:00", 2, "2026-01-03 06:00:01", "2026-01-05"}));

struct DayCase {
    const char* start;
    const char* from;
    std::optional<QString> expected;
};

void PrintTo(const DayCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.start, row.from);
}

class EveryWeekDay : public ::testing::TestWithParam<DayCase> {};
TEST_P(EveryWeekDay, NextOccurrence) {
    EXPECT_EQ(dayText(nextEveryWeekDay(ldt(GetParam().start), ldt(GetParam().from))), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(Cases, EveryWeekDay,
                         ::testing::Values(
                             // Time of day is not looked at: earlier today stays today.
                             DayCase{"2025-01-01 07:00:00", "2026-01-02 23:00:00", on("2026-01-02")},
                             // A start after from counts from the start day (a Saturday).
                             DayCase{"2026-01-10 07:00:00", "2026-01-05 00:00:00", on("2026-01-12")}));

class EveryWeekEndDay : public ::testing::TestWithParam<DayCase> {};
TEST_P(EveryWeekEndDay, NextOccurrence) {
    EXPECT_EQ(dayText(nextEveryWeekEndDay(ldt(GetParam().start), ldt(GetParam().from))), GetParam().expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, EveryWeekEndDay,
    ::testing::Values(
        // Created on Saturday 3 January 2026 for 18:00: Saturday's 00:00 rebuild gives nothing ...
        DayCase{"2026-01-03 18:00:00", "2026-01-03 00:00:00", kNone},
        // ... and Sunday's gives Sunday.
        DayCase{"2026-01-03 18:00:00", "2026-01-04 00:00:00", on("2026-01-04")},
        // A start on a later Wednesday moves to the Saturday after it.
        DayCase{"2026-01-07 18:00:00", "2026-01-05 00:00:00", on("2026-01-10")}));

struct WeeksCase {
    const char* start;
    TimeOfDay time;
    int x;
    const char* days;  // Monday..Sunday as 0/1
    const char* from;
    std::optional<QString> expected;
};

void PrintTo(const WeeksCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.start, row.x, row.days, row.from);
}

WeekDays weekDays(const char* flags) {
    WeekDays days{};
    for (std::size_t i = 0; i < 7; ++i) days[i] = flags[i] == '1';
    return days;
}

class EveryXWeeks : public ::testing::TestWithParam<WeeksCase> {};
TEST_P(EveryXWeeks, NextOccurrence) {
    const WeeksCase& c = GetParam();
    EXPECT_EQ(dayText(nextEveryXWeeks(ldt(c.start), c.time, c.x, weekDays(c.days), ldt(c.from))), c.expected);
}
INSTANTIATE_TEST_SUITE_P(
    Cases, EveryXWeeks,
    ::testing::Values(
        // Every 2 weeks on Monday from Monday 1 June 2026: at 00:00 of an active Monday, that day.
        WeeksCase{"2026-06-01 09:00:00", fixed(9, 0), 2, "1000000", "2026-06-29 00:00:00", on("2026-06-29")},
        // Only two active weeks are looked at: every week on Monday, started on a
        // Wednesday, seen from a Wednesday two weeks on, finds nothing.
        WeeksCase{"2026-06-03 09:00:00", fixed(9, 0), 1, "1000000", "2026-06-17 00:00:00", kNone},
        // ... but the next day it finds the coming Monday.
        WeeksCase{"2026-06-03 09:00:00", fixed(9, 0), 1, "1000000", "2026-06-18 00:00:00", on("2026-06-22")},
        // Sun-relative: the day counts from its 00:00.
        WeeksCase{"2026-06-01 15:00:00", kSun, 1, "0010000", "2026-06-03 00:00:00", on("2026-06-03")},
        // A start after from is scanned from the Monday of its own week.
        WeeksCase{"2026-06-10 09:00:00", fixed(9, 0), 3, "1000001", "2026-06-01 00:00:00",
                  on("2026-06-08")}));

struct MonthDayCase {
    const char* start;
    int n;
    int x;
    const char* from;
    const char* expected;
};

void PrintTo(const MonthDayCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.start, row.n, row.x, row.from);
}

class DayOfEveryXMonths : public ::testing::TestWithParam<MonthDayCase> {};
TEST_P(DayOfEveryXMonths, NextOccurrence) {
    const MonthDayCase& c = GetParam();
    EXPECT_EQ(dayText(nextDayOfEveryXMonths(ldt(c.start), c.n, c.x, ldt(c.from))), on(c.expected));
}
INSTANTIATE_TEST_SUITE_P(Cases, DayOfEveryXMonths,
                         ::testing::Values(
                             // Day 31 of every month from 31 January: 31 Jan, 28 Feb, then the 28th.
                             MonthDayCase{"2026-01-31 08:00:00", 31, 1, "2026-01-31 00:00:00", "2026-01-31"},
                             MonthDayCase{"2026-01-31 08:00:00", 31, 1, "2026-02-01 00:00:00", "2026-02-28"},
                             MonthDayCase{"2026-01-31 08:00:00", 31, 1, "2026-03-01 00:00:00", "2026-03-28"},
                             // In a leap year the clamp stops at the 29th.
                             MonthDayCase{"2028-01-31 08:00:00", 31, 1, "2028-03-01 00:00:00", "2028-03-29"},
                             // Day 31 counted from April runs on to 1 May, then stays on the 1st.
                             MonthDayCase{"2026-04-10 08:00:00", 31, 1, "2026-04-10 00:00:00", "2026-05-01"},
                             MonthDayCase{"2026-04-10 08:00:00", 31, 1, "2026-05-02 00:00:00",
                                          "2026-06-01"}));

struct NthCase {
    const char* start;
    Ordinal ordinal;
    int weekday;
    int x;
    const char* from;
    const char* expected;
};

void PrintTo(const NthCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.start, row.ordinal, row.weekday, row.x, row.from);
}

class NthWeekdayOfEveryXMonths : public ::testing::TestWithParam<NthCase> {};
TEST_P(NthWeekdayOfEveryXMonths, NextOccurrence) {
    const NthCase& c = GetParam();
    EXPECT_EQ(dayText(nextNthWeekdayOfEveryXMonths(ldt(c.start), c.ordinal, c.weekday, c.x, ldt(c.from))),
              on(c.expected));
}
INSTANTIATE_TEST_SUITE_P(
    Cases, NthWeekdayOfEveryXMonths,
    ::testing::Values(
        // The last Friday of May 2026 (five Fridays) is the fifth, 29 May.
        NthCase{"2026-05-01 09:00:00", Ordinal::Last, 5, 1, "2026-05-01 00:00:00", "2026-05-29"},
        // Sun-relative with a start at midnight: from 00:00 of the day is not
        // earlier than the occurrence, so the next active month.
        NthCase{"2026-01-01 00:00:00", Ordinal::Second, 1, 1, "2026-01-12 00:00:00", "2026-02-09"},
        // A start in a later month: that month's, even before the start day.
        NthCase{"2026-03-20 09:00:00", Ordinal::First, 1, 1, "2026-01-05 00:00:00", "2026-03-02"},
        // An ordinal word the rule does not know leaves the first.
        NthCase{"2026-01-01 09:00:00", Ordinal::Other, 4, 1, "2026-01-01 00:00:00", "2026-01-01"}));

struct YearlyDayCase {
    const char* start;
    TimeOfDay time;
    int n;
    unsigned month;
    const char* from;
    const char* expected;
};

void PrintTo(const YearlyDayCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.start, row.time ? "fixed" : "sun", row.n, row.month, row.from);
}

class DayOfNamedMonth : public ::testing::TestWithParam<YearlyDayCase> {};
TEST_P(DayOfNamedMonth, NextOccurrence) {
    const YearlyDayCase& c = GetParam();
    EXPECT_EQ(dayText(nextDayOfNamedMonth(ldt(c.start), c.time, c.n, c.month, ldt(c.from))), on(c.expected));
}
INSTANTIATE_TEST_SUITE_P(
    Cases, DayOfNamedMonth,
    ::testing::Values(
        // Sun-relative, rebuilt at 00:00 of that very day: next year's.
        YearlyDayCase{"2020-01-01 12:00:00", kSun, 25, 12, "2026-12-25 00:00:00", "2027-12-25"},
        // A fixed time later that day: this year's.
        YearlyDayCase{"2020-01-01 12:00:00", fixed(7, 0), 25, 12, "2026-12-25 00:00:00", "2026-12-25"},
        // 29 February in a year without one runs on to 1 March ...
        YearlyDayCase{"2020-01-01 12:00:00", fixed(7, 0), 29, 2, "2026-01-05 00:00:00", "2026-03-01"},
        // ... and in a leap year is the 29th.
        YearlyDayCase{"2020-01-01 12:00:00", fixed(7, 0), 29, 2, "2028-01-05 00:00:00", "2028-02-29"},
        // Passed in a leap year: a year on, clamped to the 28th.
        YearlyDayCase{"2020-01-01 12:00:00", fixed(7, 0), 29, 2, "2028-03-01 00:00:00", "2029-02-28"},
        // Year end: 31 December seen on 31 December after its time.
        YearlyDayCase{"2020-01-01 12:00:00", fixed(7, 0), 31, 12, "2026-12-31 07:00:00", "2027-12-31"}));

struct YearlyNthCase {
    const char* start;
    TimeOfDay time;
    Ordinal ordinal;
    int weekday;
    unsigned month;
    const char* from;
    const char* expected;
};

void PrintTo(const YearlyNthCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.start, row.ordinal, row.weekday, row.month, row.from);
}

class NthWeekdayOfNamedMonth : public ::testing::TestWithParam<YearlyNthCase> {};
TEST_P(NthWeekdayOfNamedMonth, NextOccurrence) {
    const YearlyNthCase& c = GetParam();
    EXPECT_EQ(
        dayText(nextNthWeekdayOfNamedMonth(ldt(c.start), c.time, c.ordinal, c.weekday, c.month, ldt(c.from))),
        on(c.expected));
}
INSTANTIATE_TEST_SUITE_P(Cases, NthWeekdayOfNamedMonth,
                         ::testing::Values(
                             // Passed: next year's (last Monday of December 2026 is the 28th).
                             YearlyNthCase{"2020-01-01 12:00:00", fixed(9, 0), Ordinal::Last, 1, 12,
                                           "2026-12-28 09:00:00", "2027-12-27"},
                             YearlyNthCase{"2020-01-01 12:00:00", fixed(9, 0), Ordinal::Last, 1, 12,
                                           "2026-12-28 08:59:00", "2026-12-28"},
                             // Sun-relative on its own day at 00:00: next year.
                             YearlyNthCase{"2020-01-01 12:00:00", kSun, Ordinal::First, 5, 5,
                                           "2026-05-01 00:00:00", "2027-05-07"}));

TEST(EffectiveReference, MovesToTheStartDayKeepingFromsTime) {
    EXPECT_EQ(effectiveReference(ldt("2026-02-10 18:00:00"), ldt("2026-02-01 07:30:00")),
              ldt("2026-02-10 07:30:00"));
    EXPECT_EQ(effectiveReference(ldt("2026-02-01 18:00:00"), ldt("2026-02-01 07:30:00")),
              ldt("2026-02-01 07:30:00"));
    EXPECT_EQ(effectiveReference(ldt("2026-01-01 18:00:00"), ldt("2026-02-01 07:30:00")),
              ldt("2026-02-01 07:30:00"));
}

TEST(OrdinalWords, KnownWordsInAnyCaseOthersAreOther) {
    EXPECT_EQ(ordinalFromWord(QStringLiteral("Last")), Ordinal::Last);
    EXPECT_EQ(ordinalFromWord(QStringLiteral(" second ")), Ordinal::Second);
    EXPECT_EQ(ordinalFromWord(QStringLiteral("Fifth")), Ordinal::Other);
    EXPECT_EQ(ordinalFromWord(QString()), Ordinal::Other);
}

}  // namespace
}  // namespace qv::schedule::test
