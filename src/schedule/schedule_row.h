#pragma once
// One row of Scheduler as the rules read it, and the rule kinds it selects.
//
// Fields are kept as stored and turned into numbers, names and dates only by
// the rule that needs them, so a bad value fails only the rules that use it.
// Yes/no fields follow the database's conventions (NULL is no; older files
// hold yes as -1 or "True").

#include "schedule/rules.h"

#include <QSqlQuery>
#include <QString>
#include <QVariant>

#include <stdexcept>
#include <vector>

namespace qv::schedule {

// A rule field that cannot be turned into what the rule needs: a month name
// that names no month, text in a number field, a count below 1.
class RuleFieldError : public std::runtime_error {
public:
    RuleFieldError(QString field, QString value, const QString& problem);
    QString field() const { return m_field; }
    QString value() const { return m_value; }
    QString problem() const { return m_problem; }

private:
    QString m_field;
    QString m_value;
    QString m_problem;
};

// The rule kinds in the order a rebuild runs them.
enum class RuleKind {
    SpecificDate,
    EveryXDays,
    EveryWeekDay,
    EveryWeekEndDay,
    EveryXWeeks,
    DayOfEveryXMonths,
    NthWeekdayOfEveryXMonths,
    DayOfNamedMonth,
    NthWeekdayOfNamedMonth,
};
inline constexpr RuleKind kRuleKindsInOrder[] = {
    RuleKind::SpecificDate,
    RuleKind::EveryXDays,
    RuleKind::EveryWeekDay,
    RuleKind::EveryWeekEndDay,
    RuleKind::EveryXWeeks,
    RuleKind::DayOfEveryXMonths,
    RuleKind::NthWeekdayOfEveryXMonths,
    RuleKind::DayOfNamedMonth,
    RuleKind::NthWeekdayOfNamedMonth,
};

struct ScheduleRow {
    int Scheduler_ID = 0;
    int Macro_ID = 0;
    bool Disabled = false;
    QVariant startdate;
    QVariant starttime;
    bool Sunset = false;
    bool before = false;
    QVariant hours;
    bool RecurringDaily = false;
    QVariant D1_EveryXdays;
    bool D2_EveryWeekDay = false;
    bool D3_EveryWeekEndDay = false;
    bool RecurringWeekly = false;
    QVariant W_EveryXweeks;
    WeekDays weekDays{};  // W_Mon ... W_Sun
    bool RecurringMonthly = false;
    QVariant M1_EveryWhatDay;
    QVariant M1_OfEveryXmonths;
    QVariant M2_TheWhatDay;
    QVariant M2_OfEveryWhatDay;
    QVariant M2_OfEveryXmonths;
    bool RecurringYearly = false;
    QVariant Y1_EverywhatDay;
    QVariant Y1_OfEveryNameofMonth;
    QVariant Y2_TheFirstSecondThirdFourthLast;
    QVariant Y2_DayOfWeek;
    QVariant Y2_OfEveryNameofMonth;

    // The fixed start time's text; empty for a sun-relative schedule.
    QString starttimeText() const { return starttime.isNull() ? QString() : starttime.toString().trimmed(); }
    bool isSunRelative() const { return starttimeText().isEmpty(); }
};

// The column list every reader of Scheduler selects, in the order readScheduleRow expects.
QString schedulerColumns(const QString& tablePrefix = QString());
// Reads the columns of schedulerColumns() starting at `first` from the
// query's current row.
ScheduleRow readScheduleRow(const QSqlQuery& query, int first = 0);

// Whether the row is selected by the rule kind (the rows each rule opens).
bool selects(RuleKind kind, const ScheduleRow& row);

// The next occurrence date of the row under one rule kind, from the reference
// moment. Throws RuleFieldError for a field the rule cannot use.
std::optional<LocalDay> nextOccurrence(RuleKind kind, const ScheduleRow& row, LocalDateTime from);

// Field conversions, each throwing RuleFieldError naming the field.
LocalDateTime startDateOf(const ScheduleRow& row);
TimeOfDay startTimeOf(const ScheduleRow& row);                  // empty when sun-relative
std::chrono::seconds offsetOf(const ScheduleRow& row);          // `hours` as hours and minutes
int countField(const QVariant& value, const char* field);       // a whole number, 1 or more
int dayOfMonthField(const QVariant& value, const char* field);  // 1 ... 31
int weekdayField(const QVariant& value, const char* field);
unsigned monthField(const QVariant& value, const char* field);

}  // namespace qv::schedule
