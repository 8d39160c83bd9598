// Sensor polling against the simulated network on a manual clock, the
// sensor grid's results and the sensor log.

#include "features/devices/sensor_logging.h"
#include "devices_support.h"
#include "features/devices/messages.h"
#include "store/date_text.h"

#include <QDir>
#include <QFile>

#include <map>

namespace qv::devices {
namespace {

using test::SimWire;

constexpr std::uint8_t kLuxRequestOpcode = 0x09;

class SensorLoggingTest : public test::DataFolderTest {
protected:
    void SetUp() override { layout.sensors = {{7, 300}, {9, 500}}; }

    void addSensor(int box, const QString& description, double calibration, bool log = true) {
        run(*main,
            "INSERT INTO Sensors (SensorBoxNum, SensorDesc, Calibration, Lastcalibrated, LogthisSensor) "
            "VALUES (?, ?, ?, '2024-01-01 00:00:00', ?)",
            {box, description, calibration, log ? 1 : 0});
    }
    void setInterval(int seconds) { run(*main, "UPDATE SensorInterval SET SensorInterval = ?", {seconds}); }

    void start() {
        wire = std::make_unique<SimWire>(layout, clock, monitor);
        writer = std::make_unique<SensorLogWriter>(logPath(), monitor, clock);
        logging = std::make_unique<SensorLogging>(*main, *writer, wire->state, monitor, clock,
                                                  [this](const net::RawMessage& m) {
                                                      if (m[3] == kLuxRequestOpcode)
                                                          requests.push_back({clock.monotonicMs(), m[2]});
                                                      wire->send(m);
                                                  });
        wire->inbox.addReactions(logging.get());
        ASSERT_TRUE(logging->GetSensorstoLog());
    }

    // Request times in ms for one box.
    std::vector<qint64> requestTimes(int box) const {
        std::vector<qint64> times;
        for (const auto& [at, b] : requests)
            if (b == box) times.push_back(at);
        return times;
    }

    QString logPath() const { return paths.sensorLog(); }

