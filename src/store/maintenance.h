#pragma once
// Start-up database maintenance: before anything opens them, the main database
// and the monitor log are checked and compacted into a fresh file, backed up
// under today's weekday name, and, when missing or damaged, restored from the
// newest usable weekday backup of the last seven days or else from the blank
// template. A damaged file is kept aside under a new name, never deleted.
//
// Every step is reported as a debug-list line; lines starting "###" or "####"
// are failures.

#include "store/data_paths.h"

#include <QDate>
#include <QDateTime>
#include <QStringList>

#include <functional>

namespace qv::store {

struct MaintenanceResult {
    QStringList debugLines;
    // Not empty: nothing could be put in place of a database. Show it as a
    // critical message and end the process.
    QString fatalMessage;
    // What the user must hear of in the monitor: a database that was damaged
    // or missing and was restored, naming the file and the backup.
    QStringList notices;

    bool canStart() const { return fatalMessage.isEmpty(); }
};

// The files looked after for one database (DbKind::Main or DbKind::MonitorLog).
struct MaintainedFiles {
    DbKind kind = DbKind::Main;
    QString live;          // master/quorvel.db, master/monitorlog.db
    QString compact;       // master/Compact_Quorvel.db, master/Compact_MonitorLog.db
    QString backupFolder;  // systembackup
    QString backupPrefix;  // Backup_Quorvel, Backup_MonitorLog
    QString templatePath;  // Newquorvel.db, NewMonitorLog.db in the data directory

    QString backupPath(const QString& weekday) const;
};

MaintainedFiles maintainedFiles(const DataPaths& paths, DbKind kind);

// The three-letter English day name, "Mon" to "Sun": one fixed name per day,
// whatever the machine's language, so the rotation keeps its seven files.
QString weekdayName(const QDate& date);

// The splash caption while maintenance runs.
QString maintenanceCaption();

// Runs the whole routine. now gives today's weekday and the names of files
// kept aside. debugLine, when given, receives each line as it happens (so a
// crash still leaves them in debug.log); all of them are in the result too.
// Runs before any database is opened and leaves none open.
MaintenanceResult runDatabaseMaintenance(const DataPaths& paths, const QDateTime& now,
                                         const std::function<void(const QString&)>& debugLine = {});

}  // namespace qv::store
