// Start-up maintenance over real files: compaction and weekday backups, the
// restore of a damaged or missing database from the newest usable backup or
// the blank template, and the debug lines of each step.

#include "maintenance_fixture.h"

#include "store/db_file_check.h"

#include <QRegularExpression>

#include <cerrno>
#include "support/case_names.h"

namespace qv::store::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

const QStringList kNowMonitorLog{QStringLiteral(" "), QStringLiteral("...now do same for MonitorLog.db")};

// The monitor log's lines when it is compacted and no backup of today exists yet.
const QStringList kLogCompacted{
    QStringLiteral("MonitorLog.db exists "),
    QStringLiteral("MonitorLog.db was compacted successfully to Compact_MonitorLog.db "),
    QStringLiteral("Deleted MonitorLog.db "),
    QStringLiteral("### Could not delete Backup_MonitorLogMon.db   it was not found"),
    QStringLiteral("Compact_MonitorLog.db was renamed as MonitorLog.db "),
    QStringLiteral("MonitorLog.db was copied to Backup_MonitorLogMon.db")};

TEST_F(MaintenanceTest, FirstStartCopiesBothTemplatesAndCompactsOnlyTheLog) {
    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());

    QStringList expected{
        QStringLiteral("Compact And Repair Routine Starts -->"),
        QStringLiteral("Create \\Master Folder"),
        QStringLiteral("Deleted Compact_quorvel (or it did not exist)"),
        QStringLiteral("Deleted Compact_Monitorlog (or it did not exist)"),
        QStringLiteral("#### #### No Quorvel.db was found! Reverting to a previous backup instead... "),
        QStringLiteral("#### #### Previous backups no good. Copying a blank template database... "),
        QStringLiteral("Created the blank template Newquorvel.db"),
        QStringLiteral("Blank Database successfully copied... ")};
    expected << kNowMonitorLog
             << QStringLiteral(
                    "#### #### No MonitorLog.db was found! Reverting to a previous backup instead... ")
             << QStringLiteral("#### #### Previous backups no good. Copying a blank template database... ")
             << QStringLiteral("Created the blank template NewMonitorLog.db")
             << QStringLiteral("Blank Database successfully copied... ") << kLogCompacted;
    EXPECT_THAT(result.debugLines, ElementsAreArray(expected));

    EXPECT_TRUE(QFileInfo::exists(mainFiles().templatePath));
    EXPECT_TRUE(QFileInfo::exists(logFiles().templatePath));
    // The main database restored this start is backed up at the next one.
    EXPECT_EQ(filesIn(mainFiles().backupFolder), QStringList{QStringLiteral("Backup_MonitorLogMon.db")});
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QString());
    EXPECT_EQ(markerOf(paths.monitorLog(), DbKind::MonitorLog), QString());
}

TEST_F(MaintenanceTest, EveryStartCompactsAndReplacesTodaysBackups) {
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("main data"));
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    {
        // Free space for the compaction to remove.
        Database db = Database::open(paths.mainDb(), DbKind::Main);
        db.exec(QStringLiteral("CREATE TABLE Ballast (Filler TEXT)"));
        db.exec(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6000) "
                           "INSERT INTO Ballast SELECT hex(randomblob(200)) FROM n"));
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        db.exec(QStringLiteral("DELETE FROM Ballast"));
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    const qint64 before = QFileInfo(paths.mainDb()).size();

    MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines, Contains(QStringLiteral("Quorvel.db was copied to Backup_QuorvelMon.db")));

    EXPECT_LT(QFileInfo(paths.mainDb()).size(), before / 4);
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("main data"));
    EXPECT_EQ(markerOf(mainFiles().backupPath(QStringLiteral("Mon")), DbKind::Main),
              QStringLiteral("main data"));
    EXPECT_EQ(markerOf(logFiles().backupPath(QStringLiteral("Mon")), DbKind::MonitorLog),
              QStringLiteral("log data"));
    EXPECT_FALSE(QFileInfo::exists(mainFiles().compact));
    EXPECT_FALSE(QFileInfo::exists(logFiles().compact));

    // A second start the same day overwrites today's backups.
    result = run();
    EXPECT_THAT(result.debugLines, Contains(QStringLiteral("Deleted Backup_QuorvelMon.db")));
    EXPECT_THAT(result.debugLines, Contains(QStringLiteral("Deleted Backup_MonitorLogMon.db")));
    EXPECT_EQ(filesIn(mainFiles().backupFolder), (QStringList{QStringLiteral("Backup_MonitorLogMon.db"),
                                                              QStringLiteral("Backup_QuorvelMon.db")}));
}

