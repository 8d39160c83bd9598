// Reading settings, names and area permissions, and writing the version
// history: values as stored, the forms older files use, and failures that
// must surface instead of looking like empty tables.

#include "store_fixture.h"

#include "store/area_permissions.h"
#include "store/database.h"
#include "store/date_text.h"
#include "store/name_rows.h"
#include "store/settings_loaders.h"
#include "store/store_error.h"
#include "store/version_history.h"

#include <QFileInfo>

namespace qv::store::test {
namespace {

class LoaderTest : public StoreTest {};

TEST_F(LoaderTest, EmptyCommsFieldsFallBackToDefaults) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    {
        RawDb raw(paths.mainDb());
        raw.exec(
            QStringLiteral("UPDATE Comms SET useTCP = NULL, comport = NULL, USBdelay = NULL, baud1 = NULL, "
                           "parity1 = NULL, databits1 = NULL, stopbits1 = NULL, portname = NULL"));
    }
    const CommsSettings comms = loadCommsSettings(db);
    const CommsSettings defaults;
    EXPECT_EQ(comms.useTCP, defaults.useTCP);
    EXPECT_EQ(comms.comport, defaults.comport);
    EXPECT_EQ(comms.usbdelay, defaults.usbdelay);
    EXPECT_EQ(comms.baud1, defaults.baud1);
    EXPECT_EQ(comms.parity1, defaults.parity1);
    EXPECT_EQ(comms.databits1, defaults.databits1);
    EXPECT_EQ(comms.stopbits1, defaults.stopbits1);
    EXPECT_EQ(comms.portname, QString());
}

TEST_F(LoaderTest, ConfigReadsOlderYesValuesAndNumbersStoredAsText) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    {
        RawDb raw(paths.mainDb());
        raw.exec(QStringLiteral(
            "UPDATE Config SET enablesensorlog = -1, enableenergyusage = 'True', "
            "enablemonitorlog = 0, macros = 0, plan = 'False', DayLightSaving = 1, "
            "buttonversion = '24', releaserate = 250, LoadFromMonitorLog = 0, "
            "MonitorLogMaxRecords = 5000, Latitude = 51.5, Longitude = '0.12', Timezone = 9.5"));
    }
    const ConfigSettings config = loadConfigSettings(db);
    EXPECT_TRUE(config.enablesensorlog);
    EXPECT_TRUE(config.enableenergyusage);
    EXPECT_FALSE(config.enablemonitorlog);
    EXPECT_FALSE(config.macros);
    EXPECT_FALSE(config.plan);
    EXPECT_TRUE(config.scheduler);
    EXPECT_TRUE(config.DayLightSaving);
    EXPECT_EQ(config.buttonversion, 24);
    EXPECT_EQ(config.releaserate, 250);
    EXPECT_EQ(config.LoadFromMonitorLog, 0);
    EXPECT_EQ(config.MonitorLogMaxRecords, 5000);
    EXPECT_DOUBLE_EQ(config.Latitude, 51.5);
    EXPECT_DOUBLE_EQ(config.Longitude, 0.12);
    EXPECT_DOUBLE_EQ(config.Timezone, 9.5);
}

TEST_F(LoaderTest, MissingRowGivesDefaultsButMissingTableIsAnError) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    {
        RawDb raw(paths.mainDb());
        raw.exec(QStringLiteral("DELETE FROM Comms"));
        raw.exec(QStringLiteral("DROP TABLE Config"));
    }
    const CommsSettings comms = loadCommsSettings(db);
    EXPECT_EQ(comms.comport, CommsSettings().comport);
    EXPECT_EQ(comms.baud1, CommsSettings().baud1);
    EXPECT_THROW(loadConfigSettings(db), StoreError);
}

