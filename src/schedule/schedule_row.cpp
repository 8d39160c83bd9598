#include "schedule/schedule_row.h"

#include "store/field_values.h"

#include <QDateTime>
#include <QStringList>

#include <cmath>

namespace qv::schedule {

using namespace std::chrono;

namespace {

const char* const kColumns[] = {
    "Scheduler_ID",
    "Macro_ID",
    "Disabled",
    "startdate",
    "starttime",
    "Sunset",
    "\"before\"",
    "hours",
    "RecurringDaily",
    "D1_EveryXdays",
    "D2_EveryWeekDay",
    "D3_EveryWeekEndDay",
    "RecurringWeekly",
    "W_EveryXweeks",
    "W_Mon",
    "W_Tues",
    "W_Wed",
    "W_Thurs",
    "W_Fri",
    "W_Sat",
    "W_Sun",
    "RecurringMonthly",
    "M1_EveryWhatDay",
    "M1_OfEveryXmonths",
    "M2_TheWhatDay",
    "M2_OfEveryWhatDay",
    "M2_OfEveryXmonths",
    "RecurringYearly",
    "Y1_EverywhatDay",
    "Y1_OfEveryNameofMonth",
    "Y2_TheFirstSecondThirdFourthLast",
    "Y2_DayOfWeek",
    "Y2_OfEveryNameofMonth",
};

QString shown(const QVariant& value) {
    return value.isNull() ? QStringLiteral("(empty)") : value.toString();
}

bool yes(const QVariant& value) {
    return store::yesNoOr(value, false);
}

// SQL's "field <> 0": an empty field is not selected; a value that is not a
// number is (and the rule then reports it).
bool nonZero(const QVariant& value) {
    if (value.isNull()) return false;
    bool ok = false;
    const double number = value.toDouble(&ok);
    return !ok || number != 0;
}

std::optional<double> numberOf(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    bool ok = false;
    const double number = value.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(number)) return std::nullopt;
    return number;
}

int wholeNumber(const QVariant& value, const char* field, int lowest, int highest, const char* range) {
    const std::optional<double> number = numberOf(value);
    if (!number)
        throw RuleFieldError(QString::fromLatin1(field), shown(value), QStringLiteral("is not a number"));
    if (*number != std::floor(*number) || *number < lowest || *number > highest)
        throw RuleFieldError(QString::fromLatin1(field), shown(value), QString::fromLatin1(range));
    return static_cast<int>(*number);
}

}  // namespace

RuleFieldError::RuleFieldError(QString field, QString value, const QString& problem)
    : std::runtime_error(QStringLiteral("%1 \"%2\" %3").arg(field, value, problem).toStdString()),
      m_field(std::move(field)),
      m_value(std::move(value)),
      m_problem(problem) {}

QString schedulerColumns(const QString& tablePrefix) {
    QStringList columns;
    for (const char* column : kColumns) columns << tablePrefix + QString::fromLatin1(column);
    return columns.join(QStringLiteral(", "));
}

ScheduleRow readScheduleRow(const QSqlQuery& query, int first) {
    int i = first;
    const auto next = [&]() { return query.value(i++); };
    ScheduleRow row;
    row.Scheduler_ID = next().toInt();
    row.Macro_ID = next().toInt();
    row.Disabled = yes(next());
    row.startdate = next();
    row.starttime = next();
    row.Sunset = yes(next());
    row.before = yes(next());
    row.hours = next();
    row.RecurringDaily = yes(next());
    row.D1_EveryXdays = next();
    row.D2_EveryWeekDay = yes(next());
    row.D3_EveryWeekEndDay = yes(next());
    row.RecurringWeekly = yes(next());
    row.W_EveryXweeks = next();
    for (bool& day : row.weekDays) day = yes(next());
    row.RecurringMonthly = yes(next());
    row.M1_EveryWhatDay = next();
    row.M1_OfEveryXmonths = next();
    row.M2_TheWhatDay = next();
    row.M2_OfEveryWhatDay = next();
    row.M2_OfEveryXmonths = next();
    row.RecurringYearly = yes(next());
    row.Y1_EverywhatDay = next();
    row.Y1_OfEveryNameofMonth = next();
    row.Y2_TheFirstSecondThirdFourthLast = next();
    row.Y2_DayOfWeek = next();
    row.Y2_OfEveryNameofMonth = next();
    return row;
}

bool selects(RuleKind kind, const ScheduleRow& row) {
    switch (kind) {
        case RuleKind::SpecificDate:
            return !row.RecurringDaily && !row.RecurringWeekly && !row.RecurringMonthly &&
                   !row.RecurringYearly;
        case RuleKind::EveryXDays:
            return row.RecurringDaily && nonZero(row.D1_EveryXdays);
        case RuleKind::EveryWeekDay:
            return row.RecurringDaily && row.D2_EveryWeekDay;
        case RuleKind::EveryWeekEndDay:
            return row.RecurringDaily && row.D3_EveryWeekEndDay;
        case RuleKind::EveryXWeeks:
            return row.RecurringWeekly && nonZero(row.W_EveryXweeks);
        case RuleKind::DayOfEveryXMonths:
            return row.RecurringMonthly && nonZero(row.M1_EveryWhatDay) && nonZero(row.M1_OfEveryXmonths);
        case RuleKind::NthWeekdayOfEveryXMonths:
            return row.RecurringMonthly && !row.M2_TheWhatDay.isNull();
        case RuleKind::DayOfNamedMonth:
            return row.RecurringYearly && nonZero(row.Y1_EverywhatDay);
        case RuleKind::NthWeekdayOfNamedMonth:
            return row.RecurringYearly && !row.Y2_TheFirstSecondThirdFourthLast.isNull();
    }
    return false;
}

