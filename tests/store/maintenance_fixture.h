#pragma once
// Shared set-up for the maintenance tests: databases marked with a text so a
// test can tell which file ended up where, and a start on a fixed Monday.

#include "store_fixture.h"

#include "store/database.h"
#include "store/maintenance.h"

#include <QDir>
#include <QFileInfo>

namespace qv::store::test {

class MaintenanceTest : public StoreTest {
protected:
    // Monday 13 May 2024.
    const QDateTime monday{QDate(2024, 5, 13), QTime(8, 0, 0)};

    MaintainedFiles mainFiles() const { return maintainedFiles(paths, DbKind::Main); }
    MaintainedFiles logFiles() const { return maintainedFiles(paths, DbKind::MonitorLog); }

    // A database of the kind at path, holding `marker` (an area name, or a
    // monitor record's comment), closed again. Copies of one file made per
    // kind, as opening a new main database builds its whole schema.
    static void makeDatabase(const QString& path, DbKind kind, const QString& marker) {
        static QTemporaryDir prototypes;
        const QString prototype = prototypes.filePath(dbKindName(kind) + QStringLiteral(".db"));
        if (!QFileInfo::exists(prototype)) Database::open(prototype, kind).close();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(prototype, path));
        RawDb raw(path);
        raw.exec(kind == DbKind::Main
                     ? QStringLiteral("INSERT INTO AreaNames (Area, AreaName) VALUES (1, ?)")
                     : QStringLiteral("INSERT INTO EventLog (Origin, Comments) VALUES ('System', ?)"),
                 {marker});
    }

    // The marker the file holds; empty for a blank database.
    static QString markerOf(const QString& path, DbKind kind) {
        Database db = Database::open(path, kind);
        QSqlQuery query = db.prepare(
            kind == DbKind::Main ? QStringLiteral("SELECT AreaName FROM AreaNames WHERE Area = 1")
                                 : QStringLiteral("SELECT Comments FROM EventLog ORDER BY ID LIMIT 1"));
        db.exec(query);
        return query.next() ? query.value(0).toString() : QString();
    }

    void makeBackup(DbKind kind, const QString& weekday, const QString& marker) {
        const MaintainedFiles files = maintainedFiles(paths, kind);
        ASSERT_TRUE(QDir().mkpath(files.backupFolder));
        makeDatabase(files.backupPath(weekday), kind, marker);
    }

    // A file beside the live databases, such as a damaged copy kept aside.
    QString inMaster(const QString& name) const {
        return QDir(QFileInfo(paths.mainDb()).absolutePath()).filePath(name);
    }

    static QByteArray garbage() { return QByteArray("\x01\x02 not a database \xFF\xFE ").repeated(400); }

    // The files of a folder, sorted.
    static QStringList filesIn(const QString& folder) {
        QStringList names = QDir(folder).entryList(QDir::Files);
        names.sort();
        return names;
    }

    MaintenanceResult run() { return runDatabaseMaintenance(paths, monday); }
};

}  // namespace qv::store::test
