#pragma once
// Sunrise and sunset of a date at the configured site, in local time.
//
// The solar position follows NOAA's solar calculator (Meeus' low-precision
// formulas). Each event is solved again with the sun's position at the event
// itself rather than at noon, which keeps high latitudes within a minute.
//
// Definition: the moment the sun's upper limb touches a sea-level horizon
// with the standard 34' of refraction, i.e. the sun's centre at -(34' + its
// apparent radius). This is the almanac definition and what the ephemeris
// table in the tests uses.
//
// A day without a sunrise or a sunset gives both at the moment the sun comes
// closest to the horizon: solar noon when it stays below all day (polar
// night), the lower transit (solar midnight) when it stays up (polar day).
// Sun-relative schedules therefore still get a time on such days.

#include "schedule/local_time.h"

#include <chrono>

namespace qv::store {
struct ConfigSettings;
}

namespace qv::schedule {

struct Site {
    double latitude = 0;          // degrees, north positive
    double longitude = 0;         // degrees, west positive
    double timezoneHours = 0;     // hours ahead of GMT
    bool daylightSaving = false;  // adds one hour

    double clockOffsetHours() const { return timezoneHours + (daylightSaving ? 1.0 : 0.0); }
};

// Config stores latitude with south negative (north positive) and longitude
// with east negative (west positive); Site uses the same signs, so the values
// are carried over as they are. DayLightSaving adds one hour to Timezone.
Site siteFromConfig(const store::ConfigSettings& config);

enum class SunDay {
    RisesAndSets,
    AlwaysBelow,  // polar night: both times are solar noon
    AlwaysAbove,  // polar day: both times are the lower transit
};

struct SunTimes {
    // Local clock time of day, 0 <= t < 24 h, to the second.
    std::chrono::seconds sunrise{0};
    std::chrono::seconds sunset{0};
    SunDay kind = SunDay::RisesAndSets;
};

// Sunrise and sunset of one calendar day, as asked by the schedules.
class SunSource {
public:
    virtual ~SunSource() = default;
    virtual SunTimes sunTimes(LocalDay day) const = 0;
};

class SunCalculator final : public SunSource {
public:
    explicit SunCalculator(Site site) : m_site(site) {}
    SunTimes sunTimes(LocalDay day) const override;
    const Site& site() const { return m_site; }

private:
    Site m_site;
};

// The time of day to the minute, as the listing shows it and schedules use it
// (seconds dropped).
QString hhmm(std::chrono::seconds timeOfDay);

}  // namespace qv::schedule