std::optional<LocalDay> nextOccurrence(RuleKind kind, const ScheduleRow& row, LocalDateTime from) {
    const LocalDateTime start = startDateOf(row);
    switch (kind) {
        case RuleKind::SpecificDate:
            return nextSpecificDate(start, startTimeOf(row), from);
        case RuleKind::EveryXDays:
            return nextEveryXDays(start, startTimeOf(row), countField(row.D1_EveryXdays, "D1_EveryXdays"),
                                  from);
        case RuleKind::EveryWeekDay:
            return nextEveryWeekDay(start, from);
        case RuleKind::EveryWeekEndDay:
            return nextEveryWeekEndDay(start, from);
        case RuleKind::EveryXWeeks:
            return nextEveryXWeeks(start, startTimeOf(row), countField(row.W_EveryXweeks, "W_EveryXweeks"),
                                   row.weekDays, from);
        case RuleKind::DayOfEveryXMonths:
            return nextDayOfEveryXMonths(start, dayOfMonthField(row.M1_EveryWhatDay, "M1_EveryWhatDay"),
                                         countField(row.M1_OfEveryXmonths, "M1_OfEveryXmonths"), from);
        case RuleKind::NthWeekdayOfEveryXMonths:
            return nextNthWeekdayOfEveryXMonths(start, ordinalFromWord(row.M2_TheWhatDay.toString()),
                                                weekdayField(row.M2_OfEveryWhatDay, "M2_OfEveryWhatDay"),
                                                countField(row.M2_OfEveryXmonths, "M2_OfEveryXmonths"), from);
        case RuleKind::DayOfNamedMonth:
            return nextDayOfNamedMonth(start, startTimeOf(row),
                                       dayOfMonthField(row.Y1_EverywhatDay, "Y1_EverywhatDay"),
                                       monthField(row.Y1_OfEveryNameofMonth, "Y1_OfEveryNameofMonth"), from);
        case RuleKind::NthWeekdayOfNamedMonth:
            return nextNthWeekdayOfNamedMonth(
                start, startTimeOf(row), ordinalFromWord(row.Y2_TheFirstSecondThirdFourthLast.toString()),
                weekdayField(row.Y2_DayOfWeek, "Y2_DayOfWeek"),
                monthField(row.Y2_OfEveryNameofMonth, "Y2_OfEveryNameofMonth"), from);
    }
    return std::nullopt;
}

LocalDateTime startDateOf(const ScheduleRow& row) {
    if (row.startdate.typeId() == QMetaType::QDateTime && row.startdate.toDateTime().isValid())
        return fromQDateTime(row.startdate.toDateTime());
    if (const auto parsed = parseDateTimeText(row.startdate.toString())) return *parsed;
    throw RuleFieldError(QStringLiteral("startdate"), shown(row.startdate), QStringLiteral("is not a date"));
}

TimeOfDay startTimeOf(const ScheduleRow& row) {
    const QString text = row.starttimeText();
    if (text.isEmpty()) return std::nullopt;
    if (const auto parsed = parseTimeOfDayText(text)) return *parsed;
    throw RuleFieldError(QStringLiteral("starttime"), text, QStringLiteral("is not a time of day"));
}

seconds offsetOf(const ScheduleRow& row) {
    const QString text = row.hours.isNull() ? QString() : row.hours.toString().trimmed();
    if (text.isEmpty()) return seconds(0);
    const auto parsed = parseTimeOfDayText(text);
    if (!parsed) throw RuleFieldError(QStringLiteral("hours"), text, QStringLiteral("is not a time of day"));
    return floor<minutes>(*parsed);  // hours and minutes; seconds play no part
}

int countField(const QVariant& value, const char* field) {
    return wholeNumber(value, field, 1, 100000, "is not a whole number of 1 or more");
}

int dayOfMonthField(const QVariant& value, const char* field) {
    return wholeNumber(value, field, 1, 31, "is not a day of the month (1-31)");
}

int weekdayField(const QVariant& value, const char* field) {
    if (const auto weekday = weekdayFromName(value.toString())) return *weekday;
    throw RuleFieldError(QString::fromLatin1(field), shown(value), QStringLiteral("is not a day name"));
}

unsigned monthField(const QVariant& value, const char* field) {
    if (const auto month = monthFromName(value.toString())) return *month;
    throw RuleFieldError(QString::fromLatin1(field), shown(value), QStringLiteral("is not a month name"));
}

}  // namespace qv::schedule
