#include "schedule/calendar_reminders.h"

#include "clock/clock.h"
#include "macros/macro_runner.h"
#include "schedule/logging.h"
#include "store/database.h"
#include "store/monitor_record.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace qv::schedule {

CalendarReminders::CalendarReminders(store::Database& main, store::MonitorSink& monitor,
                                     macros::MacroRunner& macros, const qv::Clock& clock,
                                     QString calendarPath)
    : m_db(main),
      m_monitorWriter(monitor, clock, lcSchedule),
      m_macros(macros),
      m_clock(clock),
      m_path(std::move(calendarPath)),
      m_watchStart(clock.now()) {}

void CalendarReminders::setCalendarPath(const QString& path) {
    if (path == m_path) return;
    m_path = path;
    m_files.clear();
    m_pathMissingReported = false;
}

std::optional<QString> CalendarReminders::macroOfReminder(const QString& text) {
    if (text.left(kMarker.size()).toUpper() != kMarker) return std::nullopt;
    // Spaces only, as the reminder's text is written.
    QString name = text.mid(kMarker.size());
    qsizetype first = 0;
    while (first < name.size() && name[first] == QLatin1Char(' ')) ++first;
    qsizetype last = name.size();
    while (last > first && name[last - 1] == QLatin1Char(' ')) --last;
    return name.mid(first, last - first);
}

int CalendarReminders::onMinute(const QDateTime& now) {
    if (m_path.trimmed().isEmpty()) return 0;
    if (!m_dismissedLoaded && !loadDismissed()) return 0;
    refreshFiles();

    const QDateTime from = std::max(m_watchStart, now.addSecs(-60 * kCatchUpMinutes));
    std::vector<DueAlarm> due;
    for (const auto& [path, file] : m_files) {
        if (!file.alarms) continue;
        for (DueAlarm& alarm : file.alarms->dueBetween(from, now, now.timeZone())) {
            if (!m_dismissed.contains(alarm.key)) due.push_back(std::move(alarm));
        }
    }
    std::sort(due.begin(), due.end(), [](const DueAlarm& a, const DueAlarm& b) {
        return a.trigger != b.trigger ? a.trigger < b.trigger : a.key < b.key;
    });

    int handled = 0;
    for (const DueAlarm& alarm : due) {
        if (m_dismissed.contains(alarm.key)) continue;  // the same alarm in two files
        // Dismissed first: a macro that fails must not make it fire again.
        try {
            dismiss(alarm, now);
        } catch (const store::StoreError& error) {
            m_monitorWriter.warning(
                QStringLiteral("Calendar reminder \"%1\" could not be dismissed, so it was not run: %2")
                    .arg(alarm.text, QString::fromStdString(error.what())));
            continue;
        }
        ++handled;
        if (const auto macro = macroOfReminder(alarm.text)) {
            m_monitorWriter.write(store::MonitorType::Outlook, QStringLiteral("Outlook Scheduled Event"),
                                  {.macro = *macro});
            try {
                m_macros.RunMacro(*macro);
            } catch (const std::exception& error) {
                qCWarning(lcSchedule) << "RunMacro failed for reminder" << *macro << error.what();
            }
        }
    }
    return handled;
}

void CalendarReminders::refreshFiles() {
    const QFileInfo target(m_path);
    QStringList paths;
    if (target.isDir()) {
        const QDir dir(target.absoluteFilePath());
        for (const QFileInfo& entry : dir.entryInfoList(
                 {QStringLiteral("*.ics")}, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase))
            paths << entry.absoluteFilePath();
    } else if (target.isFile()) {
        paths << target.absoluteFilePath();
    } else {
        if (!m_pathMissingReported)
            m_monitorWriter.warning(QStringLiteral("Calendar reminders: %1 was not found").arg(m_path));
        m_pathMissingReported = true;
        m_files.clear();
        return;
    }
    m_pathMissingReported = false;

    std::map<QString, WatchedFile> files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        auto known = m_files.find(path);
        if (known != m_files.end() && known->second.size == info.size() &&
            known->second.modified == info.lastModified()) {
            files.emplace(path, std::move(known->second));
            continue;
        }
        WatchedFile file;
        file.size = info.size();
        file.modified = info.lastModified();
        QFile reading(path);
        QString error;
        if (!reading.open(QIODevice::ReadOnly)) {
            error = reading.errorString();
        } else {
            file.alarms = CalendarAlarms::parse(reading.readAll(), &error);
        }
        if (!file.alarms)
            m_monitorWriter.warning(
                QStringLiteral("Calendar file %1 was ignored until it changes: %2").arg(path, error));
        files.emplace(path, std::move(file));
    }
    m_files = std::move(files);
}

bool CalendarReminders::loadDismissed() {
    try {
        QSqlQuery query = m_db.prepare(QStringLiteral("SELECT ReminderKey FROM DismissedReminders"));
        m_db.exec(query);
        while (query.next()) m_dismissed.insert(query.value(0).toString());
        m_dismissedLoaded = true;
        return true;
    } catch (const store::StoreError& error) {
        // Without them a reminder could fire twice; better none until fixed.
        m_monitorWriter.warning(
            QStringLiteral("Calendar reminders are off: %1").arg(QString::fromStdString(error.what())));
        m_path.clear();
        return false;
    }
}

void CalendarReminders::dismiss(const DueAlarm& alarm, const QDateTime& now) {
    QSqlQuery insert = m_db.prepare(
        QStringLiteral("INSERT INTO DismissedReminders (ReminderKey, DismissedAt) VALUES (?, ?)"));
    insert.bindValue(0, alarm.key);
    insert.bindValue(1, qv::dateTimeText(now));
    m_db.exec(insert);
    m_dismissed.insert(alarm.key);
}

}  // namespace qv::schedule
