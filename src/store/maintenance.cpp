#include "store/maintenance.h"

#include "store/database.h"
#include "store/db_file_check.h"
#include "store/file_steps.h"
#include "store/log.h"
#include "store/maintenance_texts.h"
#include "store/store_error.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <cerrno>

namespace qv::store {

namespace {

// A usable backup, or the weekday and error of the last one tried.
struct BackupCandidate {
    bool found = false;
    QString path;
    QString weekday;
    int error = ENOENT;
};

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

class MaintenanceRun {
public:
    MaintenanceRun(const DataPaths& paths, const QDateTime& now,
                   const std::function<void(const QString&)>& sink)
        : m_paths(paths), m_now(now), m_sink(sink) {}

    MaintenanceResult run();

private:
    void line(const QString& text);
    void deleteCompact(const MaintainedFiles& files, const MaintenanceTexts& texts);
    bool compactAndBackUp(const MaintainedFiles& files, const MaintenanceTexts& texts);
    void deleteTodaysBackup(const MaintainedFiles& files, const MaintenanceTexts& texts);
    void backUp(const MaintainedFiles& files, const MaintenanceTexts& texts);
    bool replaceDamaged(const MaintainedFiles& files, const MaintenanceTexts& texts, const QString& reason);
    bool restoreMissing(const MaintainedFiles& files, const MaintenanceTexts& texts);
    BackupCandidate newestUsableBackup(const MaintainedFiles& files, const MaintenanceTexts& texts);
    bool copyTemplate(const MaintainedFiles& files, const MaintenanceTexts& texts);
    bool ensureTemplate(const MaintainedFiles& files, const MaintenanceTexts& texts);
    void setAsideOrphanJournal(const QString& live);

