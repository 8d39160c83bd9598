// The schedule editor's save: checks and messages, the stored fields, and
// delete-and-re-add.

#include "schedule/schedule_editor.h"
#include "schedule/schedule_firing.h"
#include "schedule/schedule_row.h"
#include "schedule/workspace.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>
#include <QSqlRecord>
#include "support/case_names.h"

namespace qv::schedule::test {
namespace {

class EditorTest : public MainDbTest {
protected:
    void SetUp() override {
        MainDbTest::SetUp();
        workspace.emplace(*db, monitor, clock, sun);
        firing.emplace(*db, *workspace, monitor, macros, clock);
        editor.emplace(*db, *firing);
        macro = addMacro(QStringLiteral("Lights"));
        draft = fixedTimeDraft(clock.now(), macro, QTime(18, 30));
    }

    // The stored row's fields by name.
    QSqlRecord stored(int schedulerId) {
        QSqlQuery q = db->prepare(QStringLiteral("SELECT * FROM Scheduler WHERE Scheduler_ID = ?"));
        q.addBindValue(schedulerId);
        db->exec(q);
        EXPECT_TRUE(q.next());
        return q.record();
    }

    int scheduleCount() { return scalar(QStringLiteral("SELECT COUNT(*) FROM Scheduler")).toInt(); }

