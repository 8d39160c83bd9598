#pragma once
// The debug-list lines of start-up maintenance, one set per database. They
// keep the wording (and the letter case) users and support staff know; the
// file names are our .db files. "%1" is the weekday or the error number, "%2"
// the error number where a line has both.

#include <QString>

namespace qv::store {

struct MaintenanceTexts {
    QString compactDeleted;     // the leftover compact file is gone (or was not there)
    QString compactNotDeleted;  // + error number
    QString exists;
    QString compacted;
    QString deletedLive;
    QString backupNotFound;    // weekday
    QString backupDeleted;     // weekday
    QString backupNotDeleted;  // weekday, error
    QString renamed;
    QString notRenamed;         // error
    QString copiedToBackup;     // weekday
    QString notCopiedToBackup;  // weekday, error
    QString compactErrors;
    QString keptUncompacted;
    QString badKept;     // the name it is kept under
    QString badNotKept;  // error
    QString badLeftInPlace;
    QString backupUnusable;      // weekday, reason
    QString restoredFromBackup;  // weekday
    QString restoreFailed;       // weekday, error
    QString anotherError;        // error
    QString missing;
    QString templateMade;
    QString templateNotMade;   // reason
    QString templateUnusable;  // the name it is kept under
    QString blankFailed;
    QString fatal;
};

const MaintenanceTexts& mainDatabaseTexts();
const MaintenanceTexts& monitorLogTexts();

// Shared by both databases.
inline const QString kRolledBack = QStringLiteral("Successfully Rolled back to a previous backup!");
inline const QString kBackupsNoGood =
    QStringLiteral("#### #### Previous backups no good. Copying a blank template database... ");
inline const QString kBlankCopied = QStringLiteral("Blank Database successfully copied... ");

}  // namespace qv::store