TEST_F(MaintenanceTest, GarbageMainDatabaseIsRestoredFromTheNewestBackupAndKeptAside) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    makeBackup(DbKind::Main, QStringLiteral("Fri"), QStringLiteral("friday"));
    makeBackup(DbKind::Main, QStringLiteral("Sun"), QStringLiteral("sunday"));
    makeBackup(DbKind::Main, QStringLiteral("Tue"), QStringLiteral("tuesday"));
    writeFile(paths.mainDb(), garbage());

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    const QString keptAs = QStringLiteral("quorvel.db.damaged-20240513-080000");
    const int errors =
        result.debugLines.indexOf(QStringLiteral("#### There were errors during compaction of quorvel.db "));
    ASSERT_GE(errors, 0);
    ASSERT_GT(result.debugLines.size(), errors + 1);
    EXPECT_THAT(result.debugLines[errors + 1].toStdString(), HasSubstr("not a database"));

    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("sunday"));
    // Nothing is lost: the damaged file is still there, byte for byte.
    EXPECT_EQ(fileBytes(inMaster(keptAs)), garbage());
    // The restored file is neither compacted nor backed up this start.
    EXPECT_FALSE(QFileInfo::exists(mainFiles().backupPath(QStringLiteral("Mon"))));
    EXPECT_EQ(markerOf(paths.monitorLog(), DbKind::MonitorLog), QStringLiteral("log data"));
}

TEST_F(MaintenanceTest, AnUnusableBackupIsPassedOverForTheNextOlderOne) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    ASSERT_TRUE(QDir().mkpath(mainFiles().backupFolder));
    writeFile(mainFiles().backupPath(QStringLiteral("Sun")), garbage());
    writeFile(mainFiles().backupPath(QStringLiteral("Sat")), QByteArray());  // cut short
    makeBackup(DbKind::Main, QStringLiteral("Fri"), QStringLiteral("friday"));
    writeFile(paths.mainDb(), garbage());

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_GE(result.debugLines.indexOf(
                  QRegularExpression(QStringLiteral("^### Backup_quorvelSun\\.db can not be used: .+"))),
              0);
    EXPECT_GE(result.debugLines.indexOf(
                  QRegularExpression(QStringLiteral("^### Backup_quorvelSat\\.db can not be used: .*empty"))),
              0);
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("friday"));
    // The unusable backups are left as they were.
    EXPECT_EQ(fileBytes(mainFiles().backupPath(QStringLiteral("Sun"))), garbage());
}

TEST_F(MaintenanceTest, GarbageMainDatabaseWithoutBackupsGetsTheTemplate) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    writeFile(paths.mainDb(), garbage());

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(
        result.debugLines,
        Contains(QStringLiteral("#### #### Another error %1 has occurred! Copy a Newquorvel.db instead... ")
                     .arg(ENOENT)));
    EXPECT_EQ(fileBytes(inMaster(QStringLiteral("quorvel.db.damaged-20240513-080000"))), garbage());
    EXPECT_TRUE(checkDatabaseFile(mainFiles().templatePath).ok);
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QString());
}

TEST_F(MaintenanceTest, AnExistingTemplateIsCopiedAsItIs) {
    makeDatabase(mainFiles().templatePath, DbKind::Main, QStringLiteral("site template"));
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines, Not(Contains(QStringLiteral("Created the blank template Newquorvel.db"))));
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("site template"));
}

TEST_F(MaintenanceTest, ADamagedTemplateIsKeptAsideAndMadeAgain) {
    writeFile(mainFiles().templatePath, garbage());
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines,
                Contains(QStringLiteral("### Newquorvel.db can not be used; kept as "
                                        "Newquorvel.db.damaged-20240513-080000 and made again")));
    EXPECT_EQ(fileBytes(QDir(paths.dir).filePath(QStringLiteral("Newquorvel.db.damaged-20240513-080000"))),
              garbage());
    EXPECT_TRUE(checkDatabaseFile(mainFiles().templatePath).ok);
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QString());
}

TEST_F(MaintenanceTest, MissingMainDatabaseRollsBackWithoutCompaction) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    makeBackup(DbKind::Main, QStringLiteral("Tue"), QStringLiteral("tuesday"));

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines,
                Contains(QStringLiteral("Successfully Rolled back to a previous backup!")));
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("tuesday"));
    // Only the monitor log gets today's backup.
    EXPECT_EQ(filesIn(mainFiles().backupFolder), (QStringList{QStringLiteral("Backup_MonitorLogMon.db"),
                                                              QStringLiteral("Backup_QuorvelTue.db")}));
}

