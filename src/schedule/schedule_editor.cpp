#include "schedule/schedule_editor.h"

#include "schedule/description.h"
#include "schedule/schedule_firing.h"
#include "schedule/schedule_row.h"
#include "store/database.h"
#include "store/field_values.h"
#include "store/transaction.h"

#include <QSqlRecord>
#include <QStringList>

#include <utility>

namespace qv::schedule {

namespace {

using Values = std::vector<std::pair<const char*, QVariant>>;

const QString kBadDays = QStringLiteral("Please enter the number of days as a whole number of 1 or more");
const QString kBadWeeks = QStringLiteral("Please enter the number of weeks as a whole number of 1 or more");
const QString kBadMonths = QStringLiteral("Please enter the number of months as a whole number of 1 or more");
const QString kBadDayOfMonth =
    QStringLiteral("Please enter the day of the month as a whole number from 1 to 31");
const QString kBadOrdinal = QStringLiteral("Please choose First, Second, Third, Fourth or Last");
const QString kBadDayName = QStringLiteral("Please choose a day of the week from the list");
const QString kBadMonth = QStringLiteral("Please choose a month from the list");

std::optional<int> wholeNumber(const QString& text, int lowest, int highest) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    if (!ok || number < lowest || number > highest) return std::nullopt;
    return number;
}

bool isOrdinal(const QString& word) {
    return ordinalFromWord(word) != Ordinal::Other;
}

SaveOutcome refused(const QString& message, MessageIcon icon = MessageIcon::Information) {
    return SaveOutcome{false, message, icon, 0};
}

QString hhmmText(QTime time) {
    return time.toString(QStringLiteral("HH:mm"));
}

QString ordinalOfDay(int dayOfMonth) {
    static const char* const kWords[] = {"First", "Second", "Third", "Fourth", "Last"};
    return QString::fromLatin1(kWords[std::min((dayOfMonth - 1) / 7, 4)]);
}

// Every field of a new Scheduler row: the editor's choices over the defaults
// a new row has (no, 0, empty).
Values rowValues(const ScheduleDraft& draft, bool disabled) {
    const bool sun = draft.timeMode == ScheduleDraft::TimeMode::SunriseSunset;
    // Written from the date and time fields, never through a local QDateTime,
    // which would move a time that the clocks skip.
    const QTime pickerTime = draft.startDateTime.isValid() ? draft.startDateTime : QTime(0, 0);
    const QString startdate = draft.startDate.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
                              (sun ? pickerTime.toString(QStringLiteral("HH:mm:ss"))
                                   : hhmmText(draft.specificTime) + QStringLiteral(":00"));
    Values values = {
        {"Macro_ID", *draft.macroId},
        {"Disabled", disabled ? 1 : 0},
        {"startdate", startdate},
        {"starttime", sun ? QVariant() : QVariant(hhmmText(draft.specificTime))},
        {"hours", sun && draft.offset.isValid() ? hhmmText(draft.offset) : QStringLiteral("00:00")},
        {"\"before\"", sun && draft.beforeAfter == QLatin1String("Before") ? 1 : 0},
        {"Sunset", sun && draft.sunriseSunset == QLatin1String("Sunset") ? 1 : 0},
        {"RecurringDaily", 0},
        {"D1_EveryXdays", 0},
        {"D2_EveryWeekDay", 0},
        {"D3_EveryWeekEndDay", 0},
        {"RecurringWeekly", 0},
        {"W_EveryXweeks", 0},
        {"W_Mon", 0},
        {"W_Tues", 0},
        {"W_Wed", 0},
        {"W_Thurs", 0},
        {"W_Fri", 0},
        {"W_Sat", 0},
        {"W_Sun", 0},
        {"RecurringMonthly", 0},
        {"M1_EveryWhatDay", 0},
        {"M1_OfEveryXmonths", 0},
        {"M2_TheWhatDay", QVariant()},
        {"M2_OfEveryWhatDay", QVariant()},
        {"M2_OfEveryXmonths", 0},
        {"RecurringYearly", 0},
        {"Y1_EverywhatDay", 0},
        {"Y1_OfEveryNameofMonth", QVariant()},
        {"Y2_TheFirstSecondThirdFourthLast", QVariant()},
        {"Y2_DayOfWeek", QVariant()},
        {"Y2_OfEveryNameofMonth", QVariant()},
    };
    const auto set = [&values](const char* field, const QVariant& value) {
        for (auto& [name, stored] : values) {
            if (qstrcmp(name, field) == 0) stored = value;
        }
    };
    if (!draft.recurs || !draft.pattern) return values;

    using P = ScheduleDraft::Pattern;
    using S = ScheduleDraft::SubRule;
    switch (*draft.pattern) {
        case P::Daily:
            set("RecurringDaily", 1);
            switch (draft.dailyRule) {
                case ScheduleDraft::DailyRule::EveryXDays:
                    set("D1_EveryXdays", draft.everyXDays.trimmed().toInt());
                    break;
                case ScheduleDraft::DailyRule::EveryWeekDay:
                    set("D2_EveryWeekDay", 1);
                    break;
                case ScheduleDraft::DailyRule::EveryWeekEndDay:
                    set("D3_EveryWeekEndDay", 1);
                    break;
            }
            break;
        case P::Weekly: {
            set("RecurringWeekly", 1);
            set("W_EveryXweeks", draft.everyXWeeks.trimmed().toInt());
            static const char* const kDays[] = {"W_Mon", "W_Tues", "W_Wed", "W_Thurs",
                                                "W_Fri", "W_Sat",  "W_Sun"};
            for (std::size_t i = 0; i < 7; ++i) set(kDays[i], draft.weekDays[i] ? 1 : 0);
            break;
        }
        case P::Monthly:
            set("RecurringMonthly", 1);
            if (draft.monthlyRule == S::First) {
                set("M1_EveryWhatDay", draft.m1Day.trimmed().toInt());
                set("M1_OfEveryXmonths", draft.m1Months.trimmed().toInt());
            } else {
                set("M2_TheWhatDay", ordinalWord(ordinalFromWord(draft.m2Ordinal)));
                set("M2_OfEveryWhatDay", dayName(*weekdayFromName(draft.m2DayName)));
                set("M2_OfEveryXmonths", draft.m2Months.trimmed().toInt());
            }
            break;
        case P::Yearly:
            set("RecurringYearly", 1);
            if (draft.yearlyRule == S::First) {
                set("Y1_EverywhatDay", draft.y1Day.trimmed().toInt());
                set("Y1_OfEveryNameofMonth", monthName(*monthFromName(draft.y1Month)));
            } else {
                set("Y2_TheFirstSecondThirdFourthLast", ordinalWord(ordinalFromWord(draft.y2Ordinal)));
                set("Y2_DayOfWeek", dayName(*weekdayFromName(draft.y2DayName)));
                set("Y2_OfEveryNameofMonth", monthName(*monthFromName(draft.y2Month)));
            }
            break;
    }
    return values;
}

}  // namespace

