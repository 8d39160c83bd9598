#pragma once
// The schedule listing (the "Show Me Scheduled events for:" window) as a
// table model: one row per workspace row computed from the viewed day, with
// the marks the window colours by, the sunrise and sunset of that day, and
// the enable/disable and delete actions. After each refresh the workspace is
// rebuilt once more from the current moment, as the rest of the program
// expects it.
//
// Column 0 (hidden in the window) is the schedule number; then "Day", "Date",
// "Time", "Schedule Description", "Macro it will run".

#include "schedule/local_time.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QStringList>

#include <optional>
#include <vector>

namespace qv {
class Clock;
}
namespace qv::store {
class Database;
}

namespace qv::schedule {

class ScheduleWorkspace;

struct ListingRow {
    int schedulerId = 0;
    LocalDateTime start{};
    QString day;          // "Monday"
    QString date;         // "dd/MM/yyyy"
    QString time;         // "HH:mm"
    QString description;  // GetScheduleDescription
    QString macro;
    bool passed = false;    // today's row whose time has come (viewing today)
    bool otherDay = false;  // not on the viewed day: yellow
    bool disabled = false;  // light red
};

struct ButtonLook {
    QString caption;
    std::optional<unsigned> rgb;  // background; empty for the system button colour
};

class ScheduleListing : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role {
        SchedulerIdRole = Qt::UserRole + 1,
        PassedRole,
        OtherDayRole,
        DisabledRole,
        BackgroundRgbRole,  // 0xFFFF00 other day, 0xFFC0C0 disabled (wins); none otherwise
    };
    enum Column {
        NumberColumn,
        DayColumn,
        DateColumn,
        TimeColumn,
        DescriptionColumn,
        MacroColumn,
        ColumnCount
    };

    static constexpr unsigned kYellow = 0xFFFF00;
    static constexpr unsigned kLightRed = 0xFFC0C0;
    static constexpr unsigned kLightGreen = 0xC0FFC0;
    static inline const QString kPickerCaption = QStringLiteral("Show Me Scheduled events for:");
    static inline const QString kWeekCaption = QStringLiteral("Next 7 days");
    static constexpr int kWeekDays = 7;
    static inline const QString kTodayButton = QStringLiteral("Go to Today");
    static inline const QString kNotTodayNote = QStringLiteral("Note: you are not looking at Today's Date");
    static inline const QString kCreateButton = QStringLiteral("Create a New Schedule");
    static inline const QString kEditButton = QStringLiteral("Edit this Schedule");
    static inline const QString kDeleteButton = QStringLiteral("Delete this Schedule");
    static inline const QString kLegendToday = QStringLiteral("= events for today");
    static inline const QString kLegendFuture = QStringLiteral("= events sometime in the future");
    static inline const QString kLegendDisabled = QStringLiteral("= temporarily disabled by user");
    static inline const QString kEnableDisable = QStringLiteral("Enable/Disable");
    static inline const QString kEnableThis = QStringLiteral("Enable this Schedule");
    static inline const QString kDisableThis = QStringLiteral("Disable this Schedule");
    static inline const QString kDeleteQuestion =
        QStringLiteral("Are you sure that you wish to delete the Schedule that you have highlighted?");
    static inline const QString kDeleteTitle = QStringLiteral("Delete Scheduled Event?");
    static const QStringList kColumnTitles;  // "", "Day", "Date", "Time", ...
    static constexpr int kColumnWidthPercent[] = {0, 11, 11, 10, 40, 28};

    ScheduleListing(store::Database& main, ScheduleWorkspace& workspace, const qv::Clock& clock,
                    QObject* parent = nullptr);

    // RefreshGrid for the viewed day (the picker's date at the current time of
    // day; an invalid date is today). Throws StoreError; the rows then stay as
    // they were.
    void refresh(QDate viewed);
    void refresh() { refresh(m_viewed); }

    // The week view: every occurrence of the viewed day and the six days after
    // it, in time order, each day computed from its midnight (so today's
    // occurrences that have come are listed, as passed); rows after the first
    // day are marked otherDay.
    void setWeekView(bool week) { m_week = week; }
    bool weekView() const { return m_week; }

    QDate viewedDate() const { return m_viewed; }
    bool viewingToday() const;
    QString pickerText() const;  // "dddd,  d/MMM/yyyy"
    QString sunriseText() const { return m_sunrise; }
    QString sunsetText() const { return m_sunset; }
    const std::vector<ListingRow>& listingRows() const { return m_rows; }

    // The enable/disable button for the selected schedule (none: "Enable/Disable").
    ButtonLook enableButton(std::optional<int> selectedId) const;
    // Stores the negation of the schedule's Disabled and refreshes. False when
    // there is no such schedule. Throws StoreError.
    bool toggleDisabled(int schedulerId);
    // Deletes the schedule (after the window asked kDeleteQuestion) and refreshes.
    void deleteSchedule(int schedulerId);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    // Rebuilds the workspace from reference and appends its rows (only those
    // on onlyDay when given).
    void readRows(std::vector<ListingRow>& rows, LocalDateTime reference, LocalDay viewedDay,
                  LocalDateTime wallNow, std::optional<LocalDay> onlyDay);

    store::Database& m_db;
    ScheduleWorkspace& m_workspace;
    const qv::Clock& m_clock;
    QDate m_viewed;
    QString m_sunrise;
    QString m_sunset;
    std::vector<ListingRow> m_rows;
    bool m_week = false;
};

// The listing of one day as text lines, for `quorvel schedules [--date]`:
// the day, sunrise and sunset, then one tab-separated line per row with its
// marks. Runs the same refresh as the window (and so leaves the workspace
// computed from now).
QStringList scheduleListingText(ScheduleListing& listing, QDate viewed);

}  // namespace qv::schedule
