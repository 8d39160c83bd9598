// The schedule listing: rows of the viewed day, their marks, the sun labels,
// enable/disable, delete, and the text of `quorvel schedules`.

#include "schedule/schedule_firing.h"
#include "schedule/schedule_listing.h"
#include "schedule/scheduling.h"
#include "schedule/workspace.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace qv::schedule::test {
namespace {

class ListingTest : public MainDbTest {
protected:
    void SetUp() override {
        MainDbTest::SetUp();
        workspace.emplace(*db, monitor, clock, sun);
        listing = std::make_unique<ScheduleListing>(*db, *workspace, clock);
        lights = addMacro(QStringLiteral("Lights"));
        // Monday 5 January 2026, 12:00.
        early = scheduleAt(lights, "2026-01-01 08:00:00", {{"RecurringDaily", 1}, {"D2_EveryWeekDay", 1}});
        noon = scheduleAt(lights, "2026-01-05 12:00:00");
        later = scheduleAt(QStringLiteral("Blinds"), "2026-01-01 20:15:00", kEveryDay);
        off = scheduleAt(lights, "2026-01-01 07:00:00",
                         {{"RecurringWeekly", 1}, {"W_EveryXweeks", 1}, {"W_Wed", 1}, {"Disabled", 1}});
    }

    const ListingRow* row(int schedulerId) {
        for (const ListingRow& r : listing->listingRows()) {
            if (r.schedulerId == schedulerId) return &r;
        }
        return nullptr;
    }

