#include "schedule/description.h"

#include <cmath>

namespace qv::schedule {

using namespace std::chrono;

namespace {

QString two(long long value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// A stored number as the user typed it: 3, not 3.0.
QString numberText(const QVariant& value) {
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (ok && std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e9)
        return QString::number(static_cast<long long>(number));
    return value.toString();
}

bool isNumber(const QVariant& value, double wanted) {
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    return !value.isNull() && ok && number == wanted;
}

bool nonZero(const QVariant& value) {
    if (value.isNull()) return false;
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    return !ok || number != 0;
}

QString longTime(seconds time) {
    const hh_mm_ss<seconds> parts(time);
    return two(parts.hours().count()) + QLatin1Char(':') + two(parts.minutes().count()) + QLatin1Char(':') +
           two(parts.seconds().count());
}

}  // namespace

QString describeTime(const ScheduleRow& row) {
    if (!row.isSunRelative()) {
        const auto time = parseTimeOfDayText(row.starttimeText());
        return time ? longTime(*time) : row.starttimeText();
    }
    const QString hoursText = row.hours.toString().trimmed();
    QString text;
    if (const auto offset = parseTimeOfDayText(hoursText.isEmpty() ? QStringLiteral("00:00") : hoursText)) {
        const hh_mm_ss<seconds> parts(*offset);
        text = two(parts.hours().count()) + QStringLiteral("hrs");
        if (parts.minutes().count() != 0)
            text += QStringLiteral(" & ") + two(parts.minutes().count()) + QStringLiteral("mins");
    } else {
        text = hoursText;
    }
    if (row.Sunset)
        text += row.before ? QStringLiteral(" before sunset ") : QStringLiteral(" after sunset ");
    else
        text += row.before ? QStringLiteral(" before sunrise ") : QStringLiteral(" after sunrise ");
    return text;
}

QString describeStartDate(const ScheduleRow& row) {
    LocalDateTime start;
    try {
        start = startDateOf(row);
    } catch (const RuleFieldError&) {
        return row.startdate.toString();
    }
    const year_month_day date = ymd(dayOf(start));
    QString text = QStringLiteral("%1/%2/%3")
                       .arg(two(static_cast<unsigned>(date.day())), two(static_cast<unsigned>(date.month())))
                       .arg(static_cast<int>(date.year()), 4, 10, QLatin1Char('0'));
    if (timeOfDay(start) != seconds(0)) text += QLatin1Char(' ') + longTime(timeOfDay(start));
    return text;
}

QString describeSchedule(const ScheduleRow& row) {
    const QString t = describeTime(row);
    const QString e = describeStartDate(row);
    const QString dailyTail = QStringLiteral(" at ") + t + QStringLiteral("- effective ") + e;
    const QString tail = QStringLiteral(" at ") + t + QStringLiteral(", effective ") + e;

    if (row.RecurringDaily && isNumber(row.D1_EveryXdays, 1)) return QStringLiteral("Every day") + dailyTail;
    if (row.RecurringDaily && nonZero(row.D1_EveryXdays))
        return QStringLiteral("Every ") + numberText(row.D1_EveryXdays) + QStringLiteral(" days") + dailyTail;
    if (row.RecurringDaily && row.D2_EveryWeekDay) return QStringLiteral("Every weekday") + dailyTail;
    if (row.RecurringDaily && row.D3_EveryWeekEndDay)
        return QStringLiteral("Every Saturday and Sunday") + dailyTail;
    if (row.RecurringWeekly) {
        QString days;
        for (int i = 0; i < 7; ++i) {
            if (row.weekDays[static_cast<std::size_t>(i)]) days += dayName(i + 1) + QLatin1Char(' ');
        }
        return QStringLiteral("Every ") + numberText(row.W_EveryXweeks) + QStringLiteral(" week(s) on ") +
               days + tail;
    }
    if (row.RecurringMonthly && nonZero(row.M1_EveryWhatDay))
        return QStringLiteral("Day ") + numberText(row.M1_EveryWhatDay) + QStringLiteral(" of every ") +
               numberText(row.M1_OfEveryXmonths) + QStringLiteral(" months") + tail;
    if (row.RecurringMonthly && !row.M2_OfEveryWhatDay.isNull())
        return QStringLiteral("The ") + row.M2_TheWhatDay.toString() + QLatin1Char(' ') +
               row.M2_OfEveryWhatDay.toString() + QStringLiteral(" of every ") +
               numberText(row.M2_OfEveryXmonths) + QStringLiteral(" months") + tail;
    if (row.RecurringYearly && nonZero(row.Y1_EverywhatDay))
        return QStringLiteral("Every ") + row.Y1_OfEveryNameofMonth.toString() + QLatin1Char(' ') +
               numberText(row.Y1_EverywhatDay) + tail;
    if (row.RecurringYearly && !row.Y2_DayOfWeek.isNull())
        return QStringLiteral("The ") + row.Y2_TheFirstSecondThirdFourthLast.toString() + QLatin1Char(' ') +
               row.Y2_DayOfWeek.toString() + QStringLiteral(" of ") + row.Y2_OfEveryNameofMonth.toString() +
               tail;
    if (!row.RecurringDaily && !row.RecurringWeekly && !row.RecurringMonthly && !row.RecurringYearly)
        return QStringLiteral("Once only on ") + e + QStringLiteral(" at ") + t;
    return {};
}

}  // namespace qv::schedule