ScheduleEditor::ScheduleEditor(store::Database& main, ScheduleFiring& firing)
    : m_db(main), m_firing(firing) {}

ScheduleDraft ScheduleEditor::defaultDraft(const QDateTime& now) {
    ScheduleDraft draft;
    const QDate today = now.date();
    draft.startDate = today;
    draft.startDateTime = now.time();
    draft.specificTime = now.time();
    draft.offset = QTime(0, 0);
    draft.m1Day = QString::number(today.day());
    draft.m2Ordinal = ordinalOfDay(today.day());
    draft.m2DayName = dayName(today.dayOfWeek());
    draft.y1Month = monthName(static_cast<unsigned>(today.month()));
    draft.y1Day = QString::number(today.day());
    draft.y2Ordinal = draft.m2Ordinal;
    draft.y2DayName = draft.m2DayName;
    draft.y2Month = draft.y1Month;
    return draft;
}

QStringList ScheduleEditor::ordinalWords() {
    return {QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third"),
            QStringLiteral("Fourth"), QStringLiteral("Last")};
}

QStringList ScheduleEditor::dayNames() {
    QStringList names;
    for (int day = 1; day <= 7; ++day) names << dayName(day);
    return names;
}

QStringList ScheduleEditor::monthNames() {
    QStringList names;
    for (unsigned month = 1; month <= 12; ++month) names << monthName(month);
    return names;
}

