// Stored local date-times to epoch seconds, across clock changes.

#include "features/devices/local_seconds.h"
#include "devices_support.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace qv::devices {
namespace {

class ZoneTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ZoneTest, AgreesWithAFullConversionEveryMinuteOfTheChangeDays) {
    const test::ScopedZone zone(GetParam());
    LocalSeconds seconds;
    for (const QDate day : {QDate(2024, 3, 10), QDate(2024, 3, 31), QDate(2024, 4, 7), QDate(2024, 10, 6),
                            QDate(2024, 10, 27), QDate(2024, 11, 3)}) {
        for (int minute = 0; minute < 24 * 60; ++minute) {
            // Written from the numbers: a time skipped by the clock change
            // has no text of its own in QDateTime, but a log may hold one.
            const QTime time(minute / 60, minute % 60, minute % 7);
            const QString text =
                day.toString(QStringLiteral("yyyy-MM-dd ")) + time.toString(QStringLiteral("HH:mm:ss"));
            const auto got = seconds(text);
            ASSERT_TRUE(got.has_value()) << text.toStdString();
            ASSERT_EQ(*got, QDateTime(day, time).toSecsSinceEpoch())
                << GetParam() << " " << text.toStdString();
        }
    }
}

TEST(LocalSecondsTest, ADayWithAClockChangeIsNot24HoursLong) {
    const test::ScopedZone zone("Europe/London");
    LocalSeconds seconds;
    EXPECT_EQ(*seconds("2024-04-01 00:00:00") - *seconds("2024-03-31 00:00:00"), 23 * 3600);
    EXPECT_EQ(*seconds("2024-10-28 00:00:00") - *seconds("2024-10-27 00:00:00"), 25 * 3600);
}

INSTANTIATE_TEST_SUITE_P(Zones, ZoneTest,
                         ::testing::Values("UTC", "Europe/London", "America/New_York", "Australia/Lord_Howe",
                                           "Australia/Perth"));

TEST(LocalSecondsTest, RefusesWhatIsNotADateTime) {
    LocalSeconds seconds;
    for (const char* text : {"", "2024-03-10", "2024-03-10T08:00:00", "2024-02-30 08:00:00",
                             "2024-03-10 24:00:00", "2024-03-10 08:60:00", "2024-03-10 08:00:61",
                             "2024-3-10 08:00:000", "x024-03-10 08:00:00", "2024-03-10 08:00:0\u0663"})
        EXPECT_FALSE(seconds(QString::fromUtf8(text)).has_value()) << "[" << text << "]";
    EXPECT_TRUE(seconds(QStringLiteral(" 2024-03-10 08:00:00 ")).has_value());
}

}  // namespace
}  // namespace qv::devices
