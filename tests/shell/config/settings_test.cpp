// Loading and storing the Config and Comms rows against real database files:
// the initial values when a row is missing, stored values kept in range, the
// round trip, fields the configuration does not edit, and a failed write that
// must leave every row as it was.

#include "config_fixture.h"

#include "shell/config/password.h"
#include "shell/config/settings.h"
#include "shell/config/settings_writer.h"
#include "support/case_names.h"

namespace qv::config {
namespace {

using test::ConfigTest;

class SettingsTest : public ConfigTest {};

TEST_F(SettingsTest, AFreshDatabaseGivesTheStoredDefaultsUnchanged) {
    const LoadedSettings loaded = loadSettings(*main);
    EXPECT_TRUE(loaded.configRowFound);
    EXPECT_TRUE(loaded.commsRowFound);
    EXPECT_TRUE(loaded.adjustments.isEmpty()) << loaded.adjustments.join("; ").toStdString();
    EXPECT_EQ(loaded.settings.config.releaserate, 80);
    EXPECT_EQ(loaded.settings.config.buttonversion, 8);
    EXPECT_DOUBLE_EQ(loaded.settings.config.Latitude, -31.8);
    EXPECT_DOUBLE_EQ(loaded.settings.config.Longitude, -115.95);
    EXPECT_EQ(loaded.settings.comms.usbdelay, 25);
}

TEST_F(SettingsTest, MissingRowsGiveTheWindowsInitialValues) {
    exec("DELETE FROM Config");
    exec("DELETE FROM Comms");
    const LoadedSettings loaded = loadSettings(*main);
    EXPECT_FALSE(loaded.configRowFound);
    EXPECT_FALSE(loaded.commsRowFound);
    const store::ConfigSettings& c = loaded.settings.config;
    EXPECT_EQ(c.buttonversion, 8);
    EXPECT_DOUBLE_EQ(c.Latitude, -31.8);     // 31.8 South
    EXPECT_DOUBLE_EQ(c.Longitude, -115.95);  // 115.95 East
    EXPECT_DOUBLE_EQ(c.Timezone, 8.0);
    // Empty number boxes: nothing read back, and the out box is not stopped.
    EXPECT_EQ(c.LoadFromMonitorLog, 0);
    EXPECT_EQ(c.MonitorLogMaxRecords, 0);
    EXPECT_EQ(c.SensorLogMaxRecords, 0);
    EXPECT_EQ(c.releaserate, 50);
    EXPECT_TRUE(loaded.settings.comms.hostname.isEmpty());
    EXPECT_EQ(loaded.settings.comms.usbdelay, 25);
}

struct StoredValueRow {
    const char* table;
    const char* field;
    int stored;
    int expected;
};

void PrintTo(const StoredValueRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.table, row.field, row.stored);
}

class StoredValueLimits : public ConfigTest, public ::testing::WithParamInterface<StoredValueRow> {};

TEST_P(StoredValueLimits, OutOfRangeValuesAreReplacedAndReported) {
    const StoredValueRow& row = GetParam();
    exec(QStringLiteral("UPDATE %1 SET %2 = ?").arg(row.table, row.field), {row.stored});
    const LoadedSettings loaded = loadSettings(*main);
    const int value = QString(row.field) == "releaserate"          ? loaded.settings.config.releaserate
                      : QString(row.field) == "LoadFromMonitorLog" ? loaded.settings.config.LoadFromMonitorLog
                      : QString(row.field) == "buttonversion"      ? loaded.settings.config.buttonversion
                                                                   : loaded.settings.comms.usbdelay;
    EXPECT_EQ(value, row.expected);
    EXPECT_EQ(loaded.adjustments.size(), row.stored == row.expected ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(Rows, StoredValueLimits,
                         ::testing::Values(StoredValueRow{"Config", "releaserate", 20, 50},
                                           StoredValueRow{"Config", "releaserate", 120, 120},
                                           StoredValueRow{"Config", "LoadFromMonitorLog", -7, 0},
                                           StoredValueRow{"Config", "LoadFromMonitorLog", 250000, 10000},
                                           StoredValueRow{"Config", "buttonversion", 10, 8},
                                           StoredValueRow{"Comms", "USBdelay", 0, 25}));

// Every yes/no switch of Config.
std::vector<bool*> switchesOf(store::ConfigSettings& c) {
    return {&c.areanames,
            &c.lightlevels,
            &c.events,
            &c.scheduler,
            &c.email,
            &c.customcode,
            &c.ddeability,
            &c.corvalin,
            &c.rollcall,
            &c.macros,
            &c.directcontrol,
            &c.plan,
            &c.monitor,
            &c.sensorlog,
            &c.macrosrunning,
            &c.macroorvanet,
            &c.macrowavfiles,
            &c.macroemail,
            &c.macrocustomcodes,
            &c.macrorunmacros,
            &c.macrocancelmacros,
            &c.macrocorvalin,
            &c.macrorollcall,
            &c.macroorvanetchannels,
            &c.editbuttons,
            &c.enablemonitorlog,
            &c.enablesensorlog,
            &c.enableenergyusage,
            &c.donotallowshutdown,
            &c.UserCanSaveLightingPresets,
            &c.UserCanSeekchannels};
}

Settings everythingChanged() {
    Settings s;
    store::ConfigSettings& c = s.config;
    // Flip every switch away from the store's defaults.
    for (bool* flag : switchesOf(c)) *flag = !*flag;
    c.buttonversion = 18;
    c.MonitorLogMaxRecords = 5000;
    c.LoadFromMonitorLog = 250;
    c.SensorLogMaxRecords = 7000;
    c.Latitude = 51.48;
    c.Longitude = 0.0015;
    c.Timezone = -3.5;
    c.releaserate = 120;
    s.comms.useTCP = true;
    s.comms.hostname = "10.1.1.5";
    s.comms.secondaryhostname = "o'brien's \"server\"; DROP TABLE Config";  // stored as typed
    s.comms.comport = 4;
    s.comms.USB = true;
    s.comms.usbdelay = 40;
    s.comms.baud1 = "38400";
    s.comms.databits1 = 7;
    s.comms.parity1 = "odd";
    s.comms.stopbits1 = "1.5";
    return s;
}

void expectSameConfig(store::ConfigSettings a, store::ConfigSettings b) {
    const auto flags = [](store::ConfigSettings& c) {
        std::vector<bool> values;
        for (const bool* flag : switchesOf(c)) values.push_back(*flag);
        return values;
    };
    EXPECT_EQ(flags(a), flags(b));
    EXPECT_EQ(a.buttonversion, b.buttonversion);
    EXPECT_EQ(a.MonitorLogMaxRecords, b.MonitorLogMaxRecords);
    EXPECT_EQ(a.LoadFromMonitorLog, b.LoadFromMonitorLog);
    EXPECT_EQ(a.SensorLogMaxRecords, b.SensorLogMaxRecords);
    EXPECT_DOUBLE_EQ(a.Latitude, b.Latitude);
    EXPECT_DOUBLE_EQ(a.Longitude, b.Longitude);
    EXPECT_DOUBLE_EQ(a.Timezone, b.Timezone);
    EXPECT_EQ(a.releaserate, b.releaserate);
}

void expectSameComms(const store::CommsSettings& a, const store::CommsSettings& b) {
    EXPECT_EQ(a.useTCP, b.useTCP);
    EXPECT_EQ(a.hostname, b.hostname);
    EXPECT_EQ(a.secondaryhostname, b.secondaryhostname);
    EXPECT_EQ(a.comport, b.comport);
    EXPECT_EQ(a.USB, b.USB);
    EXPECT_EQ(a.usbdelay, b.usbdelay);
    EXPECT_EQ(a.baud1, b.baud1);
    EXPECT_EQ(a.databits1, b.databits1);
    EXPECT_EQ(a.parity1, b.parity1);
    EXPECT_EQ(a.stopbits1, b.stopbits1);
}

TEST_F(SettingsTest, EveryFieldSurvivesStoreAndLoad) {
    const Settings written = everythingChanged();
    storeSettings(*main, written, std::nullopt);
    // Read through a second connection, as the next start would.
    store::Database reopened = store::Database::open(paths.mainDb(), store::DbKind::Main);
    const LoadedSettings loaded = loadSettings(reopened);
    reopened.close();
    expectSameConfig(loaded.settings.config, written.config);
    expectSameComms(loaded.settings.comms, written.comms);
    EXPECT_EQ(count("Config"), 1);
    EXPECT_EQ(count("Comms"), 1);
}

TEST_F(SettingsTest, FieldsTheConfigurationDoesNotEditKeepTheirValues) {
    exec("UPDATE Config SET DayLightSaving = 1");
    exec("UPDATE Comms SET portname = ?", {"/dev/ttyUSB3"});
    storeSettings(*main, everythingChanged(), std::nullopt);
    EXPECT_EQ(scalar("SELECT DayLightSaving FROM Config").toInt(), 1);
    EXPECT_EQ(scalar("SELECT portname FROM Comms").toString(), "/dev/ttyUSB3");
}

TEST_F(SettingsTest, TheDesktopAlsoStoresMailRemindersAndTheDevicePath) {
    exec("UPDATE Config SET DayLightSaving = 1");
    Settings written = everythingChanged();
    written.config.mailhost = "smtp.example.org";
    written.config.mailport = 587;
    written.config.mailtls = "starttls";
    written.config.mailuser = "o'brien";
    written.config.mailpassword = "pa ss";
    written.config.mailsender = "quorvel@example.org";
    written.config.ReminderCalendarPath = "/srv/calendars/site.ics";
    written.comms.portname = "/dev/ttyUSB2";
    storeSettings(*main, written, std::nullopt, ExtraFields::MailAndDevice);
    store::Database reopened = store::Database::open(paths.mainDb(), store::DbKind::Main);
    const LoadedSettings loaded = loadSettings(reopened);
    reopened.close();
    const store::ConfigSettings& c = loaded.settings.config;
    EXPECT_EQ(c.mailhost, "smtp.example.org");
    EXPECT_EQ(c.mailport, 587);
    EXPECT_EQ(c.mailtls, "starttls");
    EXPECT_EQ(c.mailuser, "o'brien");
    EXPECT_EQ(c.mailpassword, "pa ss");
    EXPECT_EQ(c.mailsender, "quorvel@example.org");
    EXPECT_EQ(c.ReminderCalendarPath, "/srv/calendars/site.ics");
    EXPECT_EQ(loaded.settings.comms.portname, "/dev/ttyUSB2");
    EXPECT_EQ(scalar("SELECT DayLightSaving FROM Config").toInt(), 1);

    // Emptied fields are stored as none: no mail, no reminders, the port number.
    written.config.mailhost.clear();
    written.config.ReminderCalendarPath.clear();
    written.comms.portname.clear();
    storeSettings(*main, written, std::nullopt, ExtraFields::MailAndDevice);
    EXPECT_TRUE(scalar("SELECT mailhost FROM Config").isNull());
    EXPECT_TRUE(scalar("SELECT ReminderCalendarPath FROM Config").isNull());
    EXPECT_TRUE(scalar("SELECT portname FROM Comms").isNull());
    EXPECT_EQ(count("Config"), 1);
}

TEST_F(SettingsTest, EmptyTablesGetTheirRowAdded) {
    exec("DELETE FROM Config");
    exec("DELETE FROM Comms");
    storeSettings(*main, everythingChanged(), std::nullopt);
    EXPECT_EQ(count("Config"), 1);
    EXPECT_EQ(count("Comms"), 1);
    const LoadedSettings loaded = loadSettings(*main);
    expectSameConfig(loaded.settings.config, everythingChanged().config);
    expectSameComms(loaded.settings.comms, everythingChanged().comms);
}

TEST_F(SettingsTest, OnlyTheFirstRowIsRewrittenWhenAnOldFileHoldsTwo) {
    exec("INSERT INTO Config (releaserate, buttonversion) VALUES (250, 4)");
    storeSettings(*main, everythingChanged(), std::nullopt);
    EXPECT_EQ(scalar("SELECT releaserate FROM Config ORDER BY rowid LIMIT 1").toInt(), 120);
    EXPECT_EQ(scalar("SELECT releaserate FROM Config ORDER BY rowid DESC LIMIT 1").toInt(), 250);
}

TEST_F(SettingsTest, AFailedWriteLeavesEveryRowAsItWas) {
    const int before = scalar("SELECT releaserate FROM Config").toInt();
    // A Comms table from an older tool without the serial fields makes the
    // Comms update fail after the Config update already ran.
    exec("DROP TABLE Comms");
    exec("CREATE TABLE Comms (useTCP INTEGER)");
    EXPECT_THROW(storeSettings(*main, everythingChanged(), QString("$argon2id$fake")), store::StoreError);
    EXPECT_EQ(scalar("SELECT releaserate FROM Config").toInt(), before);
    EXPECT_EQ(scalar("SELECT Password FROM Password").toString(), "");
}

}  // namespace
}  // namespace qv::config