std::vector<MacroChoice> ScheduleEditor::macroChoices() {
    QSqlQuery query = m_db.prepare(QStringLiteral("SELECT Macro, Macro_ID FROM Macros ORDER BY Macro"));
    m_db.exec(query);
    std::vector<MacroChoice> choices;
    while (query.next()) choices.push_back({query.value(0).toString(), query.value(1).toInt()});
    return choices;
}

std::optional<SaveOutcome> ScheduleEditor::validate(const ScheduleDraft& draft) {
    if (!draft.macroId) return refused(kNoMacro);
    if (draft.timeMode == ScheduleDraft::TimeMode::None) return refused(kNoTimeMode, MessageIcon::Critical);
    if (!draft.startDate.isValid()) return refused(QStringLiteral("Please choose a start date"));
    if (draft.timeMode == ScheduleDraft::TimeMode::SpecificTime && !draft.specificTime.isValid())
        return refused(QStringLiteral("Please choose a start time"));
    if (!draft.recurs || !draft.pattern) return std::nullopt;

    using P = ScheduleDraft::Pattern;
    switch (*draft.pattern) {
        case P::Daily:
            if (draft.dailyRule == ScheduleDraft::DailyRule::EveryXDays &&
                !wholeNumber(draft.everyXDays, 1, 100000))
                return refused(kBadDays);
            break;
        case P::Weekly:
            if (!wholeNumber(draft.everyXWeeks, 1, 100000)) return refused(kBadWeeks);
            break;
        case P::Monthly:
            if (draft.monthlyRule == ScheduleDraft::SubRule::First) {
                if (!wholeNumber(draft.m1Day, 1, 31)) return refused(kBadDayOfMonth);
                if (!wholeNumber(draft.m1Months, 1, 100000)) return refused(kBadMonths);
            } else {
                if (!isOrdinal(draft.m2Ordinal)) return refused(kBadOrdinal);
                if (!weekdayFromName(draft.m2DayName)) return refused(kBadDayName);
                if (!wholeNumber(draft.m2Months, 1, 100000)) return refused(kBadMonths);
            }
            break;
        case P::Yearly:
            if (draft.yearlyRule == ScheduleDraft::SubRule::First) {
                if (!monthFromName(draft.y1Month)) return refused(kBadMonth);
                if (!wholeNumber(draft.y1Day, 1, 31)) return refused(kBadDayOfMonth);
            } else {
                if (!isOrdinal(draft.y2Ordinal)) return refused(kBadOrdinal);
                if (!weekdayFromName(draft.y2DayName)) return refused(kBadDayName);
                if (!monthFromName(draft.y2Month)) return refused(kBadMonth);
            }
            break;
    }
    return std::nullopt;
}

