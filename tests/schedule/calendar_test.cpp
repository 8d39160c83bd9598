// Calendar arithmetic, stored texts and the time of day of an occurrence.

#include "schedule/due_keys.h"
#include "schedule/occurrence_time.h"
#include "schedule/schedule_row.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::schedule::test {
namespace {

using namespace std::chrono;

struct AddCase {
    const char* start;
    int months;
    const char* expected;
};

void PrintTo(const AddCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.start, row.months);
}

class AddMonths : public ::testing::TestWithParam<AddCase> {};
TEST_P(AddMonths, ClampsToTheMonthEnd) {
    EXPECT_EQ(dateTimeText(addMonths(ldt(GetParam().start), GetParam().months)),
              QString::fromLatin1(GetParam().expected));
}
INSTANTIATE_TEST_SUITE_P(Cases, AddMonths,
                         ::testing::Values(AddCase{"2026-01-31 08:15:00", 1, "2026-02-28 08:15:00"},
                                           AddCase{"2028-01-31 08:15:00", 1, "2028-02-29 08:15:00"},
                                           AddCase{"2026-03-31 00:00:00", -1, "2026-02-28 00:00:00"},
                                           AddCase{"2026-12-31 23:59:00", 2, "2027-02-28 23:59:00"},
                                           AddCase{"2026-05-31 06:00:00", 13, "2027-06-30 06:00:00"}));

TEST(Calendar, YearsClampLeapDaysAndDayNumbersRunOn) {
    EXPECT_EQ(dateTimeText(addYears(ldt("2028-02-29 07:00:00"), 1)), QStringLiteral("2029-02-28 07:00:00"));
    EXPECT_EQ(dateTimeText(addYears(ldt("2028-02-29 07:00:00"), 4)), QStringLiteral("2032-02-29 07:00:00"));
    EXPECT_EQ(dateText(dayFromParts(2026, 4, 31)), QStringLiteral("2026-05-01"));
    EXPECT_EQ(dateText(dayFromParts(2026, 2, 30)), QStringLiteral("2026-03-02"));
    EXPECT_EQ(dateText(dayFromParts(2026, 12, 32)), QStringLiteral("2027-01-01"));
    EXPECT_EQ(weekdayNumber(day("2026-01-05 00:00:00")), 1);  // Monday
    EXPECT_EQ(weekdayNumber(day("2026-01-04 00:00:00")), 7);  // Sunday
    EXPECT_EQ(dateText(mondayOf(day("2026-01-04 00:00:00"))), QStringLiteral("2025-12-29"));
}

TEST(Calendar, StoredTextsAreReadStrictly) {
    EXPECT_TRUE(parseDateTimeText(QStringLiteral("2026-01-05 10:00:00")));
    EXPECT_TRUE(parseDateTimeText(QStringLiteral("2026-01-05T10:00")));
    EXPECT_TRUE(parseDateTimeText(QStringLiteral("2026-01-05")));
    EXPECT_FALSE(parseDateTimeText(QStringLiteral("2026-02-30 10:00:00")));
    EXPECT_FALSE(parseDateTimeText(QStringLiteral("05/01/2026")));
    EXPECT_FALSE(parseDateTimeText(QStringLiteral("2026-01-05 24:00:00")));
    EXPECT_FALSE(parseDateTimeText(QString()));
    EXPECT_EQ(parseTimeOfDayText(QStringLiteral("7:05")), hours(7) + minutes(5));
    // Older files keep times of day on 30 December 1899.
    EXPECT_EQ(parseTimeOfDayText(QStringLiteral("1899-12-30 01:30:00")), hours(1) + minutes(30));
    EXPECT_FALSE(parseTimeOfDayText(QStringLiteral("noon")));
    EXPECT_FALSE(parseTimeOfDayText(QStringLiteral("12:60")));
}

TEST(Calendar, NamesInAnyCase) {
    EXPECT_EQ(weekdayFromName(QStringLiteral("sunday")), 7);
    EXPECT_EQ(monthFromName(QStringLiteral(" DECEMBER ")), 12u);
    EXPECT_FALSE(monthFromName(QStringLiteral("Smarch")));
    EXPECT_FALSE(weekdayFromName(QStringLiteral("Funday")));
}