    DataPaths m_paths;
    QDateTime m_now;
    const std::function<void(const QString&)>& m_sink;
    MaintenanceResult m_result;
};

void MaintenanceRun::line(const QString& text) {
    m_result.debugLines << text;
    qCInfo(lcStore).noquote() << "maintenance:" << text;
    if (m_sink) m_sink(text);
}

MaintenanceResult MaintenanceRun::run() {
    line(QStringLiteral("Compact And Repair Routine Starts -->"));
    const MaintainedFiles main = maintainedFiles(m_paths, DbKind::Main);
    const MaintainedFiles log = maintainedFiles(m_paths, DbKind::MonitorLog);

    bool created = false;
    const FileStep master = makeFolder(QFileInfo(main.live).absolutePath(), &created);
    if (created)
        line(QStringLiteral("Create \\Master Folder"));
    else if (!master.ok)
        line(QStringLiteral("#### Could not create \\Master Folder error %1").arg(master.error));

    deleteCompact(main, mainDatabaseTexts());
    deleteCompact(log, monitorLogTexts());

    // A main database restored here is not compacted until the next start.
    if (fileExists(main.live)) {
        if (!compactAndBackUp(main, mainDatabaseTexts())) return m_result;
    } else if (!restoreMissing(main, mainDatabaseTexts())) {
        return m_result;
    }

    line(QStringLiteral(" "));
    line(QStringLiteral("...now do same for MonitorLog.db"));
    // The monitor log is compacted and backed up even right after a restore.
    if (!fileExists(log.live) && !restoreMissing(log, monitorLogTexts())) return m_result;
    compactAndBackUp(log, monitorLogTexts());
    return m_result;
}

void MaintenanceRun::deleteCompact(const MaintainedFiles& files, const MaintenanceTexts& texts) {
    const FileStep step = removeFile(files.compact);
    if (step.ok || step.error == ENOENT)
        line(texts.compactDeleted);
    else
        line(texts.compactNotDeleted.arg(step.error));
}

bool MaintenanceRun::compactAndBackUp(const MaintainedFiles& files, const MaintenanceTexts& texts) {
    line(texts.exists);
    // Checked before it is compacted or backed up: a damaged or incomplete
    // file must never take the place of today's good backup.
    const DbFileCheck compaction = compactDatabaseFile(files.live, files.compact, files.kind);
    if (compaction.newer) {
        // Left byte for byte as it is, and no backup is made of it.
        line(QStringLiteral("#### ") + fileName(files.live) + QStringLiteral(": ") + compaction.reason);
        m_result.fatalMessage = QStringLiteral(
                                    "The database %1 was not opened: %2. It was left untouched; "
                                    "run the newer version of Quorvel.")
                                    .arg(QDir::toNativeSeparators(files.live), compaction.reason);
        return false;
    }
    if (!compaction.ok) {
        line(texts.compactErrors);
        line(QStringLiteral("#### ") + compaction.reason);
        if (!compaction.damaged) {
            // The file is sound; only the step failed (disk full, no write
            // permission). Replacing it with an older backup would lose data.
            line(texts.keptUncompacted);
            return true;
        }
        return replaceDamaged(files, texts, compaction.reason);
    }

    line(texts.compacted);
    // A journal that still holds changes after our connection closed belongs to
    // someone still writing; replacing the file would lose them.
    const QString wal = files.live + QStringLiteral("-wal");
    FileStep replaced;
    if (QFileInfo(wal).size() > 0) {
        replaced = {false, EBUSY, QStringLiteral("the journal is in use")};
    } else {
        removeFile(wal);
        removeFile(files.live + QStringLiteral("-shm"));
        // One rename replaces the file, so no moment is left without it.
        replaced = renameReplacing(files.compact, files.live);
    }
    // The lines keep the order of the steps the rename stands for: the old
    // file deleted, today's backup deleted, the compacted file renamed.
    if (replaced.ok) line(texts.deletedLive);
    deleteTodaysBackup(files, texts);
    if (replaced.ok) {
        line(texts.renamed);
    } else {
        line(texts.notRenamed.arg(replaced.error));
        removeFile(files.compact);
    }
    backUp(files, texts);
    return true;
}

void MaintenanceRun::deleteTodaysBackup(const MaintainedFiles& files, const MaintenanceTexts& texts) {
    const QString weekday = weekdayName(m_now.date());
    const FileStep removed = removeFile(files.backupPath(weekday));
    if (removed.ok)
        line(texts.backupDeleted.arg(weekday));
    else if (removed.error == ENOENT)
        line(texts.backupNotFound.arg(weekday));
    else
        line(texts.backupNotDeleted.arg(weekday, QString::number(removed.error)));
}

void MaintenanceRun::backUp(const MaintainedFiles& files, const MaintenanceTexts& texts) {
    const QString weekday = weekdayName(m_now.date());
    const QString backup = files.backupPath(weekday);
    makeFolder(files.backupFolder);  // a failure shows in the copy below
    const FileStep copied = copyReplacing(files.live, backup);
    if (copied.ok)
        line(texts.copiedToBackup.arg(weekday));
    else
        line(texts.notCopiedToBackup.arg(weekday, QString::number(copied.error)));
}

bool MaintenanceRun::replaceDamaged(const MaintainedFiles& files, const MaintenanceTexts& texts,
                                    const QString& reason) {
    QString keptAs;
    const FileStep aside = setAside(files.live, QStringLiteral("damaged"), m_now, &keptAs);
    if (!aside.ok) {
        line(texts.badNotKept.arg(aside.error));
        line(texts.badLeftInPlace);
        return true;
    }
    line(texts.badKept.arg(fileName(keptAs)));

    const QString damaged = QStringLiteral("%1 was damaged (%2); it is kept as %3")
                                .arg(fileName(files.live), reason, fileName(keptAs));
    const BackupCandidate backup = newestUsableBackup(files, texts);
    int error = backup.error;
    if (backup.found) {
        const FileStep copied = copyReplacing(backup.path, files.live);
        if (copied.ok) {
            line(texts.restoredFromBackup.arg(backup.weekday));
            m_result.notices << damaged + QStringLiteral(" and was restored from the backup ") +
                                    fileName(backup.path);
            return true;
        }
        error = copied.error;
    }
    line(texts.restoreFailed.arg(backup.weekday, QString::number(error)));
    line(texts.anotherError.arg(error));
    m_result.notices << damaged +
                            QStringLiteral(". No backup could be used: it was replaced by a blank database");
    return copyTemplate(files, texts);
}

bool MaintenanceRun::restoreMissing(const MaintainedFiles& files, const MaintenanceTexts& texts) {
    line(texts.missing);
    setAsideOrphanJournal(files.live);
    const BackupCandidate backup = newestUsableBackup(files, texts);
    if (backup.found && copyReplacing(backup.path, files.live).ok) {
        line(kRolledBack);
        m_result.notices << QStringLiteral("%1 was missing and was restored from the backup %2")
                                .arg(fileName(files.live), fileName(backup.path));
        return true;
    }
    line(kBackupsNoGood);
    return copyTemplate(files, texts);
}

void MaintenanceRun::setAsideOrphanJournal(const QString& live) {
    // A journal without its database would be replayed into whatever file is
    // put in its place; it may also be all that is left of the changes.
    const QString wal = live + QStringLiteral("-wal");
    if (fileExists(wal)) {
        const QString target = asideName(wal, QStringLiteral("orphan"), m_now);
        const FileStep moved = renameReplacing(wal, target);
        if (moved.ok)
            line(QStringLiteral("### Kept the leftover journal %1 as %2")
                     .arg(fileName(wal), fileName(target)));
        else
            line(QStringLiteral("#### Could not set aside the leftover journal %1 error %2")
                     .arg(fileName(wal))
                     .arg(moved.error));
    }
    removeFile(live + QStringLiteral("-shm"));
}

BackupCandidate MaintenanceRun::newestUsableBackup(const MaintainedFiles& files,
                                                   const MaintenanceTexts& texts) {
    // Today's backup (made at an earlier start today, when this file was still
    // sound), then yesterday back to six days ago: every name once, newest first.
    BackupCandidate candidate;
    for (int offset = 0; offset <= 6; ++offset) {
        candidate.weekday = weekdayName(m_now.date().addDays(-offset));
        candidate.path = files.backupPath(candidate.weekday);
        if (!fileExists(candidate.path)) {
            candidate.error = ENOENT;
            continue;
        }
        const DbFileCheck check = checkDatabaseFile(candidate.path, files.kind);
        if (check.ok) {
            candidate.found = true;
            return candidate;
        }
        candidate.error = check.code;
        line(texts.backupUnusable.arg(candidate.weekday, check.reason));
    }
    return candidate;
}

bool MaintenanceRun::copyTemplate(const MaintainedFiles& files, const MaintenanceTexts& texts) {
    if (ensureTemplate(files, texts) && copyReplacing(files.templatePath, files.live).ok) {
        line(kBlankCopied);
        return true;
    }
    line(texts.blankFailed);
    m_result.fatalMessage = texts.fatal;
    return false;
}

bool MaintenanceRun::ensureTemplate(const MaintainedFiles& files, const MaintenanceTexts& texts) {
    if (fileExists(files.templatePath)) {
        const DbFileCheck check = checkDatabaseFile(files.templatePath);
        if (check.ok || !check.damaged)
            return true;  // sound, or unreadable only to the check: the copy will tell
        QString keptAs;
        const FileStep aside = setAside(files.templatePath, QStringLiteral("damaged"), m_now, &keptAs);
        if (!aside.ok) {
            line(texts.templateNotMade.arg(aside.reason));
            return false;
        }
        line(texts.templateUnusable.arg(fileName(keptAs)));
    }
    try {
        Database::open(files.templatePath, files.kind).close();
    } catch (const StoreError& error) {
        line(texts.templateNotMade.arg(QString::fromUtf8(error.what())));
        return false;
    }
    line(texts.templateMade);
    return true;
}

}  // namespace

QString MaintainedFiles::backupPath(const QString& weekday) const {
    return QDir(backupFolder).filePath(backupPrefix + weekday + QStringLiteral(".db"));
}

MaintainedFiles maintainedFiles(const DataPaths& paths, DbKind kind) {
    const QDir dir(paths.dir);
    const bool main = kind != DbKind::MonitorLog;
    MaintainedFiles files;
    files.kind = main ? DbKind::Main : DbKind::MonitorLog;
    files.live = main ? paths.mainDb() : paths.monitorLog();
    files.compact =
        QDir(QFileInfo(files.live).absolutePath())
            .filePath(main ? QStringLiteral("Compact_Quorvel.db") : QStringLiteral("Compact_MonitorLog.db"));
    files.backupFolder = dir.filePath(QStringLiteral("systembackup"));
    files.backupPrefix = main ? QStringLiteral("Backup_Quorvel") : QStringLiteral("Backup_MonitorLog");
    files.templatePath =
        dir.filePath(main ? QStringLiteral("Newquorvel.db") : QStringLiteral("NewMonitorLog.db"));
    return files;
}

QString weekdayName(const QDate& date) {
    static const std::array<const char*, 7> kNames = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const int day = date.dayOfWeek();  // 1 = Monday
    return day >= 1 && day <= 7 ? QString::fromLatin1(kNames[static_cast<std::size_t>(day - 1)]) : QString();
}

QString maintenanceCaption() {
    return QStringLiteral("compacting Quorvel.db");
}

MaintenanceResult runDatabaseMaintenance(const DataPaths& paths, const QDateTime& now,
                                         const std::function<void(const QString&)>& debugLine) {
    return MaintenanceRun(paths, now, debugLine).run();
}

}  // namespace qv::store
