// Rebuilding the workspace in a real main database.

#include "schedule/workspace.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::schedule::test {
namespace {

class WorkspaceTest : public MainDbTest {
protected:
    void SetUp() override {
        MainDbTest::SetUp();
        macro = addMacro(QStringLiteral("Lights"));
        workspace.emplace(*db, monitor, clock, sun);
    }

    ScheduleWorkspace::Rebuild rebuild(const char* from) {
        return workspace->CalcNextDateTimeforThisSchedule(ldt(from));
    }

    int warnings(const QString& containing) {
        return monitor.count([&](const store::MonitorRecord& r) {
            return r.MsgType == QLatin1String("Warning **") && r.comment.contains(containing);
        });
    }

    ManualClock clock;
    FixedSun sun;
    std::optional<ScheduleWorkspace> workspace;
    int macro = 0;
};

TEST_F(WorkspaceTest, EveryRuleKindGetsItsRowAndDisabledOnesToo) {
    const int once = addSchedule(macro, {{"startdate", "2026-01-06 07:15:00"}, {"starttime", "07:15"}});
    const int daily = scheduleAt(macro, "2026-01-01 08:00:00", {{"RecurringDaily", 1}, {"D1_EveryXdays", 2}});
    const int weekday = addSchedule(macro, {{"RecurringDaily", 1}, {"D2_EveryWeekDay", 1}, {"Disabled", 1}});
    const int weekend = addSchedule(macro, {{"RecurringDaily", 1}, {"D3_EveryWeekEndDay", 1}});
    const int weekly = addSchedule(macro, {{"RecurringWeekly", 1}, {"W_EveryXweeks", 1}, {"W_Thurs", 1}});
    const int monthly =
        addSchedule(macro, {{"RecurringMonthly", 1}, {"M1_EveryWhatDay", 31}, {"M1_OfEveryXmonths", 1}});
    const int nth = addSchedule(macro, {{"RecurringMonthly", 1},
                                        {"M2_TheWhatDay", "Last"},
                                        {"M2_OfEveryWhatDay", "Friday"},
                                        {"M2_OfEveryXmonths", 1}});
    const int yearly = addSchedule(
        macro, {{"RecurringYearly", 1}, {"Y1_EverywhatDay", 14}, {"Y1_OfEveryNameofMonth", "February"}});
    // Sun-relative: 1 h 30 before sunset (17:42) is 16:12.
    const int sunny = addSchedule(macro, {{"RecurringYearly", 1},
                                          {"Y2_TheFirstSecondThirdFourthLast", "Second"},
                                          {"Y2_DayOfWeek", "Tuesday"},
                                          {"Y2_OfEveryNameofMonth", "january"},
                                          {"starttime", QVariant()},
                                          {"hours", "01:30"},
                                          {"before", 1},
                                          {"Sunset", 1}});

    const auto result = rebuild("2026-01-05 00:00:00");  // a Monday
    EXPECT_EQ(result.rows, 9);
    EXPECT_EQ(result.skipped, 0);
    EXPECT_EQ(workspaceRows(), (QStringList{QStringLiteral("%1 2026-01-05 08:00:00").arg(daily),
                                            QStringLiteral("%1 2026-01-05 10:00:00").arg(weekday),
                                            QStringLiteral("%1 2026-01-06 07:15:00").arg(once),
                                            QStringLiteral("%1 2026-01-08 10:00:00").arg(weekly),
                                            QStringLiteral("%1 2026-01-10 10:00:00").arg(weekend),
                                            QStringLiteral("%1 2026-01-13 16:12:00").arg(sunny),
                                            QStringLiteral("%1 2026-01-30 10:00:00").arg(nth),
                                            QStringLiteral("%1 2026-01-31 10:00:00").arg(monthly),
                                            QStringLiteral("%1 2026-02-14 10:00:00").arg(yearly)}));
    // The Macro column is never written.
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM ScheduleWorkspace WHERE Macro IS NOT NULL")).toInt(), 0);
}

TEST_F(WorkspaceTest, ARebuildReplacesTheRowsAndDropsPassedOneOffs) {
    const int once = addSchedule(macro, {{"startdate", "2026-01-05 07:15:00"}, {"starttime", "07:15"}});
    rebuild("2026-01-05 00:00:00");
    EXPECT_EQ(workspaceRows(), QStringList{QStringLiteral("%1 2026-01-05 07:15:00").arg(once)});
    rebuild("2026-01-05 07:16:00");
    EXPECT_TRUE(workspaceRows().isEmpty());
}

TEST_F(WorkspaceTest, ASunRelativeDailyScheduleKeepsTodayAfterTheTimeItWasCreatedAt) {
    // Made at 12:00 (the picker's time is stored), 1 h after sunset: 18:42.
    const auto sunset = [&](int everyXdays, const char* startdate) {
        return addSchedule(macro, {{"RecurringDaily", 1},
                                   {"D1_EveryXdays", everyXdays},
                                   {"startdate", startdate},
                                   {"starttime", QVariant()},
                                   {"hours", "01:00"},
                                   {"Sunset", 1}});
    };
    const int daily = sunset(1, "2026-01-01 12:00:00");
    const int third = sunset(3, "2026-01-02 12:00:00");
    rebuild("2026-01-05 13:00:00");
    EXPECT_EQ(workspaceRows(), (QStringList{QStringLiteral("%1 2026-01-05 18:42:00").arg(daily),
                                            QStringLiteral("%1 2026-01-05 18:42:00").arg(third)}));
}

TEST_F(WorkspaceTest, StoredYesNoConventionsOfOlderFilesSelectTheRightRules) {
    // Yes as -1 and "True", no as NULL: an all-NULL row is a one-off.
    const int old =
        addSchedule(macro, {{"RecurringDaily", -1}, {"D1_EveryXdays", "1"}, {"starttime", "06:00"}});
    const int text =
        addSchedule(macro, {{"RecurringDaily", "True"}, {"D2_EveryWeekDay", "True"}, {"starttime", "06:30"}});
    const int nulls = scheduleAt(macro, "2026-01-07 09:00:00",
                                 {{"RecurringDaily", QVariant()},
                                  {"RecurringWeekly", QVariant()},
                                  {"RecurringMonthly", QVariant()},
                                  {"RecurringYearly", QVariant()}});
    rebuild("2026-01-05 00:00:00");
    EXPECT_EQ(workspaceRows(), (QStringList{QStringLiteral("%1 2026-01-05 06:00:00").arg(old),
                                            QStringLiteral("%1 2026-01-05 06:30:00").arg(text),
                                            QStringLiteral("%1 2026-01-07 09:00:00").arg(nulls)}));
}

TEST_F(WorkspaceTest, ARowMatchingTwoRulesGetsTwoRows) {
    const int both = scheduleAt(macro, "2026-01-01 10:00:00",
                                {{"RecurringDaily", 1}, {"D1_EveryXdays", 10}, {"D2_EveryWeekDay", 1}});
    rebuild("2026-01-05 00:00:00");
    EXPECT_EQ(workspaceRows(), (QStringList{QStringLiteral("%1 2026-01-05 10:00:00").arg(both),
                                            QStringLiteral("%1 2026-01-11 10:00:00").arg(both)}));
}

TEST_F(WorkspaceTest, TwoWeeklySchedulesAreEachSearchedOverTheWholeWeek) {
    const int first = addSchedule(macro, {{"RecurringWeekly", 1}, {"W_EveryXweeks", 1}, {"W_Mon", 1}});
    const int second = addSchedule(macro, {{"RecurringWeekly", 1}, {"W_EveryXweeks", 1}, {"W_Sun", 1}});
    rebuild("2026-01-06 00:00:00");  // Tuesday: the first goes to next Monday
    EXPECT_EQ(workspaceRows(), (QStringList{QStringLiteral("%1 2026-01-11 10:00:00").arg(second),
                                            QStringLiteral("%1 2026-01-12 10:00:00").arg(first)}));
}

struct BadField {
    const char* name;
    Fields fields;
    const char* field;
};

void PrintTo(const BadField& row, std::ostream* os) {
    *os << qv::test::caseName(row.name);
}

class BadFields : public WorkspaceTest, public ::testing::WithParamInterface<BadField> {};

TEST_P(BadFields, FailOnlyTheirScheduleWithOneWarning) {
    const int before = addSchedule(macro, {{"starttime", "06:00"}, {"startdate", "2026-01-05 06:00:00"}});
    const int bad = addSchedule(macro, GetParam().fields);
    const int after =
        addSchedule(macro, {{"RecurringDaily", 1}, {"D1_EveryXdays", 1}, {"starttime", "23:00"}});

    const auto result = rebuild("2026-01-05 00:00:00");
    EXPECT_EQ(result.skipped, 1);
    EXPECT_EQ(workspaceRows(), (QStringList{QStringLiteral("%1 2026-01-05 06:00:00").arg(before),
                                            QStringLiteral("%1 2026-01-05 23:00:00").arg(after)}));
    const QString naming = QStringLiteral("Schedule %1 ").arg(bad);
    EXPECT_EQ(warnings(naming), 1);
    EXPECT_EQ(warnings(QString::fromLatin1(GetParam().field)), 1);

    // The listing rebuilds every minute: the same problem is reported once.
    rebuild("2026-01-05 00:01:00");
    EXPECT_EQ(warnings(naming), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadFields,
    ::testing::Values(
        BadField{"UnknownMonth",
                 {{"RecurringYearly", 1}, {"Y1_EverywhatDay", 3}, {"Y1_OfEveryNameofMonth", "Smarch"}},
                 "Y1_OfEveryNameofMonth"},
        BadField{"UnknownDay",
                 {{"RecurringMonthly", 1},
                  {"M2_TheWhatDay", "First"},
                  {"M2_OfEveryWhatDay", "Funday"},
                  {"M2_OfEveryXmonths", 1}},
                 "M2_OfEveryWhatDay"},
        BadField{"TextInNumber", {{"RecurringDaily", 1}, {"D1_EveryXdays", "abc"}}, "D1_EveryXdays"},
        // A count below one would never end the search.
        BadField{
            "NegativeWeeks", {{"RecurringWeekly", 1}, {"W_EveryXweeks", -2}, {"W_Mon", 1}}, "W_EveryXweeks"},
        BadField{"ZeroMonthsNthWeekday",
                 {{"RecurringMonthly", 1},
                  {"M2_TheWhatDay", "Last"},
                  {"M2_OfEveryWhatDay", "Monday"},
                  {"M2_OfEveryXmonths", 0}},
                 "M2_OfEveryXmonths"},
        BadField{"DayPastAnyMonth",
                 {{"RecurringMonthly", 1}, {"M1_EveryWhatDay", 45}, {"M1_OfEveryXmonths", 1}},
                 "M1_EveryWhatDay"},
        BadField{"NotADate", {{"startdate", "next Tuesday"}}, "startdate"},
        BadField{"NotATime", {{"starttime", "25:99"}}, "starttime"},
        BadField{"NotAnOffset", {{"starttime", QVariant()}, {"hours", "soon"}}, "hours"}),
    [](const ::testing::TestParamInfo<BadField>& info) { return std::string(info.param.name); });

TEST_F(WorkspaceTest, ADatabaseErrorRollsTheWholeRebuildBack) {
    addSchedule(macro, {{"RecurringDaily", 1}, {"D1_EveryXdays", 1}, {"starttime", "06:00"}});
    const int second =
        addSchedule(macro, {{"RecurringDaily", 1}, {"D1_EveryXdays", 1}, {"starttime", "07:00"}});
    rebuild("2026-01-05 00:00:00");
    const QStringList before = workspaceRows();
    ASSERT_EQ(before.size(), 2);

    db->exec(
        QStringLiteral("CREATE TRIGGER fail BEFORE INSERT ON ScheduleWorkspace WHEN NEW.Scheduler_ID = %1 "
                       "BEGIN SELECT RAISE(ABORT, 'disk full'); END")
            .arg(second));
    EXPECT_THROW(rebuild("2026-01-06 00:00:00"), store::StoreError);
    EXPECT_EQ(workspaceRows(), before);  // not half of a new workspace
}

TEST_F(WorkspaceTest, DescriptionOnlyForSchedulesWithAWorkspaceRow) {
    const int daily = scheduleAt(macro, "2026-01-05 18:30:00", kEveryDay);
    const int passed = addSchedule(macro, {{"startdate", "2025-01-01 10:00:00"}});
    rebuild("2026-01-05 00:00:00");
    EXPECT_EQ(workspace->GetScheduleDescription(daily),
              QStringLiteral("Every day at 18:30:00- effective 05/01/2026 18:30:00"));
    EXPECT_EQ(workspace->GetScheduleDescription(passed), QString());
    EXPECT_EQ(workspace->GetScheduleDescription(9999), QString());
}

TEST_F(WorkspaceTest, TheSunIsAskedOncePerDay) {
    for (int i = 0; i < 20; ++i)
        addSchedule(
            macro,
            {{"RecurringDaily", 1}, {"D1_EveryXdays", 1}, {"starttime", QVariant()}, {"hours", "00:10"}});
    rebuild("2026-01-05 00:00:00");
    EXPECT_EQ(sun.asked, 1);
    EXPECT_EQ(workspaceRows().size(), 20);
    EXPECT_TRUE(workspaceRows().front().endsWith(QLatin1String("2026-01-05 06:20:00")));
}

}  // namespace
}  // namespace qv::schedule::test
