#include "schedule/due_keys.h"

namespace qv::schedule {

using namespace std::chrono;

namespace {
// A longer jump is not a daylight-saving change but a clock being set.
constexpr int kLongestGapMinutes = 180;
}  // namespace

QString dueKey(LocalDateTime when) {
    const year_month_day date = ymd(dayOf(when));
    const hh_mm_ss<seconds> time(timeOfDay(when));
    const auto two = [](long long value) {
        return QStringLiteral("%1").arg(value % 100, 2, 10, QLatin1Char('0'));
    };
    return two(static_cast<int>(date.year())) + two(static_cast<unsigned>(date.month())) +
           two(static_cast<unsigned>(date.day())) + two(time.hours().count()) + two(time.minutes().count());
}

QString dueKeyOfText(const QString& storedDateTime) {
    const auto when = parseDateTimeText(storedDateTime);
    return when ? dueKey(*when) : QString();
}

QStringList dueKeysAt(const QDateTime& now) {
    const LocalDateTime wall = floor<minutes>(fromQDateTime(now));
    QStringList keys{dueKey(wall)};
    const QDateTime minuteBefore = now.addSecs(-60);
    if (now.offsetFromUtc() <= minuteBefore.offsetFromUtc()) return keys;
    // The clocks went forward within the last minute: the wall minutes between
    // the previous reading and this one never happened today.
    const LocalDateTime previous = floor<minutes>(fromQDateTime(minuteBefore));
    const auto gap = duration_cast<minutes>(wall - previous).count() - 1;
    if (gap <= 0 || gap > kLongestGapMinutes) return keys;
    for (LocalDateTime skipped = previous + minutes(1); skipped < wall; skipped += minutes(1))
        keys << dueKey(skipped);
    return keys;
}

int msToNextMinute(const QDateTime& now) {
    const QTime time = now.time();
    return 60000 - (time.second() * 1000 + time.msec());
}

}  // namespace qv::schedule