QString ScheduleEditor::describeDraft(const ScheduleDraft& draft) {
    ScheduleDraft checked = draft;
    if (!checked.macroId) checked.macroId = 0;
    if (validate(checked)) return {};
    const Values values = rowValues(checked, false);
    const auto value = [&values](const char* field) {
        for (const auto& [name, stored] : values) {
            if (qstrcmp(name, field) == 0) return stored;
        }
        return QVariant();
    };
    const auto yes = [&value](const char* field) { return value(field).toInt() != 0; };
    ScheduleRow row;
    row.startdate = value("startdate");
    row.starttime = value("starttime");
    row.Sunset = yes("Sunset");
    row.before = yes("\"before\"");
    row.hours = value("hours");
    row.RecurringDaily = yes("RecurringDaily");
    row.D1_EveryXdays = value("D1_EveryXdays");
    row.D2_EveryWeekDay = yes("D2_EveryWeekDay");
    row.D3_EveryWeekEndDay = yes("D3_EveryWeekEndDay");
    row.RecurringWeekly = yes("RecurringWeekly");
    row.W_EveryXweeks = value("W_EveryXweeks");
    static const char* const kDays[] = {"W_Mon", "W_Tues", "W_Wed", "W_Thurs", "W_Fri", "W_Sat", "W_Sun"};
    for (std::size_t i = 0; i < 7; ++i) row.weekDays[i] = yes(kDays[i]);
    row.RecurringMonthly = yes("RecurringMonthly");
    row.M1_EveryWhatDay = value("M1_EveryWhatDay");
    row.M1_OfEveryXmonths = value("M1_OfEveryXmonths");
    row.M2_TheWhatDay = value("M2_TheWhatDay");
    row.M2_OfEveryWhatDay = value("M2_OfEveryWhatDay");
    row.M2_OfEveryXmonths = value("M2_OfEveryXmonths");
    row.RecurringYearly = yes("RecurringYearly");
    row.Y1_EverywhatDay = value("Y1_EverywhatDay");
    row.Y1_OfEveryNameofMonth = value("Y1_OfEveryNameofMonth");
    row.Y2_TheFirstSecondThirdFourthLast = value("Y2_TheFirstSecondThirdFourthLast");
    row.Y2_DayOfWeek = value("Y2_DayOfWeek");
    row.Y2_OfEveryNameofMonth = value("Y2_OfEveryNameofMonth");
    return describeSchedule(row);
}