    ManualClock clock{QDateTime(QDate(2026, 1, 5), QTime(12, 0, 20))};
    FixedSun sun;
    std::optional<ScheduleWorkspace> workspace;
    std::unique_ptr<ScheduleListing> listing;
    int lights = 0, early = 0, noon = 0, later = 0, off = 0;
};

TEST_F(ListingTest, TodayMarksPassedRowsOtherDaysAndDisabledOnes) {
    listing->refresh(QDate(2026, 1, 5));
    ASSERT_EQ(listing->rowCount(), 4);
    EXPECT_TRUE(listing->viewingToday());
    EXPECT_EQ(listing->pickerText(), QStringLiteral("Monday,  5/Jan/2026"));
    EXPECT_EQ(listing->sunriseText(), QStringLiteral("06:10"));
    EXPECT_EQ(listing->sunsetText(), QStringLiteral("17:42"));

    // The weekday rule keeps today's 08:00, which has passed; 12:00 is now.
    ASSERT_TRUE(row(early) && row(noon) && row(later) && row(off));
    EXPECT_TRUE(row(early)->passed);
    EXPECT_TRUE(row(noon)->passed);
    EXPECT_FALSE(row(later)->passed);
    EXPECT_FALSE(row(later)->otherDay);
    EXPECT_EQ(row(later)->time, QStringLiteral("20:15"));
    EXPECT_EQ(row(later)->macro, QStringLiteral("Blinds"));
    EXPECT_EQ(row(later)->description,
              QStringLiteral("Every day at 20:15:00- effective 01/01/2026 20:15:00"));
    EXPECT_TRUE(row(off)->otherDay);
    EXPECT_TRUE(row(off)->disabled);
    EXPECT_EQ(row(off)->day, QStringLiteral("Wednesday"));
    EXPECT_EQ(row(off)->date, QStringLiteral("07/01/2026"));

    // The model carries the same marks for the window.
    const int offRow = static_cast<int>(std::distance(&listing->listingRows().front(), row(off)));
    EXPECT_EQ(listing->data(listing->index(offRow, 0), ScheduleListing::BackgroundRgbRole).toUInt(),
              ScheduleListing::kLightRed);
    EXPECT_EQ(listing->data(listing->index(offRow, 0), ScheduleListing::SchedulerIdRole).toInt(), off);
    EXPECT_EQ(listing->data(listing->index(offRow, ScheduleListing::TimeColumn)).toString(),
              QStringLiteral("07:00"));
    EXPECT_EQ(listing->headerData(ScheduleListing::MacroColumn, Qt::Horizontal).toString(),
              QStringLiteral("Macro it will run"));
}

TEST_F(ListingTest, AnotherDayIsComputedFromThatDayAndNothingIsPassed) {
    listing->refresh(QDate(2026, 1, 10));  // Saturday
    EXPECT_FALSE(listing->viewingToday());
    EXPECT_EQ(row(noon), nullptr);  // a one-off of the 5th is over
    ASSERT_NE(row(early), nullptr);
    EXPECT_EQ(row(early)->date, QStringLiteral("12/01/2026"));  // the weekday rule's Monday
    EXPECT_TRUE(row(early)->otherDay);
    EXPECT_FALSE(row(later)->otherDay);
    EXPECT_EQ(listing->data(listing->index(0, 0), ScheduleListing::PassedRole).toBool(), false);
    for (const ListingRow& r : listing->listingRows()) EXPECT_FALSE(r.passed);
}

TEST_F(ListingTest, TheWeekViewListsEachOccurrenceOfSevenDaysInTimeOrder) {
    listing->setWeekView(true);
    listing->refresh(QDate(2026, 1, 5));  // Monday to Sunday the 11th
    QStringList seen;
    for (const ListingRow& r : listing->listingRows())
        seen << QStringLiteral("%1 %2 %3%4").arg(r.schedulerId).arg(r.date, r.time, r.passed ? "p" : "");
    // Weekdays 08:00 five times, the one-off once, 20:15 every day, the
    // disabled Wednesday one once; only today's come-and-gone ones passed.
    EXPECT_EQ(seen.size(), 14) << seen.join(", ").toStdString();
    EXPECT_EQ(seen.mid(0, 4), (QStringList{QStringLiteral("%1 05/01/2026 08:00p").arg(early),
                                           QStringLiteral("%1 05/01/2026 12:00p").arg(noon),
                                           QStringLiteral("%1 05/01/2026 20:15").arg(later),
                                           QStringLiteral("%1 06/01/2026 08:00").arg(early)}));
    EXPECT_TRUE(seen.contains(QStringLiteral("%1 07/01/2026 07:00").arg(off)));
    EXPECT_EQ(seen.filter(QStringLiteral("%1 ").arg(early)).size(), 5);
    EXPECT_EQ(seen.last(), QStringLiteral("%1 11/01/2026 20:15").arg(later));
    EXPECT_TRUE(listing->listingRows().back().otherDay);
}

TEST_F(ListingTest, AfterARefreshTheWorkspaceStartsFromNowAgain) {
    clock.set(QDateTime(QDate(2026, 1, 5), QTime(12, 5)));
    listing->refresh(QDate(2026, 2, 1));
    // From 12:05 on the 5th the passed one-off at 12:00 has no row.
    EXPECT_FALSE(workspaceRows().join(' ').contains(QStringLiteral("%1 ").arg(noon)));
    EXPECT_TRUE(workspaceRows().contains(QStringLiteral("%1 2026-01-05 20:15:00").arg(later)));
}

TEST_F(ListingTest, AListingOnAnotherDayDoesNotChangeWhatFires) {
    ScheduleFiring firing(*db, *workspace, monitor, macros, clock);
    firing.rebuildAndFire();  // 12:00:20: the 12:00 one-off runs now
    ASSERT_EQ(macros.ran, QStringList{QStringLiteral("Lights")});
    listing->refresh(QDate(2026, 3, 1));
    clock.set(QDateTime(QDate(2026, 1, 5), QTime(20, 15)));
    firing.onMinute(clock.now());
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Lights"), QStringLiteral("Blinds")}));
}

TEST_F(ListingTest, EnableDisableAndDelete) {
    listing->refresh(QDate(2026, 1, 5));
    EXPECT_EQ(listing->enableButton(std::nullopt).caption, ScheduleListing::kEnableDisable);
    EXPECT_FALSE(listing->enableButton(std::nullopt).rgb);
    EXPECT_EQ(listing->enableButton(off).caption, QStringLiteral("Enable this Schedule"));
    EXPECT_EQ(listing->enableButton(off).rgb, ScheduleListing::kLightGreen);
    EXPECT_EQ(listing->enableButton(later).caption, QStringLiteral("Disable this Schedule"));
    EXPECT_EQ(listing->enableButton(later).rgb, ScheduleListing::kLightRed);

    ASSERT_TRUE(listing->toggleDisabled(off));
    EXPECT_FALSE(row(off)->disabled);
    ASSERT_TRUE(listing->toggleDisabled(later));
    EXPECT_TRUE(row(later)->disabled);
    EXPECT_FALSE(listing->toggleDisabled(9999));

    listing->deleteSchedule(later);
    EXPECT_EQ(row(later), nullptr);
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM Scheduler WHERE Scheduler_ID = ?"), {later}).toInt(), 0);
}

TEST_F(ListingTest, CommandLinesShowTheDayTheSunAndEachRow) {
    const QStringList lines =
        schedulesCommand(*db, monitor, clock, Site{51.48, 0.0, 0, false}, QDate(2026, 1, 10));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("Show Me Scheduled events for: Saturday,  10/Jan/2026"));
    // Greenwich in January: sunrise a little after 08:00, sunset near 16:05.
    EXPECT_TRUE(lines[1].startsWith(QLatin1String("Sunrise: 08:0"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].contains(QLatin1String("Sunset: 16:"))) << lines[1].toStdString();
    EXPECT_EQ(lines[2], ScheduleListing::kNotTodayNote);
    EXPECT_EQ(lines[3], QStringLiteral("#\tDay\tDate\tTime\tSchedule Description\tMacro it will run\tMarks"));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("%1\tSaturday\t10/01/2026\t20:15\t"
                                      "Every day at 20:15:00- effective 01/01/2026 20:15:00\tBlinds\t")
                           .arg(later)));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("%1\tWednesday\t14/01/2026\t07:00\t"
                       "Every 1 week(s) on Wednesday  at 07:00:00, effective 01/01/2026 07:00:00"
                       "\tLights\tfuture,disabled")
            .arg(off)));
}

TEST_F(ListingTest, CommandForTodayHasNoNoteAndMarksPassedRows) {
    const QStringList lines = schedulesCommand(*db, monitor, clock, Site{}, std::nullopt);
    EXPECT_FALSE(lines.contains(ScheduleListing::kNotTodayNote));
    EXPECT_TRUE(
        lines.contains(QStringLiteral("%1\tMonday\t05/01/2026\t12:00\tOnce only on 05/01/2026 12:00:00 at "
                                      "12:00:00\tLights\tpassed")
                           .arg(noon)));
}

}  // namespace
}  // namespace qv::schedule::test
