// Sun times against an independent ephemeris (python3-ephem, see
// tools/gen_sun_table.py): upper limb on a sea-level horizon with 34' of
// refraction, local clock time of the site.

#include "schedule/sun_times.h"
#include "oracle_table.h"
#include "schedule/occurrence_time.h"
#include "schedule_fixture.h"
#include "store/settings_loaders.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qv::schedule::test {
namespace {

using namespace std::chrono;

Site siteOfRow(const QStringList& row) {
    // The table gives longitude east positive; the site keeps west positive.
    return Site{row[1].toDouble(), -row[2].toDouble(), row[3].toDouble(), row[4].toInt() != 0};
}

// Difference of two times of day, the short way round midnight.
double clockDifference(double a, double b) {
    const double d = std::fabs(a - b);
    return std::min(d, 86400.0 - d);
}

TEST(SunTimes, WithinOneMinuteOfTheEphemerisUpTo65Degrees) {
    const auto rows = readTable("sun_times_ephem.csv", QLatin1Char(','));
    ASSERT_EQ(rows.size(), 800u);
    double worst = 0;
    for (const QStringList& row : rows) {
        const SunTimes times = SunCalculator(siteOfRow(row)).sunTimes(day(qPrintable(row[5] + " 00:00:00")));
        ASSERT_NE(row[6], QLatin1String("none")) << row.join(',').toStdString();
        EXPECT_EQ(times.kind, SunDay::RisesAndSets) << row.join(',').toStdString();
        const double rise = clockDifference(static_cast<double>(times.sunrise.count()), row[6].toDouble());
        const double set = clockDifference(static_cast<double>(times.sunset.count()), row[7].toDouble());
        EXPECT_LT(rise, 60.0) << "sunrise " << row.join(',').toStdString();
        EXPECT_LT(set, 60.0) << "sunset " << row.join(',').toStdString();
        worst = std::max({worst, rise, set});
    }
    RecordProperty("worst_seconds", static_cast<int>(std::ceil(worst)));
}

TEST(SunTimes, PolarDaysAgreeWithTheEphemerisAndStillGiveATime) {
    const auto rows = readTable("sun_polar_ephem.csv", QLatin1Char(','));
    ASSERT_GT(rows.size(), 40u);
    for (const QStringList& row : rows) {
        const Site site = siteOfRow(row);
        const SunTimes times = SunCalculator(site).sunTimes(day(qPrintable(row[5] + " 00:00:00")));
        const QString what = row.join(',');
        if (row[6] == QLatin1String("both")) {
            EXPECT_EQ(times.kind, SunDay::RisesAndSets) << what.toStdString();
            continue;
        }
        EXPECT_EQ(times.kind, row[6] == QLatin1String("up") ? SunDay::AlwaysAbove : SunDay::AlwaysBelow)
            << what.toStdString();
        // Both times are the moment the sun is nearest the horizon: solar noon
        // below, solar midnight above. Solar noon is near 12:00 of the zone's
        // meridian, shifted 4 minutes per degree east of it.
        EXPECT_EQ(times.sunrise, times.sunset) << what.toStdString();
        const double noon = 12 * 3600.0 + (site.clockOffsetHours() * 15.0 + site.longitude) * 240.0;
        const double expected = times.kind == SunDay::AlwaysBelow ? noon : noon + 12 * 3600.0;
        EXPECT_LT(clockDifference(static_cast<double>(times.sunrise.count()), std::fmod(expected, 86400.0)),
                  20 * 60.0)
            << what.toStdString();
    }
}

TEST(SunTimes, StoredConfigSignsReachTheCalculationAsSouthAndEast) {
    // Perth as the configuration stores it: 31.95 South, 115.86 East (both
    // negative), GMT+8. The ephemeris has sunrise 05:13:27 and sunset 19:25:47
    // on 1 January 2000.
    store::ConfigSettings config;
    config.Latitude = -31.95;
    config.Longitude = -115.86;
    config.Timezone = 8;
    config.DayLightSaving = false;
    const Site site = siteFromConfig(config);
    EXPECT_DOUBLE_EQ(site.latitude, -31.95);
    EXPECT_DOUBLE_EQ(site.longitude, -115.86);
    const SunTimes times = SunCalculator(site).sunTimes(day("2000-01-01 00:00:00"));
    EXPECT_LT(clockDifference(static_cast<double>(times.sunrise.count()), 18807.2), 60.0);
    EXPECT_LT(clockDifference(static_cast<double>(times.sunset.count()), 69947.5), 60.0);
}

TEST(SunTimes, DaylightSavingAddsOneHourToTheZone) {
    store::ConfigSettings config;
    config.Latitude = -33.87;
    config.Longitude = -151.21;
    config.Timezone = 10;
    config.DayLightSaving = true;
    const Site summer = siteFromConfig(config);
    EXPECT_DOUBLE_EQ(summer.clockOffsetHours(), 11.0);
    config.DayLightSaving = false;
    const Site winter = siteFromConfig(config);
    const LocalDay when = day("2026-01-15 00:00:00");
    const SunTimes a = SunCalculator(summer).sunTimes(when);
    const SunTimes b = SunCalculator(winter).sunTimes(when);
    EXPECT_EQ(a.sunrise - b.sunrise, hours(1));
    EXPECT_EQ(a.sunset - b.sunset, hours(1));
}

TEST(SunTimes, ClockTextsRoundToTheNearestMinute) {
    EXPECT_EQ(hhmm(toNearestMinute(hours(17) + minutes(42) + seconds(29))), QStringLiteral("17:42"));
    EXPECT_EQ(hhmm(toNearestMinute(hours(17) + minutes(42) + seconds(30))), QStringLiteral("17:43"));
    EXPECT_EQ(hhmm(toNearestMinute(hours(23) + minutes(59) + seconds(45))), QStringLiteral("00:00"));
}

}  // namespace
}  // namespace qv::schedule::test
