// Files left by earlier versions are upgraded in place without losing rows;
// files from a newer program, and files that are not databases, are refused
// and left exactly as they were.

#include "expected_schema.h"
#include "store_fixture.h"

#include "store/database.h"
#include "store/migrations.h"
#include "store/schema.h"
#include "store/settings_loaders.h"
#include "store/store_error.h"

#include <QDir>
#include <QFileInfo>
#include <stdexcept>
#include "support/case_names.h"

namespace qv::store {

void PrintTo(DbKind kind, std::ostream* os) {
    static const char* const names[] = {"Main",        "MonitorLog",       "SensorLog",
                                        "EnergyUsage", "RollCallTemplate", "Winrights"};
    *os << names[static_cast<int>(kind)];
}

}  // namespace qv::store

namespace qv::store::test {
namespace {

using ::testing::HasSubstr;

class MigrationTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_TRUE(QDir().mkpath(inDir(QStringLiteral("master"))));
    }

    // The tables of a section of the expected schema, as an earlier version made them.
    static void createTables(RawDb& raw, const QString& section) {
        for (const auto& [table, fields] : expectedSchema(section)) {
            QStringList quoted;
            for (const QString& field : fields) quoted << schema::quoteIdentifier(field);
            raw.exec(QStringLiteral("CREATE TABLE %1 (%2)")
                         .arg(schema::quoteIdentifier(table), quoted.join(QStringLiteral(", "))));
        }
    }
};

// A database converted from an installation that never had schema versions:
// user_version 0, some tables, Macros without SortOrder, Comms without
// portname, no Config at all, yes stored as -1 and the baud rate as a number.
TEST_F(MigrationTest, UnversionedOldDatabaseIsCompletedAndKeepsItsRows) {
    {
        RawDb raw(paths.mainDb());
        raw.exec(
            QStringLiteral("CREATE TABLE Macros (Macro_ID INTEGER PRIMARY KEY, Macro TEXT, Enabled INTEGER, "
                           "Description TEXT, MacroFolder_ID INTEGER)"));
        raw.exec(
            QStringLiteral("INSERT INTO Macros (Macro_ID, Macro, Enabled) VALUES (5, 'startup', -1), "
                           "(9, 'Night', 0), (12, 'Cleaners', -1)"));
        raw.exec(
            QStringLiteral("CREATE TABLE Comms (useTCP INTEGER, hostname TEXT, secondaryhostname TEXT, "
                           "comport INTEGER, USB INTEGER, USBdelay INTEGER, baud1, databits1 INTEGER, "
                           "parity1 TEXT, stopbits1 TEXT)"));
        raw.exec(
            QStringLiteral("INSERT INTO Comms VALUES (-1, 'lighting-srv', 'backup-srv', 3, 0, 40, 19200, 7, "
                           "'Even', '2')"));
        raw.exec(QStringLiteral("CREATE TABLE AreaNames (Area INTEGER PRIMARY KEY, AreaName TEXT)"));
        raw.exec(QStringLiteral("INSERT INTO AreaNames VALUES (1, 'Foyer'), (2, 'Boardroom')"));
        ASSERT_EQ(raw.scalar(QStringLiteral("PRAGMA user_version")).toInt(), 0);
    }

    Database db = Database::open(paths.mainDb(), DbKind::Main);

    EXPECT_EQ(db.userVersion(), latestVersion(DbKind::Main));
    EXPECT_EQ(schemaOf(db.handle()), expectedMain());

    RawDb raw(paths.mainDb());
    EXPECT_EQ(
        raw.scalar(QStringLiteral("SELECT group_concat(Macro_ID || ':' || SortOrder || ':' || Macro, ',') "
                                  "FROM (SELECT * FROM Macros ORDER BY Macro_ID)"))
            .toString(),
        QStringLiteral("5:5:startup,9:9:Night,12:12:Cleaners"));
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT group_concat(AreaName, ',') FROM "
                                        "(SELECT AreaName FROM AreaNames ORDER BY Area)"))
                  .toString(),
              QStringLiteral("Foyer,Boardroom"));

    // The site's comms row is kept, not joined by a default one.
    EXPECT_EQ(schema::rowCount(db, QStringLiteral("Comms")), 1);
    const CommsSettings comms = loadCommsSettings(db);
    EXPECT_TRUE(comms.useTCP);
    EXPECT_EQ(comms.hostname, QStringLiteral("lighting-srv"));
    EXPECT_EQ(comms.secondaryhostname, QStringLiteral("backup-srv"));
    EXPECT_EQ(comms.comport, 3);
    EXPECT_EQ(comms.usbdelay, 40);
    EXPECT_EQ(comms.baud1, QStringLiteral("19200"));
    EXPECT_EQ(comms.databits1, 7);
    EXPECT_EQ(comms.parity1, QStringLiteral("Even"));
    EXPECT_EQ(comms.stopbits1, QStringLiteral("2"));
    EXPECT_EQ(comms.portname, QString());

    // The missing single-row tables were created with their row.
    EXPECT_EQ(schema::rowCount(db, QStringLiteral("Config")), 1);
    EXPECT_EQ(schema::rowCount(db, QStringLiteral("Password")), 1);
}

