#include "schedule/schedule_listing.h"

#include "clock/clock.h"
#include "schedule/description.h"
#include "schedule/occurrence_time.h"
#include "schedule/schedule_row.h"
#include "schedule/workspace.h"
#include "store/database.h"
#include "store/field_values.h"

#include <QSqlRecord>

namespace qv::schedule {

using namespace std::chrono;

const QStringList ScheduleListing::kColumnTitles = {
    QString(),
    QStringLiteral("Day"),
    QStringLiteral("Date"),
    QStringLiteral("Time"),
    QStringLiteral("Schedule Description"),
    QStringLiteral("Macro it will run"),
};

namespace {

QString shortDate(LocalDay day) {
    const year_month_day date = ymd(day);
    return QStringLiteral("%1/%2/%3")
        .arg(static_cast<unsigned>(date.day()), 2, 10, QLatin1Char('0'))
        .arg(static_cast<unsigned>(date.month()), 2, 10, QLatin1Char('0'))
        .arg(static_cast<int>(date.year()), 4, 10, QLatin1Char('0'));
}

}  // namespace

ScheduleListing::ScheduleListing(store::Database& main, ScheduleWorkspace& workspace, const qv::Clock& clock,
                                 QObject* parent)
    : QAbstractTableModel(parent), m_db(main), m_workspace(workspace), m_clock(clock) {}

void ScheduleListing::refresh(QDate viewed) {
    if (!viewed.isValid()) viewed = m_clock.now().date();  // nothing chosen yet: today
    // References are whole minutes: a schedule of the current minute is still
    // shown (as passed) and still counts as the next occurrence.
    const QDateTime now = m_clock.now();
    const LocalDateTime wallNow = floor<minutes>(fromQDateTime(now));
    const LocalDay viewedDay = fromQDate(viewed);
    std::vector<ListingRow> rows;
    if (m_week) {
        // Each day's occurrences computed from its midnight, kept only when
        // they fall on that day: today's that have come are listed as passed.
        for (int offset = 0; offset < kWeekDays; ++offset) {
            const LocalDay day = viewedDay + days(offset);
            const LocalDateTime reference = at(day, seconds{0});
            readRows(rows, reference, viewedDay, wallNow, day);
        }
    } else {
        readRows(rows, at(viewedDay, timeOfDay(wallNow)), viewedDay, wallNow, std::nullopt);
    }

    // The rest of the program expects the workspace to start from now again.
    m_workspace.CalcNextDateTimeforThisSchedule(floor<minutes>(fromQDateTime(m_clock.now())));

    const SunTimes sun = m_workspace.sun().sunTimes(viewedDay);
    beginResetModel();
    m_viewed = viewed;
    m_rows = std::move(rows);
    m_sunrise = hhmm(toNearestMinute(sun.sunrise));
    m_sunset = hhmm(toNearestMinute(sun.sunset));
    endResetModel();
}

void ScheduleListing::readRows(std::vector<ListingRow>& rows, LocalDateTime reference, LocalDay viewedDay,
                               LocalDateTime wallNow, std::optional<LocalDay> onlyDay) {
    m_workspace.CalcNextDateTimeforThisSchedule(reference);
    QSqlQuery query = m_db.prepare(
        QStringLiteral("SELECT ScheduleWorkspace.StartDateTime, Macros.Macro, %1 "
                       "FROM (ScheduleWorkspace INNER JOIN Scheduler ON ScheduleWorkspace.Scheduler_ID = "
                       "Scheduler.Scheduler_ID) INNER JOIN Macros ON Scheduler.Macro_ID = Macros.Macro_ID "
                       "ORDER BY ScheduleWorkspace.StartDateTime, ScheduleWorkspace.Scheduler_ID")
            .arg(schedulerColumns(QStringLiteral("Scheduler."))));
    m_db.exec(query);
    const LocalDay today = dayOf(wallNow);
    const bool viewingToday = viewedDay == today;
    while (query.next()) {
        const auto start = parseDateTimeText(query.value(0).toString());
        if (!start || (onlyDay && dayOf(*start) != *onlyDay)) continue;
        const ScheduleRow schedule = readScheduleRow(query, 2);
        ListingRow row;
        row.schedulerId = schedule.Scheduler_ID;
        row.start = *start;
        row.day = dayName(weekdayNumber(dayOf(*start)));
        row.date = shortDate(dayOf(*start));
        row.time = hhmm(timeOfDay(*start));
        row.description = describeSchedule(schedule);
        row.macro = query.value(1).toString();
        row.passed = viewingToday && dayOf(*start) == today && floor<minutes>(*start) <= wallNow;
        row.otherDay = dayOf(*start) != viewedDay;
        row.disabled = schedule.Disabled;
        rows.push_back(std::move(row));
    }
}

bool ScheduleListing::viewingToday() const {
    return m_viewed == m_clock.now().date();
}

QString ScheduleListing::pickerText() const {
    // "dddd,  d/MMM/yyyy" with English names whatever the machine's language.
    static const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!m_viewed.isValid()) return {};
    return QStringLiteral("%1,  %2/%3/%4")
        .arg(dayName(m_viewed.dayOfWeek()))
        .arg(m_viewed.day())
        .arg(QLatin1String(kShortMonths[m_viewed.month() - 1]))
        .arg(m_viewed.year(), 4, 10, QLatin1Char('0'));
}

