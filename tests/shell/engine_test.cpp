// The engine's start and shutdown against a real data directory and a fake
// gateway: which files appear, which stored settings it follows, how it
// handles a damaged database, and what the monitor log keeps.

#include "shell/engine.h"
#include "features/reactions/light_levels.h"
#include "shell/feature_set.h"

#include "comms/fake_link.h"
#include "macros/line_builder.h"
#include "macros/macro_store.h"
#include "net/builders.h"
#include "store/store.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::shell {
namespace {

class EngineTest : public ::testing::Test {
protected:
    EngineTest() : settings(dir.filePath("user.ini"), QSettings::IniFormat) {
        test::qtApp();
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    }

    std::unique_ptr<Engine> makeEngine() {
        comms::LinkFactory factory = [this](const comms::LinkSettings& s) -> std::unique_ptr<comms::Link> {
            opened = std::get<comms::SerialSettings>(s);
            auto link = std::make_unique<test::FakeLink>(comms::Link::OpenError::None);
            link_ = link.get();
            return link;
        };
        return std::make_unique<Engine>(EngineDeps{clock, factory, settings, &monitor});
    }

    std::optional<StartResult> startEngine(Engine& engine, const QString& serial = {}) {
        std::optional<StartResult> outcome;
        engine.start({data.path(), serial}, [&](const StartResult& r) { outcome = r; });
        drive([&] { return outcome.has_value(); });
        return outcome;
    }

    void stopEngine(Engine& engine) {
        bool done = false;
        engine.shutdown([&] { done = true; });
        ASSERT_TRUE(drive([&] { return done; }));
    }

    // Runs the event loop with the clock 10 ms on at each turn: the engine's
    // step gaps and commit timers take no real time.
    bool drive(const std::function<bool()>& done) {
        return test::waitUntil(
            [&] {
                clock.advance(10);
                return done();
            },
            15000);
    }

    // Starts and stops once, so the data directory holds every file.
    void firstRun() {
        auto engine = makeEngine();
        ASSERT_TRUE(startEngine(*engine).value_or(StartResult{}).ok);
        stopEngine(*engine);
    }

    void execOnMain(const QString& sql, const QVariantList& values = {}) {
        auto db = store::Database::open(store::DataPaths{data.path()}.mainDb(), store::DbKind::Main);
        QSqlQuery q = db.prepare(sql);
        for (const QVariant& v : values) q.addBindValue(v);
        db.exec(q);
        db.close();
    }

