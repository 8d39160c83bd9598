// The listing's one-line descriptions, line by line of the description table.

#include "schedule/description.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::schedule::test {
namespace {

ScheduleRow fixedAt(const char* time, const char* startdate) {
    ScheduleRow row;
    row.startdate = QString::fromLatin1(startdate);
    row.starttime = QString::fromLatin1(time);
    row.hours = QStringLiteral("00:00");
    return row;
}

ScheduleRow sunRelative(const char* offset, bool before, bool sunset) {
    ScheduleRow row;
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

ScheduleRow with(ScheduleRow row, const std::function<void(ScheduleRow&)>& change) {
    change(row);
    return row;
}

class Description : public ::testing::TestWithParam<DescriptionCase> {};
TEST_P(Description, Text) {
    EXPECT_EQ(describeSchedule(GetParam().row), QString::fromUtf8(GetParam().expected));
}

const ScheduleRow kFixed = fixedAt("18:30", "2026-12-05 18:30:00");

INSTANTIATE_TEST_SUITE_P(
    Table, Description,
    ::testing::Values(
        DescriptionCase{"EveryDay",
                        with(kFixed,
                             [](ScheduleRow& r) {
                                 r.RecurringDaily = true;
                                 r.D1_EveryXdays = 1;
                             }),
                        "Every day at 18:30:00- effective 05/12/2026 18:30:00"},
        DescriptionCase{"EveryNDays",
                        with(kFixed,
                             [](ScheduleRow& r) {
                                 r.RecurringDaily = true;
                                 r.D1_EveryXdays = 3;
                             }),
                        "Every 3 days at 18:30:00- effective 05/12/2026 18:30:00"},
        DescriptionCase{"EveryWeekday",
                        with(kFixed,
                             [](ScheduleRow& r) {
                                 r.RecurringDaily = true;
                                 r.D1_EveryXdays = 0;
                                 r.D2_EveryWeekDay = true;
                             }),
                        "Every weekday at 18:30:00- effective 05/12/2026 18:30:00"},
        DescriptionCase{"EveryWeekendDay",
                        with(kFixed,
                             [](ScheduleRow& r) {
                                 r.RecurringDaily = true;
                                 r.D3_EveryWeekEndDay = true;
                             }),
                        "Every Saturday and Sunday at 18:30:00- effective 05/12/2026 18:30:00"},
        DescriptionCase{
            "Weekly",
            with(kFixed,
                 [](ScheduleRow& r) {
                     r.RecurringWeekly = true;
                     r.W_EveryXweeks = 2;
                     r.weekDays = {true, false, true, false, false, false, true};
                 }),
            "Every 2 week(s) on Monday Wednesday Sunday  at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"MonthlyDay",
                        with(kFixed,
                             [](ScheduleRow& r) {
                                 r.RecurringMonthly = true;
                                 r.M1_EveryWhatDay = 31;
                                 r.M1_OfEveryXmonths = 1;
                             }),
                        "Day 31 of every 1 months at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"MonthlyNth",
                        with(kFixed,
                             [](ScheduleRow& r) {
                                 r.RecurringMonthly = true;
                                 r.M1_EveryWhatDay = 0;
                                 r.M2_TheWhatDay = QStringLiteral("Last");
                                 r.M2_OfEveryWhatDay = QStringLiteral("Friday");
                                 r.M2_OfEveryXmonths = 2;
                             }),
                        "The Last Friday of every 2 months at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"YearlyDay",
                        with(kFixed,
                             [](ScheduleRow& r) {
                                 r.RecurringYearly = true;
                                 r.Y1_EverywhatDay = 25;
                                 r.Y1_OfEveryNameofMonth = QStringLiteral("December");
                             }),
                        "Every December 25 at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"YearlyNth",
                        with(kFixed,
                             [](ScheduleRow& r) {
                                 r.RecurringYearly = true;
                                 r.Y2_TheFirstSecondThirdFourthLast = QStringLiteral("First");
                                 r.Y2_DayOfWeek = QStringLiteral("Monday");
                                 r.Y2_OfEveryNameofMonth = QStringLiteral("May");
                             }),
                        "The First Monday of May at 18:30:00, effective 05/12/2026 18:30:00"},
        DescriptionCase{"OnceAtMidnightHasNoTimeInItsDate", fixedAt("00:00", "2026-12-05 00:00:00"),
                        "Once only on 05/12/2026 at 00:00:00"},
        DescriptionCase{"SunBeforeSunsetWithMinutes",
                        with(sunRelative("01:30", true, true),
                             [](ScheduleRow& r) {
                                 r.RecurringDaily = true;
                                 r.D1_EveryXdays = 1;
                             }),
                        "Every day at 01hrs & 30mins before sunset - effective 05/12/2026 14:07:33"},
        DescriptionCase{"SunAfterSunriseWholeHours",
                        with(sunRelative("02:00", false, false),
                             [](ScheduleRow& r) {
                                 r.RecurringWeekly = true;
                                 r.W_EveryXweeks = 1;
                                 r.weekDays[4] = true;
                             }),
                        "Every 1 week(s) on Friday  at 02hrs after sunrise , effective 05/12/2026 14:07:33"},
        DescriptionCase{"SunAfterSunsetOnce", sunRelative("00:45", false, true),
                        "Once only on 05/12/2026 14:07:33 at 00hrs & 45mins after sunset "},
        DescriptionCase{"SunBeforeSunriseOnce", sunRelative("10:05", true, false),
                        "Once only on 05/12/2026 14:07:33 at 10hrs & 05mins before sunrise "},
        // A recurrence flag without a matching rule gives nothing.
        DescriptionCase{"FlagWithoutRule", with(kFixed, [](ScheduleRow& r) { r.RecurringYearly = true; }),
                        ""}),
    [](const ::testing::TestParamInfo<DescriptionCase>& info) { return std::string(info.param.name); });

TEST(DescriptionParts, BadStoredValuesAreShownAsStored) {
    ScheduleRow row = fixedAt("half past", "someday");
    EXPECT_EQ(describeSchedule(row), QStringLiteral("Once only on someday at half past"));
}

}  // namespace
}  // namespace qv::schedule::test