TEST_F(LoaderTest, NameRowsComeInOrderAndSkipRowsWithoutNumbers) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    {
        RawDb raw(paths.mainDb());
        raw.exec(
            QStringLiteral("INSERT INTO AreaNames (Area, AreaName) VALUES (12, 'Canteen'), (0, 'All'), "
                           "(3, NULL), (4, 'O''Brien''s \"Den\"')"));
        raw.exec(
            QStringLiteral("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (3, 2, 'Dim'), "
                           "(3, 1, 'Bright'), (1, 96, 'Off'), (NULL, 4, 'orphan'), (2, NULL, 'orphan')"));
        raw.exec(
            QStringLiteral("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (5, 256, "
                           "'All Channels'), (5, 1, 'Downlights'), (1, 3, 'Spots'), (NULL, 1, 'orphan')"));
    }
    const NameRows rows = loadNameRows(db);
    using Area = std::tuple<int, QString>;
    using Numbered = std::tuple<int, int, QString>;
    EXPECT_EQ(rows.areas,
              (std::vector<Area>{{0, "All"}, {3, ""}, {4, "O'Brien's \"Den\""}, {12, "Canteen"}}));
    EXPECT_EQ(rows.presets, (std::vector<Numbered>{{1, 96, "Off"}, {3, 1, "Bright"}, {3, 2, "Dim"}}));
    EXPECT_EQ(rows.channels,
              (std::vector<Numbered>{{1, 3, "Spots"}, {5, 1, "Downlights"}, {5, 256, "All Channels"}}));
}

TEST_F(LoaderTest, VersionHistoryGetsOneRowPerStartWithLocalDateText) {
    Database db = Database::open(paths.mainDb(), DbKind::Main);
    const QDateTime morning(QDate(2024, 3, 5), QTime(7, 8, 9));
    appendVersionHistory(db, QStringLiteral("v0.1  build 7"), morning);
    appendVersionHistory(db, QStringLiteral("v0.2  build 12"), morning.addDays(40).addSecs(13 * 3600));

    RawDb raw(paths.mainDb());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT group_concat(Version || '|' || \"Date\", ',') FROM "
                                        "(SELECT * FROM VersionHistory ORDER BY rowid)"))
                  .toString(),
              QStringLiteral("v0.1  build 7|2024-03-05 07:08:09,v0.2  build 12|2024-04-14 20:08:09"));
    EXPECT_EQ(dateTimeFromText(QStringLiteral("2024-03-05 07:08:09")), morning);
}

// The area-permission store.

std::array<bool, 256> flagged(std::initializer_list<int> areas) {
    std::array<bool, 256> flags{};
    for (int area : areas) flags[static_cast<std::size_t>(area)] = true;
    return flags;
}

TEST_F(LoaderTest, DoNotSendAreasRoundTripAndASaveReplacesTheOldList) {
    saveDoNotSendAreas(paths.winrights(), flagged({0, 12, 255}));
    EXPECT_EQ(loadDoNotSendAreas(paths.winrights()), flagged({0, 12, 255}));

    saveDoNotSendAreas(paths.winrights(), flagged({12}));
    EXPECT_EQ(loadDoNotSendAreas(paths.winrights()), flagged({12}));

    RawDb raw(paths.winrights());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM DoNotSendArea")).toInt(), 1);
}

TEST_F(LoaderTest, DoNotSendRowsOutsideTheAreaRangeAreIgnored) {
    { Database create = Database::open(paths.winrights(), DbKind::Winrights); }
    {
        RawDb raw(paths.winrights());
        raw.exec(QStringLiteral(
            "INSERT INTO DoNotSendArea (Area) VALUES (-1), (256), (1000), (NULL), ('abc'), (7), "
            "(7)"));
    }
    EXPECT_EQ(loadDoNotSendAreas(paths.winrights()), flagged({7}));
}

TEST_F(LoaderTest, MissingPermissionStoreIsCreatedWithEveryAreaAllowed) {
    ASSERT_FALSE(QFileInfo::exists(paths.winrights()));
    EXPECT_EQ(loadDoNotSendAreas(paths.winrights()), flagged({}));
    EXPECT_TRUE(QFileInfo::exists(paths.winrights()));
}

TEST_F(LoaderTest, DamagedPermissionStoreThrowsAndIsKept) {
    const QByteArray garbage = QByteArray("MZ this was a real dll once").repeated(100);
    writeFile(paths.winrights(), garbage);
    EXPECT_THROW(loadDoNotSendAreas(paths.winrights()), StoreError);
    EXPECT_THROW(saveDoNotSendAreas(paths.winrights(), flagged({1})), StoreError);
    EXPECT_EQ(fileBytes(paths.winrights()), garbage);
}

}  // namespace
}  // namespace qv::store::test
