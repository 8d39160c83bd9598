#include "schedule/local_time.h"

#include <QRegularExpression>

#include <array>
#include <cstdio>

namespace qv::schedule {

using namespace std::chrono;

namespace {

const std::array<const char*, 7> kDayNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                              "Friday", "Saturday", "Sunday"};
const std::array<const char*, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                 "May",       "June",     "July",     "August",
                                                 "September", "October",  "November", "December"};

year_month_day clampedDay(year_month_day date) {
    if (date.ok()) return date;
    return year_month_day_last(date.year(), month_day_last(date.month()));
}

// Digits at [at, at + count) of text, or -1.
int digitsAt(QStringView text, qsizetype at, qsizetype count) {
    int value = 0;
    for (qsizetype i = at; i < at + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

// The stored form "yyyy-MM-dd HH:mm:ss" without a regular expression: a
// rebuild reads it for every schedule.
std::optional<LocalDateTime> parseStoredForm(QStringView text) {
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' ||
        text[16] != u':')
        return std::nullopt;
    const int y = digitsAt(text, 0, 4), mo = digitsAt(text, 5, 2), d = digitsAt(text, 8, 2);
    const int h = digitsAt(text, 11, 2), mi = digitsAt(text, 14, 2), se = digitsAt(text, 17, 2);
    if (y < 0 || mo < 0 || d < 0 || h < 0 || mi < 0 || se < 0 || h > 23 || mi > 59 || se > 59)
        return std::nullopt;
    const year_month_day date{year(y), month(static_cast<unsigned>(mo)), day(static_cast<unsigned>(d))};
    if (!date.ok()) return std::nullopt;
    return at(LocalDay(date), hours(h) + minutes(mi) + seconds(se));
}

}  // namespace

LocalDay dayOf(LocalDateTime when) {
    return floor<days>(when);
}

seconds timeOfDay(LocalDateTime when) {
    return when - dayOf(when);
}

LocalDateTime at(LocalDay day, seconds time) {
    return LocalDateTime(day) + time;
}

year_month_day ymd(LocalDay day) {
    return year_month_day(day);
}

int weekdayNumber(LocalDay day) {
    return static_cast<int>(weekday(day).iso_encoding());
}

LocalDay mondayOf(LocalDay day) {
    return day - days(weekdayNumber(day) - 1);
}

LocalDateTime addMonths(LocalDateTime when, int monthsToAdd) {
    const year_month_day date = ymd(dayOf(when)) + months(monthsToAdd);
    return at(LocalDay(clampedDay(date)), timeOfDay(when));
}

LocalDateTime addYears(LocalDateTime when, int yearsToAdd) {
    const year_month_day date = ymd(dayOf(when)) + years(yearsToAdd);
    return at(LocalDay(clampedDay(date)), timeOfDay(when));
}

LocalDay dayFromParts(int yearNumber, unsigned monthNumber, int dayNumber) {
    return LocalDay(year(yearNumber) / month(monthNumber) / day(1)) + days(dayNumber - 1);
}

std::optional<LocalDateTime> parseDateTimeText(const QString& text) {
    if (auto stored = parseStoredForm(text)) return stored;
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?)?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const year_month_day date{year(match.captured(1).toInt()), month(match.captured(2).toUInt()),
                              day(match.captured(3).toUInt())};
    if (!date.ok()) return std::nullopt;
    const int h = match.captured(4).toInt();
    const int m = match.captured(5).toInt();
    const int s = match.captured(6).toInt();
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return at(LocalDay(date), hours(h) + minutes(m) + seconds(s));
}

QString dateTimeText(LocalDateTime when) {
    const year_month_day date = ymd(dayOf(when));
    const hh_mm_ss<seconds> time(timeOfDay(when));
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return QString::fromLatin1(text);
}

QString dateText(LocalDay day) {
    const year_month_day date = ymd(day);
    return QStringLiteral("%1-%2-%3")
        .arg(static_cast<int>(date.year()), 4, 10, QLatin1Char('0'))
        .arg(static_cast<unsigned>(date.month()), 2, 10, QLatin1Char('0'))
        .arg(static_cast<unsigned>(date.day()), 2, 10, QLatin1Char('0'));
}

std::optional<seconds> parseTimeOfDayText(const QString& text) {
    if (text.size() == 5 && text[2] == u':') {  // "HH:MM", the stored form
        const int h = digitsAt(text, 0, 2), m = digitsAt(text, 3, 2);
        if (h >= 0 && m >= 0)
            return h <= 23 && m <= 59 ? std::optional<seconds>(hours(h) + minutes(m)) : std::nullopt;
    }
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(?:\d{4}-\d{1,2}-\d{1,2}[ T])?(\d{1,2}):(\d{2})(?::(\d{2})(?:\.\d+)?)?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const int h = match.captured(1).toInt();
    const int m = match.captured(2).toInt();
    const int s = match.captured(3).toInt();
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return hours(h) + minutes(m) + seconds(s);
}

LocalDateTime fromQDateTime(const QDateTime& when) {
    const QTime time = when.time();
    return at(fromQDate(when.date()), hours(time.hour()) + minutes(time.minute()) + seconds(time.second()));
}

LocalDay fromQDate(QDate date) {
    return LocalDay(year(date.year()) / month(static_cast<unsigned>(date.month())) /
                    day(static_cast<unsigned>(date.day())));
}

QDate toQDate(LocalDay day) {
    const year_month_day date = ymd(day);
    return QDate(static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
                 static_cast<int>(static_cast<unsigned>(date.day())));
}

QTime toQTime(seconds time) {
    const hh_mm_ss<seconds> parts(time % days(1));
    return QTime(static_cast<int>(parts.hours().count()), static_cast<int>(parts.minutes().count()),
                 static_cast<int>(parts.seconds().count()));
}

QString dayName(int weekdayNumber) {
    if (weekdayNumber < 1 || weekdayNumber > 7) return {};
    return QString::fromLatin1(kDayNames[static_cast<std::size_t>(weekdayNumber - 1)]);
}

QString monthName(unsigned monthNumber) {
    if (monthNumber < 1 || monthNumber > 12) return {};
    return QString::fromLatin1(kMonthNames[monthNumber - 1]);
}

std::optional<int> weekdayFromName(const QString& name) {
    const QString wanted = name.trimmed();
    for (std::size_t i = 0; i < kDayNames.size(); ++i) {
        if (wanted.compare(QLatin1String(kDayNames[i]), Qt::CaseInsensitive) == 0)
            return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

std::optional<unsigned> monthFromName(const QString& name) {
    const QString wanted = name.trimmed();
    for (std::size_t i = 0; i < kMonthNames.size(); ++i) {
        if (wanted.compare(QLatin1String(kMonthNames[i]), Qt::CaseInsensitive) == 0)
            return static_cast<unsigned>(i) + 1;
    }
    return std::nullopt;
}

}  // namespace qv::schedule