TEST(DueKeys, TenDigitsOfTheWallClockMinute) {
    EXPECT_EQ(dueKey(ldt("2026-12-05 18:30:59")), QStringLiteral("2612051830"));
    EXPECT_EQ(dueKeyOfText(QStringLiteral("2031-01-09 00:00:00")), QStringLiteral("3101090000"));
    EXPECT_EQ(dueKeyOfText(QStringLiteral("garbage")), QString());
    EXPECT_EQ(msToNextMinute(QDateTime(QDate(2026, 1, 5), QTime(9, 0, 45, 250))), 14750);
    EXPECT_EQ(msToNextMinute(QDateTime(QDate(2026, 1, 5), QTime(9, 0, 0))), 60000);
}

TEST(DueKeys, FirstMinuteAfterTheClocksGoForwardStandsForTheSkippedHour) {
    const QTimeZone london("Europe/London");
    ASSERT_TRUE(london.isValid());
    // 29 March 2026: 00:59 GMT is followed by 02:00 BST.
    const QDateTime afterJump(QDate(2026, 3, 29), QTime(2, 0, 0), london);
    const QStringList keys = dueKeysAt(afterJump);
    EXPECT_EQ(keys.size(), 61);
    EXPECT_TRUE(keys.contains(QStringLiteral("2603290200")));
    EXPECT_TRUE(keys.contains(QStringLiteral("2603290100")));
    EXPECT_TRUE(keys.contains(QStringLiteral("2603290159")));
    EXPECT_FALSE(keys.contains(QStringLiteral("2603290059")));
    // The next minute is its own again.
    EXPECT_EQ(dueKeysAt(afterJump.addSecs(60)), QStringList{QStringLiteral("2603290201")});
    // Going back adds nothing.
    const QDateTime repeated = QDateTime(QDate(2026, 10, 25), QTime(0, 30), london).addSecs(2 * 3600);
    EXPECT_EQ(repeated.time(), QTime(1, 30));
    EXPECT_EQ(dueKeysAt(repeated), QStringList{QStringLiteral("2610250130")});
}

class SunOffsets : public ::testing::Test {
protected:
    FixedSun sun;  // sunrise 06:10:20, sunset 17:42:10
};

TEST_F(SunOffsets, OffsetsApplyToTheRoundedSunTime) {
    const LocalDay date = day("2026-06-01 00:00:00");
    // 1 hour 30 before a 17:42 sunset is 16:12.
    EXPECT_EQ(dateTimeText(occurrenceStart(date, QString(), hours(1) + minutes(30), true, true, sun)),
              QStringLiteral("2026-06-01 16:12:00"));
    EXPECT_EQ(dateTimeText(occurrenceStart(date, QString(), minutes(20), false, false, sun)),
              QStringLiteral("2026-06-01 06:30:00"));
    EXPECT_EQ(dateTimeText(occurrenceStart(date, QString(), seconds(0), false, true, sun)),
              QStringLiteral("2026-06-01 17:42:00"));
}

TEST_F(SunOffsets, CrossingMidnightKeepsTheOccurrenceDate) {
    const LocalDay date = day("2026-06-01 00:00:00");
    EXPECT_EQ(dateTimeText(occurrenceStart(date, QString(), hours(7), false, true, sun)),
              QStringLiteral("2026-06-01 00:42:00"));
    EXPECT_EQ(dateTimeText(occurrenceStart(date, QString(), hours(7), true, false, sun)),
              QStringLiteral("2026-06-01 23:10:00"));
}

TEST_F(SunOffsets, FixedTimesIgnoreTheOffsetAndTheSun) {
    const LocalDay date = day("2026-06-01 00:00:00");
    EXPECT_EQ(dateTimeText(occurrenceStart(date, QStringLiteral("21:05"), hours(3), true, true, sun)),
              QStringLiteral("2026-06-01 21:05:00"));
    EXPECT_EQ(sun.asked, 0);
    EXPECT_THROW(occurrenceStart(date, QStringLiteral("9 pm"), hours(0), false, false, sun), RuleFieldError);
}

TEST_F(SunOffsets, PolarDaysStillGiveAnOccurrence) {
    const Site tromso{69.65, -18.96, 1, false};
    const SunCalculator polar(tromso);
    const LocalDay midwinter = day("2026-12-21 00:00:00");
    ASSERT_EQ(polar.sunTimes(midwinter).kind, SunDay::AlwaysBelow);
    const LocalDateTime lightsOff = occurrenceStart(midwinter, QString(), minutes(30), false, false, polar);
    EXPECT_EQ(dayOf(lightsOff), midwinter);
    EXPECT_GT(timeOfDay(lightsOff), hours(11));
    EXPECT_LT(timeOfDay(lightsOff), hours(13));
}

}  // namespace
}  // namespace qv::schedule::test