// A database as the first release wrote it (version 1, no Comms.portname),
// built here table by table from the field lists.
TEST_F(MigrationTest, VersionOneDatabaseGainsPortnameAndKeepsItsRows) {
    {
        RawDb raw(paths.mainDb());
        createTables(raw, QStringLiteral("main v1"));
        raw.exec(
            QStringLiteral("INSERT INTO Comms (useTCP, hostname, comport, USB, USBdelay, baud1, databits1, "
                           "parity1, stopbits1) VALUES (0, '', 4, 1, 25, '38400', 8, 'None', '1')"));
        raw.exec(QStringLiteral("INSERT INTO Config (releaserate, buttonversion) VALUES (150, 12)"));
        raw.exec(QStringLiteral("INSERT INTO Password (Password) VALUES ('Secret1')"));
        raw.exec(QStringLiteral("INSERT INTO SensorInterval (SensorInterval) VALUES (300)"));
        raw.exec(QStringLiteral("INSERT INTO Macros (Macro_ID, Macro, SortOrder) VALUES (1, 'startup', 7)"));
        raw.exec(QStringLiteral(
            "INSERT INTO EventS (EventName, Area, Preset, Macro_ID) VALUES ('Lobby on', 3, 1, 1)"));
        raw.exec(QStringLiteral("PRAGMA user_version = 1"));
    }

    Database db = Database::open(paths.mainDb(), DbKind::Main);

    EXPECT_EQ(db.userVersion(), latestVersion(DbKind::Main));
    EXPECT_EQ(schemaOf(db.handle()), expectedMain());
    const CommsSettings comms = loadCommsSettings(db);
    EXPECT_EQ(comms.comport, 4);
    EXPECT_TRUE(comms.USB);
    EXPECT_EQ(comms.usbdelay, 25);
    EXPECT_EQ(comms.baud1, QStringLiteral("38400"));
    EXPECT_EQ(comms.portname, QString());
    const ConfigSettings config = loadConfigSettings(db);
    EXPECT_EQ(config.releaserate, 150);
    EXPECT_EQ(config.buttonversion, 12);
    for (const char* table : {"Config", "Comms", "Password", "SensorInterval", "Macros", "Events"}) {
        SCOPED_TRACE(table);
        EXPECT_EQ(schema::rowCount(db, QString::fromLatin1(table)), 1);
    }
    RawDb raw(paths.mainDb());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT Password FROM Password")).toString(),
              QStringLiteral("Secret1"));
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT SortOrder FROM Macros")).toInt(), 7);  // had one: kept
}