    sim::NetworkLayout layout;
    std::unique_ptr<SimWire> wire;
    std::unique_ptr<SensorLogWriter> writer;
    std::unique_ptr<SensorLogging> logging;
    std::vector<std::pair<qint64, int>> requests;
};

TEST_F(SensorLoggingTest, TwoSensorsAtTenSecondsAreEachAskedEveryTwentySeconds) {
    addSensor(7, "Lobby", 1.5);
    addSensor(9, "Stairs", 1.0);
    setInterval(10);
    start();
    ASSERT_EQ(logging->sensorsToLog(), (std::vector<int>{7, 9}));
    EXPECT_EQ(logging->pollingIntervalMs(), 10000);

    clock.advance(80000);
    EXPECT_EQ(requestTimes(7), (std::vector<qint64>{10000, 30000, 50000, 70000}));
    EXPECT_EQ(requestTimes(9), (std::vector<qint64>{20000, 40000, 60000, 80000}));
}

TEST_F(SensorLoggingTest, AResultIsShownOnePeriodAfterItsRequest) {
    addSensor(7, "Lobby", 1.5);
    addSensor(9, "Stairs", 1.0);
    setInterval(10);
    start();
    const SensorGridModel& grid = logging->grid();
    ASSERT_EQ(grid.rowCount(), 2);

    clock.advance(19999);  // box 7 asked at 10 s and answered, not yet shown
    EXPECT_EQ(wire->state.lux(7), 300);
    EXPECT_EQ(grid.rowFor(7)->lux, QString());
    clock.advance(1);
    EXPECT_EQ(grid.rowFor(7)->lux, "450");  // 300 lux x 1.5
    EXPECT_EQ(grid.rowFor(7)->respondedAt, "14/03/2024 09:00:20");
    EXPECT_FALSE(grid.rowFor(7)->noAnswer);
    EXPECT_EQ(grid.rowFor(9)->lux, QString());
    clock.advance(10000);
    EXPECT_EQ(grid.rowFor(9)->lux, "500");
}

TEST_F(SensorLoggingTest, ASilentSensorShowsQuestionMarksInRedAndPollingGoesOn) {
    addSensor(7, "Lobby", 1.0);
    addSensor(8, "Plant room", 1.0);  // not on the network
    setInterval(5);
    start();
    clock.advance(15000);  // 7 at 5 s, 8 at 10 s, 7 at 15 s shows 8's result
    const SensorGridModel& grid = logging->grid();
    const SensorGridModel::Row* silent = grid.rowFor(8);
    ASSERT_NE(silent, nullptr);
    EXPECT_EQ(silent->lux, msg::kNoAnswer);
    EXPECT_TRUE(silent->noAnswer);
    int row = 0;
    while (grid.index(row, 0).data().toInt() != 8) ++row;
    EXPECT_EQ(grid.index(row, SensorGridModel::BoxColumn).data(SensorGridModel::TextRgbRole).toUInt(),
              0xFF0000u);
    EXPECT_FALSE(grid.index(row, SensorGridModel::LuxColumn).data(SensorGridModel::TextRgbRole).isValid());
    EXPECT_EQ(requestTimes(7), (std::vector<qint64>{5000, 15000}));
    EXPECT_EQ(wire->state.lux(8), -1);

    // A sensor that answers again loses its red mark.
    wire->network.setLux(8, 40);
    clock.advance(10000);  // 8 asked at 20 s, shown at 25 s
    EXPECT_EQ(grid.rowFor(8)->lux, "40");
    EXPECT_FALSE(grid.rowFor(8)->noAnswer);
    EXPECT_FALSE(grid.index(row, SensorGridModel::BoxColumn).data(SensorGridModel::TextRgbRole).isValid());
}

class PollingPeriodTest : public SensorLoggingTest, public ::testing::WithParamInterface<int> {};

TEST_P(PollingPeriodTest, ThePeriodIsExactlyTheInterval) {
    const int interval = GetParam();
    addSensor(7, "Lobby", 1.0);
    setInterval(interval);
    start();
    clock.advance(qint64(interval) * 1000 * 4 + 999);
    const qint64 period = qint64(interval) * 1000;
    EXPECT_EQ(requestTimes(7), (std::vector<qint64>{period, 2 * period, 3 * period, 4 * period}));
}

INSTANTIATE_TEST_SUITE_P(Intervals, PollingPeriodTest, ::testing::Values(1, 10, 60, 61, 90, 120, 125, 3601));

TEST_F(SensorLoggingTest, NoIntervalOrNoSensorsMeansNoPolling) {
    addSensor(7, "Lobby", 1.0);
    setInterval(0);
    start();
    EXPECT_FALSE(logging->isPolling());
    clock.advance(600000);
    EXPECT_TRUE(requests.empty());

    run(*main, "UPDATE Sensors SET LogthisSensor = 0");
    setInterval(10);
    ASSERT_TRUE(logging->GetSensorstoLog());
    EXPECT_FALSE(logging->isPolling());
    clock.advance(60000);
    EXPECT_TRUE(requests.empty());
}

TEST_F(SensorLoggingTest, BoxesOutsideOneTo255AreNotPolledAndOldFilesYesCounts) {
    addSensor(0, "zero", 1.0);
    addSensor(256, "too big", 1.0);
    run(*main,
        "INSERT INTO Sensors (SensorBoxNum, SensorDesc, Calibration, LogthisSensor) VALUES (40, 'old', 2, "
        "-1)");
    addSensor(12, "not logged", 1.0, false);
    setInterval(1);
    start();
    EXPECT_EQ(logging->sensorsToLog(), (std::vector<int>{40}));
    EXPECT_EQ(logging->calibration(40), 2.0);
    EXPECT_EQ(logging->description(12), "not logged");
    // Logged sensors come first in the grid, the old file's -1 among them.
    std::vector<int> order;
    for (const auto& row : logging->grid().rows()) order.push_back(row.sensor.box);
    EXPECT_EQ(order, (std::vector<int>{0, 40, 256, 12}));
}

TEST_F(SensorLoggingTest, AnOutOfRangeStoredIntervalIsClampedAndSaid) {
    addSensor(7, "Lobby", 1.0);
    setInterval(90000);
    start();
    EXPECT_EQ(logging->SensorLogMinutes(), 500);
    EXPECT_EQ(logging->SensorLogSeconds(), 0);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "Warning **"; }), 1);
}

