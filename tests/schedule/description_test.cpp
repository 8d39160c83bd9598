// The listing's one-line descriptions, line by line of the description table.

#include "schedule/description.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::schedule::test {
namespace {

ScheduleRow fixedAt(const char* time, const char* startdate, ScheduleRow row = {}) {
    row.startdate = QString::fromLatin1(startdate);
    row.starttime = QString::fromLatin1(time);
    row.hours = QStringLiteral("00:00");
    return row;
}

// The rule's fields at 18:30 from 5 December 2026.
ScheduleRow fixed(const ScheduleRow& rule) {
    return fixedAt("18:30", "2026-12-05 18:30:00", rule);
}

ScheduleRow sunRelative(const char* offset, bool before, bool sunset, ScheduleRow row = {}) {
    row.startdate = QStringLiteral("2026-12-05 14:07:33");
    row.hours = QString::fromLatin1(offset);
    row.before = before;
    row.Sunset = sunset;
    return row;
}

struct DescriptionCase {
    const char* name;
    ScheduleRow row;
    const char* expected;
};

void PrintTo(const DescriptionCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.name);
}

class Description : public ::testing::TestWithParam<DescriptionCase> {};
TEST_P(Description, Text) {
    EXPECT_EQ(describeSchedule(GetParam().row), QString::fromUtf8(GetParam().expected));
}

// The rows name only the fields their rule uses; every other field keeps its default.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
INSTANTIATE_TEST_SUITE_P(
    Table, Description,
    ::testing::Values(
        DescriptionCase{"EveryDay", fixed({.RecurringDaily = true, .D1_EveryXdays = 1}),
                        "Every day at 18:30:00- effective 05/12/2026 18:30:00"},
        DescriptionCase{"EveryNDays", fixed({.RecurringDaily = true, .D1_EveryXdays = 3}),
                        "Every 3 days at 18:30:00- effective 05/12/2026 18:30:00"},
        DescriptionCase{"EveryWeekday",
                        fixed({.RecurringDaily = true, .D1_EveryXdays = 0, .D2_EveryWeekDay = true}),
                        "Every weekday at 18:30:00- effective 05/12/2026 18:30:00"},
        DescriptionCase{"EveryWeekendDay", fixed({.RecurringDaily = true, .D3_EveryWeekEndDay = true}),
                        "Every Saturday and Sunday at 18:30:00- effective 05/12/2026 18:30:00"},
        DescriptionCase{
            "Weekly",
            fixed({.RecurringWeekly = true,
                   .W_EveryXweeks = 2,
                   .weekDays = {true, false, true, false, false, false, true}}),
            "Every 2 week(s) on Monday Wednesday Sunday  at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"MonthlyDay",
                        fixed({.RecurringMonthly = true, .M1_EveryWhatDay = 31, .M1_OfEveryXmonths = 1}),
                        "Day 31 of every 1 months at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"MonthlyNth",
                        fixed({.RecurringMonthly = true,
                               .M1_EveryWhatDay = 0,
                               .M2_TheWhatDay = "Last",
                               .M2_OfEveryWhatDay = "Friday",
                               .M2_OfEveryXmonths = 2}),
                        "The Last Friday of every 2 months at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{
            "YearlyDay",
            fixed({.RecurringYearly = true, .Y1_EverywhatDay = 25, .Y1_OfEveryNameofMonth = "December"}),
            "Every December 25 at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"YearlyNth",
                        fixed({.RecurringYearly = true,
                               .Y2_TheFirstSecondThirdFourthLast = "First",
                               .Y2_DayOfWeek = "Monday",
                               .Y2_OfEveryNameofMonth = "May"}),
                        "The First Monday of May at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"OnceAtMidnightHasNoTimeInItsDate", fixedAt("00:00", "2026-12-05 00:00:00"),
                        "Once only on 05/12/2026 at 00:00:00"},
        DescriptionCase{"SunBeforeSunsetWithMinutes",
                        sunRelative("01:30", true, true, {.RecurringDaily = true, .D1_EveryXdays = 1}),
                        "Every day at 01hrs & 30mins before sunset - effective 05/12/2026 14:07:33"},
        DescriptionCase{"SunAfterSunriseWholeHours",
                        sunRelative("02:00", false, false,
                                    {.RecurringWeekly = true,
                                     .W_EveryXweeks = 1,
                                     .weekDays = {false, false, false, false, true, false, false}}),
                        "Every 1 week(s) on Friday  at 02hrs after sunrise , effective 05/12/2026 14:07:33"},
        DescriptionCase{"SunAfterSunsetOnce", sunRelative("00:45", false, true),
                        "Once only on 05/12/2026 14:07:33 at 00hrs & 45mins after sunset "},
        DescriptionCase{"SunBeforeSunriseOnce", sunRelative("10:05", true, false),
                        "Once only on 05/12/2026 14:07:33 at 10hrs & 05mins before sunrise "},
        // A recurrence flag without a matching rule gives nothing.
        DescriptionCase{"FlagWithoutRule", fixed({.RecurringYearly = true}), ""},
        DescriptionCase{"BadStoredValuesAreShownAsStored", fixedAt("half past", "someday"),
                        "Once only on someday at half past"}),
    [](const ::testing::TestParamInfo<DescriptionCase>& info) { return std::string(info.param.name); });
#pragma GCC diagnostic pop

}  // namespace
}  // namespace qv::schedule::test