TEST_F(MaintenanceTest, MissingMonitorLogIsRestoredThenCompactedAndBackedUp) {
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("main data"));
    makeBackup(DbKind::MonitorLog, QStringLiteral("Sat"), QStringLiteral("saturday log"));

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines, Contains(kLogCompacted[1]));
    EXPECT_EQ(markerOf(paths.monitorLog(), DbKind::MonitorLog), QStringLiteral("saturday log"));
    EXPECT_EQ(markerOf(logFiles().backupPath(QStringLiteral("Mon")), DbKind::MonitorLog),
              QStringLiteral("saturday log"));
}

TEST_F(MaintenanceTest, DamagedMonitorLogIsRestoredWithItsOwnLines) {
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("main data"));
    makeBackup(DbKind::MonitorLog, QStringLiteral("Thu"), QStringLiteral("thursday log"));
    writeFile(paths.monitorLog(), garbage());

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(
        result.debugLines,
        Contains(QStringLiteral("Successfully copied Backup_MonitorLogThu.db back to MonitorLog.db ")));
    EXPECT_EQ(markerOf(paths.monitorLog(), DbKind::MonitorLog), QStringLiteral("thursday log"));
    EXPECT_EQ(fileBytes(inMaster(QStringLiteral("monitorlog.db.damaged-20240513-080000"))), garbage());
}

TEST_F(MaintenanceTest, CorruptPagesInsideAValidFileCountAsDamaged) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    makeBackup(DbKind::Main, QStringLiteral("Sun"), QStringLiteral("sunday"));
    {
        Database db = Database::open(paths.mainDb(), DbKind::Main);
        db.exec(
            QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                           "INSERT INTO AreaNames (Area, AreaName) SELECT i, hex(randomblob(100)) FROM n"));
        db.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    }
    QByteArray bytes = fileBytes(paths.mainDb());
    ASSERT_GT(bytes.size(), 40 * 4096);
    // Scribble over pages well past the schema, where the rows live.
    for (qsizetype i = bytes.size() / 2; i < bytes.size() / 2 + 8 * 4096; ++i)
        bytes[i] = static_cast<char>(0xA5 ^ (i & 0xFF));
    writeFile(paths.mainDb(), bytes);

    const MaintenanceResult result = run();
    EXPECT_THAT(result.debugLines,
                Contains(QStringLiteral("#### There were errors during compaction of quorvel.db ")));
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("sunday"));
}

TEST_F(MaintenanceTest, LeftoverCompactFilesAreDeletedFirst) {
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("main data"));
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    writeFile(mainFiles().compact, QByteArray("half a compaction from an interrupted start"));
    writeFile(logFiles().compact, garbage());

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines,
                Contains(QStringLiteral("Quorvel.db was compacted successfully to Compact_Quorvel.db ")));
    EXPECT_THAT(result.debugLines, Contains(kLogCompacted[1]));
    EXPECT_FALSE(QFileInfo::exists(mainFiles().compact));
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("main data"));
}

TEST_F(MaintenanceTest, ACompactionThatFailsOnASoundFileKeepsTheFile) {
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("main data"));
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    // Something that can neither be deleted nor written over where the
    // compact file goes.
    ASSERT_TRUE(QDir().mkpath(QDir(mainFiles().compact).filePath(QStringLiteral("blocker"))));
    const QByteArray before = fileBytes(paths.mainDb());

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines,
                Contains(QStringLiteral("### Failed to delete Compact_quorvel  Error%1").arg(ENOTEMPTY)));
    EXPECT_THAT(result.debugLines,
                Contains(QStringLiteral("#### quorvel.db itself passed its check: it is kept uncompacted and "
                                        "not backed up this time")));
    EXPECT_EQ(fileBytes(paths.mainDb()), before);
    EXPECT_EQ(filesIn(QFileInfo(paths.mainDb()).absolutePath()),
              (QStringList{QStringLiteral("monitorlog.db"), QStringLiteral("quorvel.db")}));
}