TEST_F(SensorLoggingTest, AnUnreadableSensorTableStopsPollingWithARecord) {
    addSensor(7, "Lobby", 1.0);
    setInterval(10);
    start();
    EXPECT_TRUE(logging->isPolling());
    main->exec(QStringLiteral("DROP TABLE Sensors"));
    EXPECT_FALSE(logging->GetSensorstoLog());
    EXPECT_FALSE(logging->isPolling());
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == "ERROR ***" && r.comment.contains("sensor polling is off");
    }),
              1);
    clock.advance(60000);
    EXPECT_TRUE(requests.empty());
}

TEST_F(SensorLoggingTest, AReadingOf012CWithCalibrationOnePointFiveLogs300And450) {
    addSensor(7, "Lobby", 1.5);
    setInterval(10);
    start();
    logging->setLoggingEnabled(true);
    clock.advance(10000 + SimWire::kAnswerMs);

    store::Database log = store::Database::open(logPath(), store::DbKind::SensorLog);
    QSqlQuery q = log.prepare(QStringLiteral(
        "SELECT SensorBoxnumber, Description, LuxLevel, CorrectedLuxLevel, DateTimeStamp FROM TBLSensorLog"));
    log.exec(q);
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 7);
    EXPECT_EQ(q.value(1).toString(), "Lobby ");
    EXPECT_EQ(q.value(2).toInt(), 300);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 450.0);
    EXPECT_EQ(q.value(4).toString(), "2024-03-14 09:00:10");
    EXPECT_FALSE(q.next());
}

TEST_F(SensorLoggingTest, NothingIsLoggedWhileSensorLoggingIsDisabled) {
    addSensor(7, "Lobby", 1.5);
    setInterval(10);
    start();
    clock.advance(30000);
    EXPECT_EQ(requestTimes(7).size(), 3u);
    EXPECT_FALSE(QFile::exists(logPath()));
}

TEST_F(SensorLoggingTest, ReadingsWaitWhileTheLogCannotBeWrittenAndNoneAreLost) {
    addSensor(7, "Lobby", 1.0);
    setInterval(10);
    // A folder where the file should be: it cannot be opened.
    ASSERT_TRUE(QDir().mkpath(logPath()));
    start();
    logging->setLoggingEnabled(true);
    clock.advance(30000 + SimWire::kAnswerMs);
    EXPECT_EQ(writer->pendingCount(), 3u);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 1);

    ASSERT_TRUE(QDir(logPath()).removeRecursively());
    clock.advance(10000);
    EXPECT_EQ(writer->pendingCount(), 0u);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == "System" && r.comment.contains("can be written again");
    }),
              1);
    writer->close();
    store::Database log = store::Database::open(logPath(), store::DbKind::SensorLog);
    EXPECT_EQ(scalar(log, "SELECT count(*) FROM TBLSensorLog").toInt(), 4);
    EXPECT_EQ(scalar(log, "SELECT min(DateTimeStamp) FROM TBLSensorLog").toString(), "2024-03-14 09:00:10");
}

TEST_F(SensorLoggingTest, AnnouncedSensorsReachTheListeners) {
    start();
    std::vector<int> heard;
    QObject::connect(logging.get(), &SensorLogging::sensorBoxHeard, [&](int box) { heard.push_back(box); });
    const auto announce = net::withChecksum({0x5C, 0xA5, 0x0C, 0x00, 0x00, 0x00, 0x00});
    wire->inbox.append(net::makeInboxLine(net::toReceivedHex(announce.data(), announce.size()),
                                          "2024-03-14 09:00:00", "Comms"));
    wire->inbox.RS232inboxTimer();
    EXPECT_EQ(heard, (std::vector<int>{12}));
}

}  // namespace
}  // namespace qv::devices
