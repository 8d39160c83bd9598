#include "schedule/sun_times.h"

#include "store/settings_loaders.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace qv::schedule {

using namespace std::chrono;

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
constexpr double kMinutesPerDay = 1440.0;
constexpr double kRefractionDegrees = 34.0 / 60.0;

struct SolarState {
    double declination;     // radians
    double equationOfTime;  // minutes
    double semidiameter;    // degrees
};

// The sun's apparent declination, the equation of time and the sun's apparent
// radius at a Julian day (NOAA's formulas; UT is taken for TT, a few seconds
// of difference that moves the sun by a negligible amount).
SolarState solarAt(double julianDay) {
    const double t = (julianDay - 2451545.0) / 36525.0;
    const double meanLong = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = meanAnomaly * kDegree;
    const double centre = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
                          std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
    const double trueLong = meanLong + centre;
    const double trueAnomaly = (meanAnomaly + centre) * kDegree;
    const double distance =
        1.000001018 * (1 - eccentricity * eccentricity) / (1 + eccentricity * std::cos(trueAnomaly));
    const double omega = (125.04 - 1934.136 * t) * kDegree;
    const double apparentLong = (trueLong - 0.00569 - 0.00478 * std::sin(omega)) * kDegree;
    const double meanObliquity =
        23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = (meanObliquity + 0.00256 * std::cos(omega)) * kDegree;

    const double y = std::pow(std::tan(obliquity / 2), 2);
    const double l0 = meanLong * kDegree;
    const double eot = y * std::sin(2 * l0) - 2 * eccentricity * std::sin(m) +
                       4 * eccentricity * y * std::sin(m) * std::cos(2 * l0) -
                       0.5 * y * y * std::sin(4 * l0) - 1.25 * eccentricity * eccentricity * std::sin(2 * m);
    return {std::asin(std::sin(obliquity) * std::sin(apparentLong)), 4.0 * eot / kDegree,
            0.266564 / distance};
}

// cos of the hour angle at which the sun's upper limb meets the horizon.
double cosHourAngle(double latitude, const SolarState& sun) {
    const double altitude = -(kRefractionDegrees + sun.semidiameter) * kDegree;
    return (std::sin(altitude) - std::sin(latitude) * std::sin(sun.declination)) /
           (std::cos(latitude) * std::cos(sun.declination));
}

seconds toClockSeconds(double localMinutes) {
    const double wrapped =
        std::fmod(std::fmod(localMinutes, kMinutesPerDay) + kMinutesPerDay, kMinutesPerDay);
    const auto rounded = static_cast<long long>(std::llround(wrapped * 60.0));
    return seconds(rounded % 86400);
}

}  // namespace

Site siteFromConfig(const store::ConfigSettings& config) {
    Site site;
    site.latitude = config.Latitude;    // stored north positive, south negative
    site.longitude = config.Longitude;  // stored west positive, east negative
    site.timezoneHours = config.Timezone;
    site.daylightSaving = config.DayLightSaving;
    return site;
}

SunTimes SunCalculator::sunTimes(LocalDay day) const {
    // Minutes are counted from the day's local midnight; the offset turns them
    // into universal time.
    const double offset = m_site.clockOffsetHours() * 60.0;
    const double eastLongitude = -m_site.longitude;
    const double latitude = std::clamp(m_site.latitude, -89.99, 89.99) * kDegree;
    const double midnightJd = 2440587.5 + static_cast<double>(day.time_since_epoch().count());
    const auto julianDay = [&](double localMinutes) {
        return midnightJd + (localMinutes - offset) / kMinutesPerDay;
    };

    // Solar noon of the local day: the transit that falls between its midnights.
    double shift = 0;
    const auto transitNear = [&](double localMinutes) {
        return 720.0 - 4.0 * eastLongitude - solarAt(julianDay(localMinutes)).equationOfTime + offset + shift;
    };
    double noon = 720.0;
    for (int i = 0; i < 3; ++i) {
        noon = transitNear(noon);
        const double wrapped = noon - kMinutesPerDay * std::floor(noon / kMinutesPerDay);
        shift += wrapped - noon;
        noon = wrapped;
    }

    SunTimes result;
    const double atNoon = cosHourAngle(latitude, solarAt(julianDay(noon)));
    if (atNoon > 1.0) {
        result.kind = SunDay::AlwaysBelow;
        result.sunrise = result.sunset = toClockSeconds(noon);
        return result;
    }
    if (atNoon < -1.0) {
        result.kind = SunDay::AlwaysAbove;
        result.sunrise = result.sunset = toClockSeconds(noon + kMinutesPerDay / 2);
        return result;
    }

    // Each event again with the sun where it is at that event.
    const auto solve = [&](double sign) {
        double when = noon;
        for (int i = 0; i < 4; ++i) {
            const SolarState sun = solarAt(julianDay(when));
            const double hourAngle = std::acos(std::clamp(cosHourAngle(latitude, sun), -1.0, 1.0)) / kDegree;
            when = 720.0 - 4.0 * (eastLongitude + sign * hourAngle) - sun.equationOfTime + offset + shift;
        }
        return when;
    };
    result.sunrise = toClockSeconds(solve(1.0));
    result.sunset = toClockSeconds(solve(-1.0));
    return result;
}

QString hhmm(seconds timeOfDay) {
    const hh_mm_ss<seconds> parts(timeOfDay % days(1));
    return QStringLiteral("%1:%2")
        .arg(parts.hours().count(), 2, 10, QLatin1Char('0'))
        .arg(parts.minutes().count(), 2, 10, QLatin1Char('0'));
}

}  // namespace qv::schedule
