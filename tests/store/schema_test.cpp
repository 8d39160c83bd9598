// A fresh data directory: every file is created where the program and its
// companions look for it, with every table and field, and the single-row
// tables hold their one row.

#include "expected_schema.h"
#include "store_fixture.h"

#include "store/database.h"
#include "store/migrations.h"
#include "store/schema.h"
#include "store/settings_loaders.h"

#include <QFileInfo>

namespace qv::store::test {
namespace {

struct FileCase {
    DbKind kind;
    const char* relativePath;
    const char* expected;
    const char* journalMode;
};

void PrintTo(const FileCase& c, std::ostream* out) {
    *out << c.relativePath;
}

class FreshFileTest : public StoreTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(FreshFileTest, IsCreatedWithEveryTableFieldAndItsJournalModeAndReopensUnchanged) {
    const FileCase& c = GetParam();
    const QString path = inDir(QString::fromLatin1(c.relativePath));
    ASSERT_FALSE(QFileInfo::exists(path));

    for (const char* opening : {"created", "reopened"}) {
        SCOPED_TRACE(opening);
        Database db = Database::open(paths.pathOf(c.kind), c.kind);
        EXPECT_TRUE(QFileInfo::exists(path)) << "expected the file at " << c.relativePath;
        EXPECT_EQ(QFileInfo(db.path()).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
        EXPECT_EQ(schemaOf(db.handle()), expectedSchema(QString::fromLatin1(c.expected)));
        EXPECT_EQ(db.userVersion(), latestVersion(c.kind));
        QSqlQuery query = db.prepare(QStringLiteral("PRAGMA journal_mode"));
        db.exec(query);
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), QLatin1String(c.journalMode));
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryFile, FreshFileTest,
    ::testing::Values(FileCase{DbKind::Main, "master/quorvel.db", "main v4", "wal"},
                      FileCase{DbKind::MonitorLog, "master/monitorlog.db", "monitor log", "wal"},
                      FileCase{DbKind::SensorLog, "sensorlog.db", "sensor log", "delete"},
                      FileCase{DbKind::EnergyUsage, "energyusage.db", "energy usage", "delete"},
                      FileCase{DbKind::RollCallTemplate, "rollcalltemplate.db", "roll call", "delete"},
                      FileCase{DbKind::Winrights, "winrights.db", "winrights", "delete"}));

// Every AutoNumber key is assigned by the database when a row is added.
struct KeyCase {
    DbKind kind;
    const char* table;
    const char* key;
};

void PrintTo(const KeyCase& c, std::ostream* out) {
    *out << c.table << '.' << c.key;
}

class AutoNumberTest : public StoreTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(AutoNumberTest, KeyIsAssignedAscending) {
    const KeyCase& c = GetParam();
    Database db = Database::open(paths.pathOf(c.kind), c.kind);
    const QString table = schema::quoteIdentifier(QString::fromLatin1(c.table));
    db.exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table));
    db.exec(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table));
    QSqlQuery query = db.prepare(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid")
                                     .arg(schema::quoteIdentifier(QString::fromLatin1(c.key)), table));
    db.exec(query);
    ASSERT_TRUE(query.next());
    const QVariant first = query.value(0);
    ASSERT_TRUE(query.next());
    const QVariant second = query.value(0);
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_LT(first.toLongLong(), second.toLongLong());
}

INSTANTIATE_TEST_SUITE_P(
    EveryAutoNumber, AutoNumberTest,
    ::testing::Values(
        KeyCase{DbKind::Main, "Macros", "Macro_ID"},
        KeyCase{DbKind::Main, "MacrosDetails", "MacroDetails_ID"},
        KeyCase{DbKind::Main, "MacroFolders", "MacroFolder_ID"},
        KeyCase{DbKind::Main, "Orvanet", "Orvanet_ID"},
        KeyCase{DbKind::Main, "CorvalinLightBox", "CorvalinLightBox_ID"},
        KeyCase{DbKind::Main, "CorvalinChannelLevels", "CorvalinChannelLevel_ID"},
        KeyCase{DbKind::Main, "WAVfiles", "WAVfile_ID"}, KeyCase{DbKind::Main, "Emails", "Email_ID"},
        KeyCase{DbKind::Main, "CustomCodes", "CustomCode_ID"}, KeyCase{DbKind::Main, "Buttons", "Button_ID"},
        KeyCase{DbKind::Main, "ButtonMultiState", "ButtonMultiState_ID"},
        KeyCase{DbKind::Main, "PresetNames", "Preset_ID"}, KeyCase{DbKind::Main, "Scheduler", "Scheduler_ID"},
        KeyCase{DbKind::Main, "DeviceTypes", "Device_ID"},
        KeyCase{DbKind::Main, "PlanIndicators", "PlanIndicator_ID"},
        KeyCase{DbKind::Main, "PlanAreaColours", "PlanAreaColour_ID"},
        KeyCase{DbKind::Main, "WMFFiles", "WMFFile_ID"}, KeyCase{DbKind::Main, "TreeView", "TreeView_ID"},
        KeyCase{DbKind::Main, "LampFittings", "LampFitting_ID"},
        KeyCase{DbKind::Main, "LampInterpolations", "LampInterpolations_ID"},
        KeyCase{DbKind::MonitorLog, "EventLog", "ID"},
        KeyCase{DbKind::SensorLog, "TBLSensorLog", "Sensorlog_ID"}));