    ManualClock clock{QDateTime(QDate(2026, 1, 5), QTime(9, 12, 44))};
    FixedSun sun;
    std::optional<ScheduleWorkspace> workspace;
    std::optional<ScheduleFiring> firing;
    std::optional<ScheduleEditor> editor;
    ScheduleDraft draft;
    int macro = 0;
};

TEST_F(EditorTest, FixedTimeOneOffIsStoredWithEveryOtherFieldAtItsDefault) {
    const SaveOutcome outcome = editor->save(draft);
    ASSERT_TRUE(outcome.saved);
    const QSqlRecord row = stored(outcome.schedulerId);
    EXPECT_EQ(row.value("Macro_ID").toInt(), macro);
    EXPECT_EQ(row.value("startdate").toString(), QStringLiteral("2026-01-05 18:30:00"));
    EXPECT_EQ(row.value("starttime").toString(), QStringLiteral("18:30"));
    EXPECT_EQ(row.value("hours").toString(), QStringLiteral("00:00"));
    EXPECT_EQ(row.value("Disabled").toInt(), 0);
    for (const char* field : {"before", "Sunset", "RecurringDaily", "RecurringWeekly", "RecurringMonthly",
                              "RecurringYearly", "D1_EveryXdays", "W_EveryXweeks", "W_Mon", "M1_EveryWhatDay",
                              "M2_OfEveryXmonths", "Y1_EverywhatDay"}) {
        EXPECT_FALSE(row.value(field).isNull()) << field;
        EXPECT_EQ(row.value(field).toInt(), 0) << field;
    }
    for (const char* field : {"M2_TheWhatDay", "M2_OfEveryWhatDay", "Y1_OfEveryNameofMonth",
                              "Y2_TheFirstSecondThirdFourthLast", "Y2_DayOfWeek", "Y2_OfEveryNameofMonth"})
        EXPECT_TRUE(row.value(field).isNull()) << field;
    // The save rebuilt the workspace.
    EXPECT_EQ(workspaceRows(),
              QStringList{QStringLiteral("%1 2026-01-05 18:30:00").arg(outcome.schedulerId)});
}

TEST_F(EditorTest, SunRelativeKeepsThePickersValueAndTheOffset) {
    draft.timeMode = ScheduleDraft::TimeMode::SunriseSunset;
    draft.offset = QTime(1, 30);
    draft.beforeAfter = QStringLiteral("Before");
    draft.sunriseSunset = QStringLiteral("Sunset");
    const SaveOutcome outcome = editor->save(draft);
    ASSERT_TRUE(outcome.saved);
    const QSqlRecord row = stored(outcome.schedulerId);
    EXPECT_EQ(row.value("startdate").toString(), QStringLiteral("2026-01-05 09:12:44"));
    EXPECT_TRUE(row.value("starttime").isNull());
    EXPECT_EQ(row.value("hours").toString(), QStringLiteral("01:30"));
    EXPECT_EQ(row.value("before").toInt(), 1);
    EXPECT_EQ(row.value("Sunset").toInt(), 1);
    EXPECT_EQ(workspaceRows(),
              QStringList{QStringLiteral("%1 2026-01-05 16:12:00").arg(outcome.schedulerId)});
}

// Each option of the recurrence pattern, as the listing describes the stored row.
struct PatternCase {
    const char* name;
    std::function<void(ScheduleDraft&)> fill;
    const char* description;
};

void PrintTo(const PatternCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.name);
}

class Patterns : public EditorTest, public ::testing::WithParamInterface<PatternCase> {};

TEST_P(Patterns, TheStoredRuleIsTheChosenOneAndSurvivesLoadDraftAndSave) {
    draft.recurs = true;
    GetParam().fill(draft);
    const SaveOutcome outcome = editor->save(draft);
    ASSERT_TRUE(outcome.saved) << outcome.message.toStdString();
    // One rule only: a field of another option left set would add a row.
    EXPECT_EQ(workspaceRows().size(), 1);
    EXPECT_EQ(workspace->GetScheduleDescription(outcome.schedulerId),
              QString::fromLatin1(GetParam().description));

    const auto loaded = editor->loadDraft(outcome.schedulerId);
    ASSERT_TRUE(loaded);
    const QSqlRecord first = stored(outcome.schedulerId);
    ASSERT_TRUE(editor->save(*loaded).saved);
    EXPECT_EQ(scheduleCount(), 1);
    const QSqlRecord again = stored(outcome.schedulerId);
    for (int i = 0; i < first.count(); ++i)
        EXPECT_EQ(again.value(i), first.value(i)) << first.fieldName(i).toStdString();
    EXPECT_FALSE(editor->loadDraft(outcome.schedulerId + 1));
}

using D = ScheduleDraft;
INSTANTIATE_TEST_SUITE_P(
    Options, Patterns,
    ::testing::Values(
        PatternCase{"EveryXDays",
                    [](D& d) {
                        d.pattern = D::Pattern::Daily;
                        d.everyXDays = QStringLiteral(" 3 ");
                    },
                    "Every 3 days at 18:30:00- effective 05/01/2026 18:30:00"},
        PatternCase{"Weekday",
                    [](D& d) {
                        d.pattern = D::Pattern::Daily;
                        d.dailyRule = D::DailyRule::EveryWeekDay;
                    },
                    "Every weekday at 18:30:00- effective 05/01/2026 18:30:00"},
        PatternCase{"Weekend",
                    [](D& d) {
                        d.pattern = D::Pattern::Daily;
                        d.dailyRule = D::DailyRule::EveryWeekEndDay;
                    },
                    "Every Saturday and Sunday at 18:30:00- effective 05/01/2026 18:30:00"},
        PatternCase{"Weekly",
                    [](D& d) {
                        d.pattern = D::Pattern::Weekly;
                        d.everyXWeeks = QStringLiteral("2");
                        d.weekDays = {false, true, false, false, false, false, true};
                    },
                    "Every 2 week(s) on Tuesday Sunday  at 18:30:00, effective 05/01/2026 18:30:00"},
        PatternCase{"MonthlyDay",
                    [](D& d) {
                        d.pattern = D::Pattern::Monthly;
                        d.m1Day = QStringLiteral("31");
                        d.m1Months = QStringLiteral("2");
                    },
                    "Day 31 of every 2 months at 18:30:00, effective 05/01/2026 18:30:00"},
        PatternCase{"MonthlyNth",
                    [](D& d) {
                        d.pattern = D::Pattern::Monthly;
                        d.monthlyRule = D::SubRule::Second;
                        d.m2Ordinal = QStringLiteral("last");
                        d.m2DayName = QStringLiteral("friday");
                        d.m2Months = QStringLiteral("1");
                    },
                    "The Last Friday of every 1 months at 18:30:00, effective 05/01/2026 18:30:00"},
        PatternCase{"YearlyDay",
                    [](D& d) {
                        d.pattern = D::Pattern::Yearly;
                        d.y1Month = QStringLiteral("March");
                        d.y1Day = QStringLiteral("9");
                    },
                    "Every March 9 at 18:30:00, effective 05/01/2026 18:30:00"},
        PatternCase{"YearlyNth",
                    [](D& d) {
                        d.pattern = D::Pattern::Yearly;
                        d.yearlyRule = D::SubRule::Second;
                        d.y2Ordinal = QStringLiteral("Second");
                        d.y2DayName = QStringLiteral("Tuesday");
                        d.y2Month = QStringLiteral("October");
                    },
                    "The Second Tuesday of October at 18:30:00, effective 05/01/2026 18:30:00"},
        // Recurrence options are ignored when the schedule does not recur.
        PatternCase{"NotRecurring",
                    [](D& d) {
                        d.recurs = false;
                        d.pattern = D::Pattern::Weekly;
                        d.everyXWeeks = QStringLiteral("x");
                    },
                    "Once only on 05/01/2026 18:30:00 at 18:30:00"}),
    [](const ::testing::TestParamInfo<PatternCase>& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::function<void(ScheduleDraft&)> spoil;
    QString message;
    MessageIcon icon;
};

void PrintTo(const RefusalCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.name);
}

class Refusals : public EditorTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusals, NothingIsStoredAndAnEditedScheduleStaysAsItWas) {
    const SaveOutcome original = editor->save(draft);
    ASSERT_TRUE(original.saved);
    const QStringList workspaceBefore = workspaceRows();

