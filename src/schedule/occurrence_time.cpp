#include "schedule/occurrence_time.h"

#include "schedule/schedule_row.h"

namespace qv::schedule {

using namespace std::chrono;

seconds toNearestMinute(seconds timeOfDay) {
    // Half a minute rounds up, as an almanac does (std::chrono::round would go to even).
    return floor<minutes>(timeOfDay + seconds(30)) % days(1);
}

LocalDateTime occurrenceStart(LocalDay date, const QString& starttimeText, seconds offset, bool before,
                              bool sunset, const SunSource& sun) {
    seconds time{0};
    if (starttimeText.trimmed().isEmpty()) {
        const SunTimes times = sun.sunTimes(date);
        time = toNearestMinute(sunset ? times.sunset : times.sunrise);
        time += before ? -offset : offset;
        time = ((time % days(1)) + days(1)) % days(1);
    } else {
        const auto parsed = parseTimeOfDayText(starttimeText);
        if (!parsed)
            throw RuleFieldError(QStringLiteral("starttime"), starttimeText,
                                 QStringLiteral("is not a time of day"));
        time = *parsed;
    }
    return at(date, floor<minutes>(time));
}

}  // namespace qv::schedule
