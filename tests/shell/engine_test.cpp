// The engine's start against a real data directory and a fake gateway:
// which files appear, which stored settings it follows, and how it refuses
// a damaged database without harming it.

#include "shell/engine.h"

#include "comms/fake_link.h"
#include "net/builders.h"
#include "store/store.h"
#include "support/qt_support.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::shell {
namespace {

class EngineTest : public ::testing::Test {
protected:
    EngineTest() : settings(dir.filePath("user.ini"), QSettings::IniFormat) { test::qtApp(); }

    std::unique_ptr<Engine> makeEngine() {
        comms::LinkFactory factory = [this](const comms::SerialSettings& s) -> std::unique_ptr<comms::Link> {
            opened = s;
            auto link = std::make_unique<test::FakeLink>(comms::Link::OpenError::None);
            link_ = link.get();
            return link;
        };
        return std::make_unique<Engine>(EngineDeps{clock, monitor, factory, settings});
    }

    // Starts an engine and waits for its link.
    std::optional<bool> startEngine(Engine& engine, const QString& serial = {}) {
        std::optional<bool> outcome;
        QObject::connect(&engine, &Engine::started, [&](bool ok) { outcome = ok; });
        QString error;
        if (!engine.start(data.path(), serial, &error)) return std::nullopt;
        test::waitUntil([&] { return outcome.has_value(); }, 10000);
        return outcome;
    }

    void execOnMain(const QString& sql, const QVariantList& values = {}) {
        auto db = store::Database::open(store::DataPaths{data.path()}.mainDb(), store::DbKind::Main);
        QSqlQuery q = db.prepare(sql);
        for (const QVariant& v : values) q.addBindValue(v);
        db.exec(q);
        db.close();
    }

    QTemporaryDir dir, data;
    QSettings settings;
    comms::SystemClock clock;
    test::RecordingMonitor monitor;
    comms::SerialSettings opened;
    test::FakeLink* link_ = nullptr;
};

TEST_F(EngineTest, FirstStartCreatesEveryFileAndOpensTheStoredPort) {
    auto engine = makeEngine();
    ASSERT_EQ(startEngine(*engine), true);
    for (const char* file : {"master/quorvel.db", "master/monitorlog.db", "sensorlog.db", "energyusage.db",
                             "rollcalltemplate.db", "winrights.db"})
        EXPECT_TRUE(QFile::exists(data.filePath(file))) << file;
    EXPECT_EQ(opened.portName, "/dev/ttyS0");  // comport 1
    EXPECT_EQ(opened.settingsText(), "9600,N,8,1");
}

TEST_F(EngineTest, StoredDevicePathWinsAndTheCommandLineWinsOverBoth) {
    { auto first = makeEngine(); ASSERT_EQ(startEngine(*first), true); }
    execOnMain("UPDATE Comms SET portname = ?, comport = 3", {"/dev/ttyUSB1"});
    {
        auto engine = makeEngine();
        ASSERT_EQ(startEngine(*engine), true);
        EXPECT_EQ(opened.portName, "/dev/ttyUSB1");
    }
    {
        auto engine = makeEngine();
        ASSERT_EQ(startEngine(*engine, "/dev/pts/9"), true);
        EXPECT_EQ(opened.portName, "/dev/pts/9");
    }
}

TEST_F(EngineTest, NamesFromTheDatabaseLabelWhatIsHeard) {
    { auto first = makeEngine(); ASSERT_EQ(startEngine(*first), true); }
    execOnMain("INSERT INTO AreaNames (Area, AreaName) VALUES (?, ?)", {5, "O'Brien's Office"});
    execOnMain("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (?, ?, ?)", {5, 3, "Meeting"});
    auto engine = makeEngine();
    ASSERT_EQ(startEngine(*engine), true);
    const net::RawMessage report = net::withChecksum({0x1C, 0x05, 0x02, 0x62, 0x00, 0x00, 0xFF});
    link_->inject(QByteArray(reinterpret_cast<const char*>(report.data()), 8));
    ASSERT_TRUE(test::waitUntil([&] { return engine->inbox().decodedCount() == 1; }));
    EXPECT_EQ(monitor.records.back().comment, "area    O'Brien's Office(5)    is in preset    Meeting(3)   ");
}

TEST_F(EngineTest, ForbiddenAreasComeFromThePermissionStore) {
    { auto first = makeEngine(); ASSERT_EQ(startEngine(*first), true); }
    std::array<bool, 256> forbidden{};
    forbidden[9] = true;
    store::saveDoNotSendAreas(store::DataPaths{data.path()}.winrights(), forbidden);
    auto engine = makeEngine();
    ASSERT_EQ(startEngine(*engine), true);
    engine->comms().sendRS232(*net::AskforCurrentPreset(9));
    engine->comms().sendRS232(*net::AskforCurrentPreset(8));
    EXPECT_EQ(engine->comms().outboxCount(), 1u);
    EXPECT_EQ(monitor.countComment("You do not have permission to this Area"), 1);
}

TEST_F(EngineTest, DamagedMainDatabaseIsRefusedAndLeftAsItWas) {
    QDir(data.path()).mkpath("master");
    const QByteArray garbage(4096, 'x');
    {
        QFile file(data.filePath("master/quorvel.db"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(garbage);
    }
    auto engine = makeEngine();
    QString error;
    EXPECT_FALSE(engine->start(data.path(), {}, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile file(data.filePath("master/quorvel.db"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), garbage);
}

TEST_F(EngineTest, ServerLinkSettingIsReportedNotIgnored) {
    { auto first = makeEngine(); ASSERT_EQ(startEngine(*first), true); }
    execOnMain("UPDATE Comms SET useTCP = 1");
    auto engine = makeEngine();
    EXPECT_EQ(startEngine(*engine), false);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 1);
}

}  // namespace
}  // namespace qv::shell
