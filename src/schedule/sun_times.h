#pragma once
// Sunrise and sunset of a date at the configured site, in local time.

#include <chrono>

namespace qv::schedule {

struct Site {
    double latitude = 0;       // degrees, north positive
    double longitude = 0;      // degrees, west positive
    double timezoneHours = 0;  // hours ahead of GMT
    bool daylightSaving = false;  // adds one hour
};

}  // namespace qv::schedule