SaveOutcome ScheduleEditor::save(const ScheduleDraft& draft) {
    if (auto refusal = validate(draft)) return *refusal;
    {
        // The MacroCombo entry may name a macro deleted since the list was filled.
        QSqlQuery macro = m_db.prepare(QStringLiteral("SELECT 1 FROM Macros WHERE Macro_ID = ?"));
        macro.bindValue(0, *draft.macroId);
        m_db.exec(macro);
        if (!macro.next()) return refused(kNoMacro);
    }

    SaveOutcome outcome;
    {
        store::Transaction transaction(m_db);
        bool disabled = false;
        bool replacing = false;
        if (draft.schedulerId) {
            QSqlQuery old =
                m_db.prepare(QStringLiteral("SELECT Disabled FROM Scheduler WHERE Scheduler_ID = ?"));
            old.bindValue(0, *draft.schedulerId);
            m_db.exec(old);
            if (old.next()) {
                disabled = store::yesNoOr(old.value(0), false);
                replacing = true;
            }
            old.finish();
            QSqlQuery remove = m_db.prepare(QStringLiteral("DELETE FROM Scheduler WHERE Scheduler_ID = ?"));
            remove.bindValue(0, *draft.schedulerId);
            m_db.exec(remove);
        }
        Values values = rowValues(draft, disabled);
        // An edited schedule keeps its number, so what already ran for it this
        // minute is not run again and what is still due stays due.
        if (replacing) values.emplace_back("Scheduler_ID", *draft.schedulerId);
        QStringList columns;
        QStringList marks;
        for (const auto& [column, value] : values) {
            columns << QString::fromLatin1(column);
            marks << QStringLiteral("?");
        }
        QSqlQuery insert =
            m_db.prepare(QStringLiteral("INSERT INTO Scheduler (%1) VALUES (%2)")
                             .arg(columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
        for (int i = 0; i < static_cast<int>(values.size()); ++i)
            insert.bindValue(i, values[static_cast<std::size_t>(i)].second);
        m_db.exec(insert);
        outcome.schedulerId = insert.lastInsertId().toInt();
        transaction.commit();
    }
    outcome.saved = true;
    m_firing.rebuildAndFire();
    return outcome;
}

std::optional<ScheduleDraft> ScheduleEditor::loadDraft(int schedulerId) {
    QSqlQuery query = m_db.prepare(
        QStringLiteral("SELECT %1 FROM Scheduler WHERE Scheduler_ID = ?").arg(schedulerColumns()));
    query.bindValue(0, schedulerId);
    m_db.exec(query);
    if (!query.next()) return std::nullopt;
    const ScheduleRow row = readScheduleRow(query);

    ScheduleDraft draft;
    draft.schedulerId = row.Scheduler_ID;
    draft.macroId = row.Macro_ID;
    if (const auto start = parseDateTimeText(row.startdate.toString())) {
        draft.startDate = toQDate(dayOf(*start));
        draft.startDateTime = toQTime(timeOfDay(*start));
    }
    if (row.isSunRelative()) {
        draft.timeMode = ScheduleDraft::TimeMode::SunriseSunset;
        const auto offset = parseTimeOfDayText(row.hours.toString());
        draft.offset = offset ? toQTime(*offset) : QTime(0, 0);
        draft.beforeAfter = row.before ? QStringLiteral("Before") : QStringLiteral("After");
        draft.sunriseSunset = row.Sunset ? QStringLiteral("Sunset") : QStringLiteral("Sunrise");
    } else {
        draft.timeMode = ScheduleDraft::TimeMode::SpecificTime;
        const auto time = parseTimeOfDayText(row.starttimeText());
        draft.specificTime = time ? toQTime(*time) : QTime(0, 0);
    }

    const auto text = [](const QVariant& value) { return value.isNull() ? QString() : value.toString(); };
    const auto number = [](const QVariant& value) { return QString::number(store::intOr(value, 0)); };
    using P = ScheduleDraft::Pattern;
    using S = ScheduleDraft::SubRule;
    draft.recurs = row.RecurringDaily || row.RecurringWeekly || row.RecurringMonthly || row.RecurringYearly;
    if (row.RecurringDaily) {
        draft.pattern = P::Daily;
        if (row.D2_EveryWeekDay)
            draft.dailyRule = ScheduleDraft::DailyRule::EveryWeekDay;
        else if (row.D3_EveryWeekEndDay)
            draft.dailyRule = ScheduleDraft::DailyRule::EveryWeekEndDay;
        draft.everyXDays = number(row.D1_EveryXdays);
    } else if (row.RecurringWeekly) {
        draft.pattern = P::Weekly;
        draft.everyXWeeks = number(row.W_EveryXweeks);
        draft.weekDays = row.weekDays;
    } else if (row.RecurringMonthly) {
        draft.pattern = P::Monthly;
        draft.monthlyRule = row.M2_TheWhatDay.isNull() ? S::First : S::Second;
        draft.m1Day = number(row.M1_EveryWhatDay);
        draft.m1Months = number(row.M1_OfEveryXmonths);
        draft.m2Ordinal = text(row.M2_TheWhatDay);
        draft.m2DayName = text(row.M2_OfEveryWhatDay);
        draft.m2Months = number(row.M2_OfEveryXmonths);
    } else if (row.RecurringYearly) {
        draft.pattern = P::Yearly;
        draft.yearlyRule = row.Y2_TheFirstSecondThirdFourthLast.isNull() ? S::First : S::Second;
        draft.y1Day = number(row.Y1_EverywhatDay);
        draft.y1Month = text(row.Y1_OfEveryNameofMonth);
        draft.y2Ordinal = text(row.Y2_TheFirstSecondThirdFourthLast);
        draft.y2DayName = text(row.Y2_DayOfWeek);
        draft.y2Month = text(row.Y2_OfEveryNameofMonth);
    }
    return draft;
}

}  // namespace qv::schedule