TEST_F(MaintenanceTest, ChangesLeftInTheJournalByACrashSurviveCompaction) {
    // Files as a crash leaves them: the journal still holds the last change.
    QTemporaryDir crashed;
    const DataPaths running{crashed.path()};
    makeDatabase(running.mainDb(), DbKind::Main, QStringLiteral("checkpointed"));
    {
        Database db = Database::open(running.mainDb(), DbKind::Main);
        db.exec(QStringLiteral("PRAGMA wal_autocheckpoint = 0"));
        db.exec(QStringLiteral("UPDATE AreaNames SET AreaName = 'only in the journal' WHERE Area = 1"));
        ASSERT_TRUE(QFile::exists(running.mainDb() + QStringLiteral("-wal")));
        ASSERT_TRUE(QDir().mkpath(QFileInfo(paths.mainDb()).absolutePath()));
        ASSERT_TRUE(QFile::copy(running.mainDb(), paths.mainDb()));
        ASSERT_TRUE(
            QFile::copy(running.mainDb() + QStringLiteral("-wal"), paths.mainDb() + QStringLiteral("-wal")));
    }
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines, Contains(QStringLiteral("Compact_Quorvel.db was renamed as Quorvel.db ")));
    EXPECT_FALSE(QFileInfo::exists(paths.mainDb() + QStringLiteral("-wal")));
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("only in the journal"));
    EXPECT_EQ(markerOf(mainFiles().backupPath(QStringLiteral("Mon")), DbKind::Main),
              QStringLiteral("only in the journal"));
}

TEST_F(MaintenanceTest, AJournalWithoutItsDatabaseIsKeptAsideBeforeARestore) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    makeBackup(DbKind::Main, QStringLiteral("Sun"), QStringLiteral("sunday"));
    writeFile(paths.mainDb() + QStringLiteral("-wal"), QByteArray("journal of a lost file"));

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart());
    EXPECT_THAT(result.debugLines, Contains(QStringLiteral("### Kept the leftover journal quorvel.db-wal as "
                                                           "quorvel.db-wal.orphan-20240513-080000")));
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("sunday"));
    EXPECT_EQ(fileBytes(paths.mainDb() + QStringLiteral("-wal.orphan-20240513-080000")),
              QByteArray("journal of a lost file"));
}

TEST_F(MaintenanceTest, NothingWritableEndsWithTheCriticalMessage) {
    // The data directory lies below a plain file: no folder or file can be made.
    writeFile(inDir(QStringLiteral("plainfile")), QByteArray("x"));
    const DataPaths blocked{inDir(QStringLiteral("plainfile/data"))};
    std::vector<QString> streamed;
    const MaintenanceResult result =
        runDatabaseMaintenance(blocked, monday, [&](const QString& line) { streamed.push_back(line); });

    EXPECT_FALSE(result.canStart());
    EXPECT_EQ(
        result.fatalMessage,
        QStringLiteral("Quorvel could not locate the Master Database, backup databases or the blank template "
                       "database with which to open.\r\nUnfortunately Quorvel can not continue loading. You "
                       "will need to check if Quorvel has been properly installed?"));
    ASSERT_FALSE(result.debugLines.isEmpty());
    EXPECT_EQ(result.debugLines.constLast(),
              QStringLiteral(
                  "#### #### Could not copy in a blank database. Quorvel will not start successfully... "));
    EXPECT_THAT(result.debugLines,
                Contains(QStringLiteral("#### Could not create \\Master Folder error %1").arg(ENOTDIR)));
    // The monitor log is not looked at once the main database is lost.
    EXPECT_THAT(result.debugLines, Not(Contains(kNowMonitorLog[1])));
    EXPECT_EQ(QStringList(streamed.begin(), streamed.end()), result.debugLines);
}

TEST_F(MaintenanceTest, NoMonitorLogAndNoWayToMakeOneEndsWithItsOwnMessage) {
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("main data"));
    // A folder where the log's template would be made.
    ASSERT_TRUE(QDir().mkpath(QDir(logFiles().templatePath).filePath(QStringLiteral("x"))));
    const MaintenanceResult result = run();
    EXPECT_FALSE(result.canStart());
    EXPECT_THAT(result.fatalMessage.toStdString(),
                StartsWith("Quorvel could not locate the Master Logging Database"));
    EXPECT_EQ(result.debugLines.constLast(),
              QStringLiteral("#### #### Could not copy in a blank Logging database. Quorvel will not start "
                             "successfully... "));
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("main data"));
}

// The order backups are tried in.
class RestoreOrderTest : public MaintenanceTest, public ::testing::WithParamInterface<int> {};

TEST_P(RestoreOrderTest, YesterdaysBackupWinsOnEveryDayOfTheWeek) {
    const QDateTime start = monday.addDays(GetParam());
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    for (int offset = 1; offset <= 6; ++offset) {
        const QString weekday = weekdayName(start.date().addDays(-offset));
        makeBackup(DbKind::Main, weekday, weekday);
    }
    writeFile(paths.mainDb(), garbage());
    ASSERT_TRUE(runDatabaseMaintenance(paths, start).canStart());
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), weekdayName(start.date().addDays(-1)));
}