// A database of version 2: Config gains the mail server fields, empty, and
// keeps every setting it had.
TEST_F(MigrationTest, VersionTwoDatabaseGainsTheMailServerFields) {
    {
        RawDb raw(paths.mainDb());
        createTables(raw, QStringLiteral("main v2"));
        raw.exec(QStringLiteral("INSERT INTO Config (releaserate, email, Latitude) VALUES (120, 0, 51.5)"));
        raw.exec(QStringLiteral("PRAGMA user_version = 2"));
    }

    {
        Database db = Database::open(paths.mainDb(), DbKind::Main);
        EXPECT_EQ(db.userVersion(), latestVersion(DbKind::Main));
        const QStringList configFields = schemaOf(db.handle())["Config"];
        for (const QString& field :
             {"mailhost", "mailport", "mailtls", "mailuser", "mailpassword", "mailsender"})
            EXPECT_TRUE(configFields.contains(field)) << field.toStdString();
        const ConfigSettings config = loadConfigSettings(db);
        EXPECT_EQ(config.releaserate, 120);
        EXPECT_FALSE(config.email);
        EXPECT_DOUBLE_EQ(config.Latitude, 51.5);
        // Not set up yet: the defaults stand.
        EXPECT_EQ(config.mailhost, QString());
        EXPECT_EQ(config.mailport, 25);
        EXPECT_EQ(config.mailtls, QStringLiteral("none"));
        EXPECT_EQ(config.mailsender, QString());
        EXPECT_EQ(schema::rowCount(db, QStringLiteral("Config")), 1);
    }
    {
        RawDb raw(paths.mainDb());
        raw.exec(
            QStringLiteral("UPDATE Config SET mailhost = ?, mailport = ?, mailtls = ?, mailuser = ?, "
                           "mailpassword = ?, mailsender = ?"),
            {QStringLiteral("smtp.example.org"), 587, QStringLiteral("starttls"), QStringLiteral("lights"),
             QStringLiteral("it's secret"), QStringLiteral("quorvel@example.org")});
    }
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    const ConfigSettings config = loadConfigSettings(db);
    EXPECT_EQ(config.mailhost, QStringLiteral("smtp.example.org"));
    EXPECT_EQ(config.mailport, 587);
    EXPECT_EQ(config.mailtls, QStringLiteral("starttls"));
    EXPECT_EQ(config.mailuser, QStringLiteral("lights"));
    EXPECT_EQ(config.mailpassword, QStringLiteral("it's secret"));
    EXPECT_EQ(config.mailsender, QStringLiteral("quorvel@example.org"));
}

TEST_F(MigrationTest, MacrosWithoutSortOrderGetTheirIdAtEveryOpen) {
    { Database db = Database::open(paths.mainDb(), DbKind::Main); }
    {
        // Rows added later without a place, beside one that has its place.
        RawDb raw(paths.mainDb());
        raw.exec(
            QStringLiteral("INSERT INTO Macros (Macro_ID, Macro, SortOrder) VALUES (3, 'a', NULL), "
                           "(4, 'b', 1), (8, 'c', NULL)"));
    }
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    RawDb raw(paths.mainDb());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT group_concat(Macro_ID || ':' || SortOrder, ',') "
                                        "FROM (SELECT * FROM Macros ORDER BY Macro_ID)"))
                  .toString(),
              QStringLiteral("3:3,4:1,8:8"));
}

// A failing step leaves the file at the last whole version.
void createStepTwoTable(Database& db) {
    db.exec(QStringLiteral("CREATE TABLE StepTwo (x)"));
}
void failHalfway(Database& db) {
    db.exec(QStringLiteral("CREATE TABLE StepThree (x)"));
    throw std::runtime_error("disk full, say");
}
void createStepThreeTable(Database& db) {
    db.exec(QStringLiteral("CREATE TABLE StepThree (x)"));
}
void nothing(Database&) {}

TEST_F(MigrationTest, FailedStepRollsBackToThePreviousVersion) {
    Database db = Database::open(paths.winrights(), DbKind::Winrights);
    ASSERT_EQ(db.userVersion(), 2);

    const Migration failing[] = {{1, "base", &nothing},
                                 {2, "keys", &nothing},
                                 {3, "three", &createStepTwoTable},
                                 {4, "four", &failHalfway}};
    EXPECT_THROW(applyMigrations(db, failing), std::runtime_error);
    EXPECT_EQ(db.userVersion(), 3);
    EXPECT_TRUE(schema::hasTable(db, QStringLiteral("StepTwo")));
    EXPECT_FALSE(schema::hasTable(db, QStringLiteral("StepThree")));

    const Migration fixed[] = {{1, "base", &nothing},
                               {2, "keys", &nothing},
                               {3, "three", &createStepTwoTable},
                               {4, "four", &createStepThreeTable}};
    applyMigrations(db, fixed);
    EXPECT_EQ(db.userVersion(), 4);
    EXPECT_TRUE(schema::hasTable(db, QStringLiteral("StepThree")));
}

