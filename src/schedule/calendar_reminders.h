#pragma once
// Calendar reminders: alarms of the events and tasks in iCalendar files (an
// .ics file, or every .ics file of a folder) take the place of the mail
// application's reminders.
//
// Each minute the alarms that came due since the program started (at most
// kCatchUpMinutes back, for a late tick) are handled once each: an item whose
// summary starts with the marker QUORVEL (any case) runs the macro named after
// it, with the monitor record "Outlook Scheduled Event". Every reminder that
// came due is then dismissed: its key goes into DismissedReminders, so it never
// fires again, also after a restart.
//
// Files are read again only when their size or time changes. A file that
// cannot be read or parsed gives one "Warning **" record and is ignored until
// it changes; a missing path gives one record until it appears.

#include "comms/monitor_writer.h"
#include "schedule/calendar_alarms.h"

#include <QDateTime>
#include <QSet>
#include <QString>

#include <map>
#include <optional>

namespace qv {
class Clock;
}
namespace qv::macros {
class MacroRunner;
}
namespace qv::store {
class Database;
class MonitorSink;
}  // namespace qv::store

namespace qv::schedule {

class CalendarReminders {
public:
    static inline const QString kMarker = QStringLiteral("QUORVEL");
    static constexpr int kCatchUpMinutes = 10;

    // The watch starts at the clock's reading now: alarms due before it are
    // not run (they came due while the program was not running).
    CalendarReminders(store::Database& main, store::MonitorSink& monitor, macros::MacroRunner& macros,
                      const qv::Clock& clock, QString calendarPath);

    void setCalendarPath(const QString& path);
    QString calendarPath() const { return m_path; }

    // Handles the reminders due at `now`; returns how many were dismissed.
    // Never throws: database trouble is written to the monitor.
    int onMinute(const QDateTime& now);

    // What a reminder's text asks for: the macro name after the marker, or
    // nothing when the text does not start with the marker.
    static std::optional<QString> macroOfReminder(const QString& text);

private:
    struct WatchedFile {
        qint64 size = -1;
        QDateTime modified;
        std::optional<CalendarAlarms> alarms;  // empty while the file is bad
    };

    void refreshFiles();
    bool loadDismissed();
    void dismiss(const DueAlarm& alarm, const QDateTime& now);

    store::Database& m_db;
    comms::MonitorWriter m_monitorWriter;
    macros::MacroRunner& m_macros;
    const qv::Clock& m_clock;
    QString m_path;
    QDateTime m_watchStart;
    std::map<QString, WatchedFile> m_files;
    bool m_pathMissingReported = false;
    bool m_dismissedLoaded = false;
    QSet<QString> m_dismissed;
};

}  // namespace qv::schedule