// The single-row tables.

class SingleRowTest : public StoreTest {};

TEST_F(SingleRowTest, FreshMainDatabaseHoldsOneRowOfEachEvenAfterReopening) {
    for (int opening = 0; opening < 2; ++opening) {
        Database db = Database::open(paths.mainDb(), DbKind::Main);
        for (const char* table : {"Config", "Comms", "Password", "SensorInterval"}) {
            SCOPED_TRACE(table);
            EXPECT_EQ(schema::rowCount(db, QString::fromLatin1(table)), 1);
        }
    }
}

TEST_F(SingleRowTest, CommsDefaultsToSerialPortOneAt9600EightNoneOne) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    const CommsSettings comms = loadCommsSettings(db);
    EXPECT_FALSE(comms.useTCP);
    EXPECT_EQ(comms.hostname, QString());
    EXPECT_EQ(comms.secondaryhostname, QString());
    EXPECT_EQ(comms.portname, QString());
    EXPECT_FALSE(comms.USB);
    // The numbers are stored, not only defaulted by the loader.
    RawDb raw(paths.mainDb());
    EXPECT_EQ(
        raw.scalar(QStringLiteral("SELECT baud1 || '/' || parity1 || '/' || databits1 || '/' || stopbits1 "
                                  "|| '/' || comport || '/' || USBdelay FROM Comms"))
            .toString(),
        QStringLiteral("9600/None/8/1/1/25"));
}

TEST_F(SingleRowTest, ConfigDefaultsGrantEveryFunctionAndLogTheMonitor) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    RawDb raw(paths.mainDb());
    for (const char* permission : {"areanames",        "lightlevels",     "events",
                                   "scheduler",        "email",           "customcode",
                                   "ddeability",       "corvalin",        "rollcall",
                                   "macros",           "directcontrol",   "plan",
                                   "monitor",          "sensorlog",       "macrosrunning",
                                   "macroorvanet",     "macrowavfiles",   "macroemail",
                                   "macrocustomcodes", "macrorunmacros",  "macrocancelmacros",
                                   "macrocorvalin",    "macrorollcall",   "macroorvanetchannels",
                                   "editbuttons",      "enablemonitorlog"}) {
        SCOPED_TRACE(permission);
        EXPECT_EQ(raw.scalar(QStringLiteral("SELECT %1 FROM Config").arg(QLatin1String(permission))).toInt(),
                  1);
    }
    for (const char* off : {"enablesensorlog", "enableenergyusage", "donotallowshutdown",
                            "UserCanSaveLightingPresets", "UserCanSeekchannels", "DayLightSaving"}) {
        SCOPED_TRACE(off);
        EXPECT_EQ(raw.scalar(QStringLiteral("SELECT %1 FROM Config").arg(QLatin1String(off))).toInt(), 0);
    }

    EXPECT_EQ(
        raw.scalar(QStringLiteral("SELECT buttonversion || '/' || releaserate || '/' || MonitorLogMaxRecords "
                                  "|| '/' || LoadFromMonitorLog || '/' || SensorLogMaxRecords || '/' || "
                                  "Latitude || '/' || Longitude || '/' || Timezone FROM Config"))
            .toString(),
        QStringLiteral("8/80/100000/100/100000/-31.8/-115.95/8.0"));
}

TEST_F(SingleRowTest, PasswordIsEmptyAndSensorPollingOff) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    RawDb raw(paths.mainDb());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT Password FROM Password")).toString(), QString());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT SensorInterval FROM SensorInterval")).toInt(), 0);
}

}  // namespace
}  // namespace qv::store::test