    draft.schedulerId = original.schedulerId;
    draft.recurs = true;
    GetParam().spoil(draft);
    const SaveOutcome outcome = editor->save(draft);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.message, GetParam().message);
    EXPECT_EQ(outcome.icon, GetParam().icon);
    EXPECT_EQ(scheduleCount(), 1);
    EXPECT_EQ(stored(original.schedulerId).value("starttime").toString(), QStringLiteral("18:30"));
    EXPECT_EQ(workspaceRows(), workspaceBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, Refusals,
    ::testing::Values(
        RefusalCase{"NoMacro", [](D& d) { d.macroId.reset(); }, ScheduleEditor::kNoMacro,
                    MessageIcon::Information},
        RefusalCase{"MacroDeletedMeanwhile", [](D& d) { d.macroId = 4242; }, ScheduleEditor::kNoMacro,
                    MessageIcon::Information},
        RefusalCase{"NoTimeMode", [](D& d) { d.timeMode = D::TimeMode::None; }, ScheduleEditor::kNoTimeMode,
                    MessageIcon::Critical},
        RefusalCase{"DaysNotANumber",
                    [](D& d) {
                        d.pattern = D::Pattern::Daily;
                        d.everyXDays = QStringLiteral("two");
                    },
                    QStringLiteral("Please enter the number of days as a whole number of 1 or more"),
                    MessageIcon::Information},
        RefusalCase{"ZeroWeeks",
                    [](D& d) {
                        d.pattern = D::Pattern::Weekly;
                        d.everyXWeeks = QStringLiteral("0");
                    },
                    QStringLiteral("Please enter the number of weeks as a whole number of 1 or more"),
                    MessageIcon::Information},
        RefusalCase{"DayOfMonth32",
                    [](D& d) {
                        d.pattern = D::Pattern::Monthly;
                        d.m1Day = QStringLiteral("32");
                    },
                    QStringLiteral("Please enter the day of the month as a whole number from 1 to 31"),
                    MessageIcon::Information},
        RefusalCase{"NegativeMonths",
                    [](D& d) {
                        d.pattern = D::Pattern::Monthly;
                        d.monthlyRule = D::SubRule::Second;
                        d.m2Months = QStringLiteral("-1");
                    },
                    QStringLiteral("Please enter the number of months as a whole number of 1 or more"),
                    MessageIcon::Information},
        RefusalCase{"UnknownMonth",
                    [](D& d) {
                        d.pattern = D::Pattern::Yearly;
                        d.y1Month = QStringLiteral("Smarch");
                    },
                    QStringLiteral("Please choose a month from the list"), MessageIcon::Information},
        RefusalCase{"UnknownDay",
                    [](D& d) {
                        d.pattern = D::Pattern::Yearly;
                        d.yearlyRule = D::SubRule::Second;
                        d.y2DayName = QStringLiteral("Caturday");
                    },
                    QStringLiteral("Please choose a day of the week from the list"),
                    MessageIcon::Information},
        RefusalCase{"UnknownOrdinal",
                    [](D& d) {
                        d.pattern = D::Pattern::Monthly;
                        d.monthlyRule = D::SubRule::Second;
                        d.m2Ordinal = QStringLiteral("Fifth");
                    },
                    QStringLiteral("Please choose First, Second, Third, Fourth or Last"),
                    MessageIcon::Information}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST_F(EditorTest, EditingReplacesTheRowAndKeepsItDisabled) {
    const SaveOutcome other = editor->save(draft);
    const SaveOutcome first = editor->save(draft);
    db->exec(
        QStringLiteral("UPDATE Scheduler SET Disabled = 1 WHERE Scheduler_ID = %1").arg(first.schedulerId));
    draft.schedulerId = first.schedulerId;
    draft.specificTime = QTime(6, 45);
    const SaveOutcome second = editor->save(draft);
    ASSERT_TRUE(second.saved);
    EXPECT_EQ(scheduleCount(), 2);
    EXPECT_EQ(stored(other.schedulerId).value("starttime").toString(), QStringLiteral("18:30"));
    EXPECT_EQ(stored(other.schedulerId).value("Disabled").toInt(), 0);
    EXPECT_EQ(stored(second.schedulerId).value("starttime").toString(), QStringLiteral("06:45"));
    EXPECT_EQ(stored(second.schedulerId).value("Disabled").toInt(), 1);
}

TEST_F(EditorTest, AFailedStoreChangesNothing) {
    const SaveOutcome first = editor->save(draft);
    db->exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON Scheduler BEGIN SELECT RAISE(ABORT, 'locked'); END"));
    draft.schedulerId = first.schedulerId;
    draft.specificTime = QTime(6, 45);
    EXPECT_THROW(editor->save(draft), store::StoreError);
    EXPECT_EQ(scheduleCount(), 1);
    EXPECT_EQ(stored(first.schedulerId).value("starttime").toString(), QStringLiteral("18:30"));
}

TEST_F(EditorTest, TheDraftsDescriptionIsTheOneTheListingShowsOnceSaved) {
    draft.macroId.reset();  // the description does not wait for a macro
    draft.recurs = true;
    draft.pattern = D::Pattern::Daily;
    draft.everyXDays = QStringLiteral("3");
    EXPECT_EQ(ScheduleEditor::describeDraft(draft),
              QStringLiteral("Every 3 days at 18:30:00- effective 05/01/2026 18:30:00"));
    draft.everyXDays = QStringLiteral("x");
    EXPECT_EQ(ScheduleEditor::describeDraft(draft), QString());  // would be refused

    draft.macroId = macro;
    draft.timeMode = D::TimeMode::SunriseSunset;
    draft.offset = QTime(1, 15);
    draft.beforeAfter = QStringLiteral("Before");
    draft.sunriseSunset = QStringLiteral("Sunset");
    draft.pattern = D::Pattern::Weekly;
    draft.weekDays = {true, false, true, false, false, false, false};
    const QString described = ScheduleEditor::describeDraft(draft);
    EXPECT_TRUE(
        described.startsWith(QStringLiteral("Every 1 week(s) on Monday Wednesday  at 01hrs & 15mins "
                                            "before sunset")))
        << described.toStdString();
    const SaveOutcome outcome = editor->save(draft);
    ASSERT_TRUE(outcome.saved);
    EXPECT_EQ(workspace->GetScheduleDescription(outcome.schedulerId), described);
}

TEST_F(EditorTest, DefaultsComeFromToday) {
    // Thursday 29 January 2026: the fifth Thursday counts as "Last".
    const ScheduleDraft d = ScheduleEditor::defaultDraft(QDateTime(QDate(2026, 1, 29), QTime(7, 5)));
    EXPECT_EQ(d.m1Day, QStringLiteral("29"));
    EXPECT_EQ(d.m2Ordinal, QStringLiteral("Last"));
    EXPECT_EQ(d.m2DayName, QStringLiteral("Thursday"));
    EXPECT_EQ(d.y1Month, QStringLiteral("January"));
    EXPECT_EQ(d.everyXDays, QStringLiteral("1"));
    EXPECT_EQ(d.startDateTime, QTime(7, 5));
    EXPECT_EQ(ScheduleEditor::defaultDraft(QDateTime(QDate(2026, 1, 8), QTime(7, 5))).m2Ordinal,
              QStringLiteral("Second"));
}

TEST_F(EditorTest, MacroChoicesAreSortedByName) {
    const int alarm = addMacro(QStringLiteral("Alarm"));
    const auto choices = editor->macroChoices();
    ASSERT_EQ(choices.size(), 2u);
    EXPECT_EQ(choices[0].macro, QStringLiteral("Alarm"));
    EXPECT_EQ(choices[0].macroId, alarm);
    EXPECT_EQ(choices[1].macro, QStringLiteral("Lights"));
}

}  // namespace
}  // namespace qv::schedule::test