ButtonLook ScheduleListing::enableButton(std::optional<int> selectedId) const {
    if (selectedId) {
        for (const ListingRow& row : m_rows) {
            if (row.schedulerId == *selectedId)
                return row.disabled ? ButtonLook{kEnableThis, kLightGreen}
                                    : ButtonLook{kDisableThis, kLightRed};
        }
    }
    return ButtonLook{kEnableDisable, std::nullopt};
}

bool ScheduleListing::toggleDisabled(int schedulerId) {
    QSqlQuery read = m_db.prepare(QStringLiteral("SELECT Disabled FROM Scheduler WHERE Scheduler_ID = ?"));
    read.bindValue(0, schedulerId);
    m_db.exec(read);
    if (!read.next()) return false;
    const bool disabled = store::yesNoOr(read.value(0), false);
    read.finish();
    QSqlQuery write =
        m_db.prepare(QStringLiteral("UPDATE Scheduler SET Disabled = ? WHERE Scheduler_ID = ?"));
    write.bindValue(0, disabled ? 0 : 1);
    write.bindValue(1, schedulerId);
    m_db.exec(write);
    refresh();
    return true;
}

void ScheduleListing::deleteSchedule(int schedulerId) {
    QSqlQuery remove = m_db.prepare(QStringLiteral("DELETE FROM Scheduler WHERE Scheduler_ID = ?"));
    remove.bindValue(0, schedulerId);
    m_db.exec(remove);
    refresh();
}

int ScheduleListing::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ScheduleListing::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ScheduleListing::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= ColumnCount) return {};
    const ListingRow& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case NumberColumn:
                    return row.schedulerId;
                case DayColumn:
                    return row.day;
                case DateColumn:
                    return row.date;
                case TimeColumn:
                    return row.time;
                case DescriptionColumn:
                    return row.description;
                case MacroColumn:
                    return row.macro;
                default:
                    return {};
            }
        case SchedulerIdRole:
            return row.schedulerId;
        case PassedRole:
            return row.passed;
        case OtherDayRole:
            return row.otherDay;
        case DisabledRole:
            return row.disabled;
        case BackgroundRgbRole:
            if (row.disabled) return kLightRed;
            if (row.otherDay) return kYellow;
            return {};
        default:
            return {};
    }
}

QVariant ScheduleListing::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return kColumnTitles[section];
}

QHash<int, QByteArray> ScheduleListing::roleNames() const {
    QHash<int, QByteArray> names = QAbstractTableModel::roleNames();
    names[SchedulerIdRole] = "schedulerId";
    names[PassedRole] = "passed";
    names[OtherDayRole] = "otherDay";
    names[DisabledRole] = "disabled";
    names[BackgroundRgbRole] = "backgroundRgb";
    return names;
}

QStringList scheduleListingText(ScheduleListing& listing, QDate viewed) {
    listing.refresh(viewed);
    QStringList lines;
    lines << ScheduleListing::kPickerCaption + QLatin1Char(' ') + listing.pickerText();
    lines << QStringLiteral("Sunrise: %1  Sunset: %2").arg(listing.sunriseText(), listing.sunsetText());
    if (!listing.viewingToday()) lines << ScheduleListing::kNotTodayNote;
    QStringList titles = ScheduleListing::kColumnTitles;
    titles[0] = QStringLiteral("#");
    lines << (titles << QStringLiteral("Marks")).join(QLatin1Char('\t'));
    for (const ListingRow& row : listing.listingRows()) {
        QStringList marks;
        if (row.passed) marks << QStringLiteral("passed");
        if (row.otherDay) marks << QStringLiteral("future");
        if (row.disabled) marks << QStringLiteral("disabled");
        lines << QStringList{QString::number(row.schedulerId),
                             row.day,
                             row.date,
                             row.time,
                             row.description,
                             row.macro,
                             marks.join(QLatin1Char(','))}
                     .join(QLatin1Char('\t'));
    }
    return lines;
}

}  // namespace qv::schedule