TEST_F(MaintenanceTest, AWeekOldBackupIsTheLastOneTried) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    makeBackup(DbKind::Main, QStringLiteral("Mon"), QStringLiteral("a week old"));
    writeFile(paths.mainDb(), garbage());
    const MaintenanceResult result = run();
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("a week old"));
    EXPECT_THAT(result.debugLines,
                Contains(QStringLiteral("Successfully copied Backup_quorvelMon.db back to quorvel.db ")));
}

INSTANTIATE_TEST_SUITE_P(EveryStartDay, RestoreOrderTest, ::testing::Range(0, 7));

// A file that lost a table is damaged like any other: it never replaces a
// good backup, and the newest good backup (today's, from an earlier start)
// takes its place, told in a notice for the monitor.
TEST_F(MaintenanceTest, AMainDatabaseThatLostATableIsRestoredAndTodaysBackupStaysGood) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    makeBackup(DbKind::Main, QStringLiteral("Sun"), QStringLiteral("sunday"));
    makeBackup(DbKind::Main, QStringLiteral("Mon"), QStringLiteral("this morning"));
    makeBackup(DbKind::Main, QStringLiteral("Sat"), QStringLiteral("saturday"));
    {
        RawDb raw(mainFiles().backupPath(QStringLiteral("Sat")));
        raw.exec(QStringLiteral("DROP TABLE Events"));  // an incomplete backup is passed over too
    }
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("now"));
    {
        RawDb raw(paths.mainDb());
        raw.exec(QStringLiteral("DROP TABLE Macros"));
    }
    const QByteArray todaysBackup = fileBytes(mainFiles().backupPath(QStringLiteral("Mon")));

    const MaintenanceResult result = run();
    ASSERT_TRUE(result.canStart()) << result.fatalMessage.toStdString();
    EXPECT_THAT(result.debugLines, Contains(QStringLiteral("#### the table Macros is missing")));
    EXPECT_EQ(markerOf(paths.mainDb(), DbKind::Main), QStringLiteral("this morning"));
    EXPECT_EQ(fileBytes(mainFiles().backupPath(QStringLiteral("Mon"))), todaysBackup);
    EXPECT_TRUE(checkDatabaseFile(mainFiles().backupPath(QStringLiteral("Mon")), DbKind::Main).ok);
    ASSERT_EQ(result.notices.size(), 1);
    EXPECT_EQ(result.notices[0].toStdString(),
              "quorvel.db was damaged (the table Macros is missing); it is kept as "
              "quorvel.db.damaged-20240513-080000 and was restored from the backup Backup_QuorvelMon.db");
    const QString keptAs = inMaster(QStringLiteral("quorvel.db.damaged-20240513-080000"));
    EXPECT_FALSE(checkDatabaseFile(keptAs, DbKind::Main).ok);
    EXPECT_TRUE(checkDatabaseFile(keptAs).ok);  // sound as a file: only its schema is short
}

// A file from a newer program is left byte for byte, and so is today's backup.
TEST_F(MaintenanceTest, ANewerMainDatabaseIsLeftUntouchedAndNotBackedUp) {
    makeDatabase(paths.monitorLog(), DbKind::MonitorLog, QStringLiteral("log data"));
    makeBackup(DbKind::Main, QStringLiteral("Mon"), QStringLiteral("this morning"));
    makeDatabase(paths.mainDb(), DbKind::Main, QStringLiteral("now"));
    {
        RawDb raw(paths.mainDb());
        raw.exec(QStringLiteral("PRAGMA user_version = 999"));
    }
    const QByteArray live = fileBytes(paths.mainDb());
    const QByteArray todaysBackup = fileBytes(mainFiles().backupPath(QStringLiteral("Mon")));

    const MaintenanceResult result = run();
    EXPECT_FALSE(result.canStart());
    EXPECT_THAT(result.fatalMessage.toStdString(), HasSubstr("newer version of Quorvel"));
    EXPECT_THAT(result.fatalMessage.toStdString(), HasSubstr("left untouched"));
    EXPECT_EQ(fileBytes(paths.mainDb()), live);
    EXPECT_EQ(fileBytes(mainFiles().backupPath(QStringLiteral("Mon"))), todaysBackup);
    EXPECT_TRUE(result.notices.isEmpty());
}

}  // namespace
}  // namespace qv::store::test