// Newer files are refused untouched, whatever their kind.
class NewerFileTest : public MigrationTest, public ::testing::WithParamInterface<DbKind> {};

TEST_P(NewerFileTest, IsRefusedAndLeftUntouched) {
    const DbKind kind = GetParam();
    const QString path = paths.pathOf(kind);
    const int newer = latestVersion(kind) + 1;
    {
        RawDb raw(path);
        raw.exec(QStringLiteral("CREATE TABLE FromTheFuture (x)"));
        raw.exec(QStringLiteral("PRAGMA user_version = %1").arg(newer));
    }
    const QByteArray before = fileBytes(path);
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();

    try {
        Database::open(path, kind);
        FAIL() << "a newer file was opened";
    } catch (const StoreError& error) {
        EXPECT_THAT(error.what(), HasSubstr("newer"));
        EXPECT_THAT(error.what(), HasSubstr(path.toStdString()));
    }

    EXPECT_EQ(fileBytes(path), before);
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("-wal")));
    EXPECT_EQ(QSqlDatabase::connectionNames(), connectionsBefore);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, NewerFileTest,
                         ::testing::Values(DbKind::Main, DbKind::MonitorLog, DbKind::SensorLog,
                                           DbKind::EnergyUsage, DbKind::RollCallTemplate, DbKind::Winrights));

// Damaged files: a clear error, the file kept for the backup and recovery steps.
struct Damage {
    const char* name;
    QByteArray (*make)(const QString& scratchDir);
};

void PrintTo(const Damage& d, std::ostream* out) {
    *out << d.name;
}

QByteArray binaryGarbage(const QString&) {
    QByteArray bytes;
    for (int i = 0; i < 8192; ++i) bytes.append(static_cast<char>((i * 37 + 11) & 0xFF));
    return bytes;
}

// A real database whose schema page was overwritten after the header.
QByteArray mangledSchemaPage(const QString& scratchDir) {
    const QString path = scratchDir + QStringLiteral("/scratch.db");
    {
        RawDb raw(path);
        raw.exec(QStringLiteral("CREATE TABLE a (x)"));
        raw.exec(QStringLiteral("CREATE TABLE b (y)"));
        raw.exec(QStringLiteral("INSERT INTO a VALUES (1)"));
    }
    QByteArray bytes = fileBytes(path);
    for (int i = 100; i < 4096 && i < bytes.size(); ++i) bytes[i] = static_cast<char>(0xA5);
    return bytes;
}

// The header's first bytes, cut short.
QByteArray truncatedHeader(const QString&) {
    return QByteArray("SQLite form");
}

class DamagedFileTest : public MigrationTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedFileTest, IsRefusedWithAClearErrorAndNotOverwritten) {
    const QString path = paths.mainDb();
    const QByteArray damaged = GetParam().make(inDir(QString()));
    writeFile(path, damaged);
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();

    try {
        Database::open(path, DbKind::Main);
        FAIL() << "a damaged file was opened";
    } catch (const StoreError& error) {
        EXPECT_THAT(error.what(), HasSubstr(path.toStdString()));
        EXPECT_THAT(error.what(), HasSubstr("untouched"));
    }

    EXPECT_EQ(fileBytes(path), damaged);
    EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("-wal")));
    EXPECT_EQ(QSqlDatabase::connectionNames(), connectionsBefore);
}

INSTANTIATE_TEST_SUITE_P(Damages, DamagedFileTest,
                         ::testing::Values(Damage{"binary garbage", &binaryGarbage},
                                           Damage{"mangled schema page", &mangledSchemaPage},
                                           Damage{"truncated header", &truncatedHeader}));

}  // namespace
}  // namespace qv::store::test