    QTemporaryDir dir, data, runtime;
    QSettings settings;
    test::ManualClock clock;
    test::RecordingMonitor monitor;
    comms::SerialSettings opened;
    test::FakeLink* link_ = nullptr;
};

TEST_F(EngineTest, FirstStartCreatesEveryFileAndOpensTheStoredPort) {
    auto engine = makeEngine();
    const auto result = startEngine(*engine);
    ASSERT_TRUE(result && result->ok) << (result ? result->fatalMessage.toStdString() : "no answer");
    EXPECT_TRUE(result->linkOpen);
    for (const char* file :
         {"master/quorvel.db", "master/monitorlog.db", "sensorlog.db", "energyusage.db",
          "rollcalltemplate.db", "winrights.db", "Newquorvel.db", "NewMonitorLog.db", "debug.log"})
        EXPECT_TRUE(QFile::exists(data.filePath(file))) << file;
    EXPECT_TRUE(QDir(data.filePath("Planview Drawings")).exists());
    QFile debugLog(data.filePath("debug.log"));
    ASSERT_TRUE(debugLog.open(QIODevice::ReadOnly));
    EXPECT_TRUE(debugLog.readAll().contains("Create \\Master Folder"));
    EXPECT_EQ(opened.portName, "/dev/ttyS0");  // comport 1
    EXPECT_EQ(opened.settingsText(), "9600,N,8,1");
    EXPECT_EQ(monitor.countComment("Quorvel has started"), 1);
    EXPECT_EQ(monitor.countComment("There is no 'Startup' Macro"), 1);
    EXPECT_TRUE(engine->started());
    // A fresh configuration lets no user save presets or seek channels.
    EXPECT_FALSE(engine->features()->lightLevels().permissions().savePresets);
    EXPECT_FALSE(engine->features()->lightLevels().permissions().seekChannels);
}

TEST_F(EngineTest, StoredDevicePathWinsAndTheCommandLineWinsOverBoth) {
    firstRun();
    execOnMain("UPDATE Comms SET portname = ?, comport = 3", {"/dev/ttyUSB1"});
    {
        auto engine = makeEngine();
        ASSERT_TRUE(startEngine(*engine).value_or(StartResult{}).ok);
        EXPECT_EQ(opened.portName, "/dev/ttyUSB1");
        stopEngine(*engine);
    }
    auto engine = makeEngine();
    ASSERT_TRUE(startEngine(*engine, "/dev/pts/9").value_or(StartResult{}).ok);
    EXPECT_EQ(opened.portName, "/dev/pts/9");
}

TEST_F(EngineTest, NamesFromTheDatabaseLabelWhatIsHeard) {
    firstRun();
    execOnMain("INSERT INTO AreaNames (Area, AreaName) VALUES (?, ?)", {5, "O'Brien's Office"});
    execOnMain("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (?, ?, ?)", {5, 3, "Meeting"});
    auto engine = makeEngine();
    ASSERT_TRUE(startEngine(*engine).value_or(StartResult{}).ok);
    const net::RawMessage report = net::withChecksum({0x1C, 0x05, 0x02, 0x62, 0x00, 0x00, 0xFF});
    link_->inject(QByteArray(reinterpret_cast<const char*>(report.data()), 8));
    ASSERT_TRUE(drive([&] { return engine->inbox().decodedCount() == 1; }));
    EXPECT_EQ(monitor.records.back().comment, "area    O'Brien's Office(5)    is in preset    Meeting(3)   ");
    EXPECT_EQ(engine->areaState().GetPresetforArea(5), 3);
}

TEST_F(EngineTest, ForbiddenAreasComeFromThePermissionStore) {
    firstRun();
    std::array<bool, 256> forbidden{};
    forbidden[9] = true;
    store::saveDoNotSendAreas(store::DataPaths{data.path()}.winrights(), forbidden);
    auto engine = makeEngine();
    ASSERT_TRUE(startEngine(*engine).value_or(StartResult{}).ok);
    engine->sendRS232(*net::AskforCurrentPreset(9));
    engine->sendRS232(*net::AskforCurrentPreset(8));
    EXPECT_EQ(engine->comms().outboxCount(), 1u);
    EXPECT_EQ(monitor.countComment("You do not have permission to this Area"), 1);
}

TEST_F(EngineTest, ShutdownWritesTheUpTimeAndTheNextStartReadsTheLogBack) {
    {
        auto engine = makeEngine();
        ASSERT_TRUE(startEngine(*engine).value_or(StartResult{}).ok);
        engine->MonitorAdditem({"System", "", "", "", "Fred's \"big\" room", "", "", "", ""});
        // A right-to-left override and a NUL reach no sink raw.
        engine->MonitorAdditem({"System", "", QString::fromUtf16(u"Lobby\u202Eevil"), "",
                                QString::fromUtf16(u"Caf\u00e9 \u0645") + QChar(u'\0') + "end", "", "", "",
                                ""});
        stopEngine(*engine);
    }
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.Macro == "Lobby<U+202E>evil" &&
               r.comment == QString::fromUtf16(u"Caf\u00e9 \u0645<U+0000>end");
    }),
              1);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == "Shutdown" &&
               r.comment == "Quorvel is ShutDown  after Up time of: 00 hrs, 00 mins";
    }),
              1);
    auto engine = makeEngine();
    ASSERT_TRUE(startEngine(*engine).value_or(StartResult{}).ok);
    ASSERT_NE(engine->monitorLog(), nullptr);
    store::MonitorModel& model = engine->monitorLog()->model();
    QStringList comments;
    for (int row = 0; row < model.rowCount(); ++row)
        comments << model.data(model.index(row, store::MonitorModel::Command)).toString();
    EXPECT_TRUE(comments.contains("Fred's \"big\" room")) << comments.join(" | ").toStdString();
    EXPECT_TRUE(comments.contains(QString::fromUtf16(u"Caf\u00e9 \u0645<U+0000>end")));
    EXPECT_TRUE(comments.contains("Data above is from previous session(s)"));
}

TEST_F(EngineTest, AStoredScheduleFiresAtTheStartOfItsMinuteOnTheEngineClock) {
    firstRun();
    {
        auto db = store::Database::open(store::DataPaths{data.path()}.mainDb(), store::DbKind::Main);
        macros::MacroLines lines;
        for (const QString& line : macros::buildPresetLine(7, 2, "1").lines) lines.append(line, line, "");
        macros::MacroStore(db).SaveMacroLines("Evening", lines);
    }
    const QDateTime now = clock.now();
    const QDateTime at(now.date(), QTime(now.time().hour(), now.time().minute()).addSecs(60));
    execOnMain(
        "INSERT INTO Scheduler (Macro_ID, Disabled, startdate, starttime, hours, \"before\", Sunset, "
        "RecurringDaily, RecurringWeekly, RecurringMonthly, RecurringYearly) SELECT Macro_ID, 0, ?, ?, "
        "'00:00', 0, 0, 0, 0, 0, 0 FROM Macros WHERE Macro = 'Evening'",
        {at.toString("yyyy-MM-dd HH:mm:ss"), at.toString("HH:mm")});
    auto engine = makeEngine();
    ASSERT_TRUE(startEngine(*engine).value_or(StartResult{}).ok);
    clock.advance(clock.now().msecsTo(at) - 1);
    EXPECT_EQ(monitor.countComment("Scheduled Event started!"), 0);
    clock.advance(1);
    ASSERT_TRUE(drive([&] { return monitor.countComment("Scheduled Event started!") == 1; }));
    EXPECT_LT(at.msecsTo(clock.now()), 1000);
}

TEST_F(EngineTest, ServerLinkWithNoServerAnsweringIsReportedAsNotOpen) {
    firstRun();
    execOnMain("UPDATE Comms SET useTCP = 1, hostname = ?", {"127.0.0.1"});
    auto engine = makeEngine();
    const auto result = startEngine(*engine);
    ASSERT_TRUE(result && result->ok);
    EXPECT_FALSE(result->linkOpen);
    EXPECT_TRUE(engine->usesServer());
}

}  // namespace
}  // namespace qv::shell
