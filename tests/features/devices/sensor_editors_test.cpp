// The sensor windows' logic: adding and saving sensors, the interval, the
// properties window's refresh and calibration. A box already there,
// listening for a new box, the calibration from a reference and deleting a
// sensor are driven through the windows (tests/ui/devices/sensors_window_test.cpp).

#include "features/devices/sensor_editors.h"
#include "devices_support.h"
#include "features/devices/messages.h"
#include "features/devices/sensor_properties.h"
#include "features/devices/sensor_rows.h"
#include "store/date_text.h"
#include "support/case_names.h"

namespace qv::devices {
namespace {

class SensorEditorsTest : public test::DataFolderTest {
protected:
    SensorEditorsTest()
        : writer(paths.sensorLog(), monitor, clock), editors(*main, writer, clock, [this] { ++rebuilds; }) {}

    int sensorCount() { return scalar(*main, "SELECT count(*) FROM Sensors").toInt(); }
    QVariant logValue(const QString& sql, const QVariantList& values = {}) {
        store::Database log = store::Database::open(paths.sensorLog(), store::DbKind::SensorLog);
        return scalar(log, sql, values);
    }

    SensorLogWriter writer;
    SensorEditors editors;
    int rebuilds = 0;
};

struct RefusedBox {
    const char* text;
    const QString* message;
};

void PrintTo(const RefusedBox& row, std::ostream* os) {
    *os << qv::test::caseName(row.text);
}

class RefusedBoxTest : public SensorEditorsTest, public ::testing::WithParamInterface<RefusedBox> {};

TEST_P(RefusedBoxTest, AddsNothing) {
    const store::Outcome outcome =
        editors.addSensor(QString::fromUtf8(GetParam().text), QStringLiteral("Hall"));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, *GetParam().message);
    EXPECT_EQ(sensorCount(), 0);
    EXPECT_EQ(rebuilds, 0);
}

INSTANTIATE_TEST_SUITE_P(BoxTexts, RefusedBoxTest,
                         ::testing::Values(RefusedBox{"  ", &msg::kNeedBoxNumber},
                                           RefusedBox{"0", &msg::kBoxNumberRange},
                                           RefusedBox{"256", &msg::kBoxNumberRange},
                                           RefusedBox{"12a", &msg::kBoxNumberRange}));

TEST_F(SensorEditorsTest, ANewSensorGetsItsDefaultsItsCopyAndItsHistory) {
    clock.advance(5000);
    const store::Outcome outcome = editors.addSensor(QStringLiteral("12"), QString());
    ASSERT_TRUE(outcome.ok) << outcome.message.toStdString();
    EXPECT_EQ(rebuilds, 1);
    const std::optional<SensorRow> row = readSensor(*main, 12);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->description, "Box 12");
    EXPECT_EQ(row->calibration, 1.0);
    EXPECT_TRUE(row->logThisSensor);
    EXPECT_EQ(store::dateTimeText(row->lastCalibrated), "2024-03-14 09:00:05");
    writer.close();
    EXPECT_EQ(logValue("SELECT SensorDesc FROM TBLSensors WHERE SensorBoxNum = 12").toString(), "Box 12");
    EXPECT_EQ(logValue("SELECT count(*) FROM TBLSensorChanged WHERE SensorBoxNumber = 12").toInt(), 1);
}

TEST_F(SensorEditorsTest, DescriptionsWithQuotesAreStoredAsTyped) {
    const QString name = QStringLiteral("O'Brien's \"office\"; DROP TABLE Sensors");
    ASSERT_TRUE(editors.addSensor(QStringLiteral("3"), name).ok);
    EXPECT_EQ(readSensor(*main, 3)->description, name);
    writer.close();
    EXPECT_EQ(logValue("SELECT SensorDesc FROM TBLSensors").toString(), name);
}

TEST_F(SensorEditorsTest, SavingRecordsWhatChangedInTheHistory) {
    ASSERT_TRUE(editors.addSensor(QStringLiteral("9"), QStringLiteral("Stairs")).ok);
    clock.advance(60000);
    ASSERT_TRUE(editors.saveSensor(9, QStringLiteral("Stairs"), QStringLiteral("1.500"), true).ok);
    ASSERT_TRUE(editors.saveSensor(9, QStringLiteral(" "), QStringLiteral("1.5"), false).ok);
    EXPECT_EQ(rebuilds, 3);

    const std::optional<SensorRow> row = readSensor(*main, 9);
    EXPECT_EQ(row->calibration, 1.5);
    EXPECT_EQ(row->description, "Box 9");
    EXPECT_FALSE(row->logThisSensor);
    EXPECT_EQ(store::dateTimeText(row->lastCalibrated), "2024-03-14 09:01:00");

    writer.close();
    EXPECT_EQ(logValue("SELECT count(*) FROM TBLSensors WHERE SensorBoxNum = 9").toInt(), 1);
    EXPECT_EQ(logValue("SELECT Calibration FROM TBLSensors WHERE SensorBoxNum = 9").toDouble(), 1.5);
    EXPECT_EQ(logValue("SELECT LogthisSensor FROM TBLSensors WHERE SensorBoxNum = 9").toInt(), 0);
    store::Database log = store::Database::open(paths.sensorLog(), store::DbKind::SensorLog);
    QSqlQuery q = log.prepare(QStringLiteral(
        "SELECT DescriptionChanged, CalibrationChanged, Description FROM TBLSensorChanged ORDER BY rowid"));
    log.exec(q);
    std::vector<std::tuple<int, int, QString>> history;
    while (q.next()) history.emplace_back(q.value(0).toInt(), q.value(1).toInt(), q.value(2).toString());
    ASSERT_EQ(history.size(), 3u);
    EXPECT_EQ(history[1], std::make_tuple(0, 1, QStringLiteral("Stairs")));
    EXPECT_EQ(history[2], std::make_tuple(1, 0, QStringLiteral("Box 9")));
}

class BadCalibrationTest : public SensorEditorsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BadCalibrationTest, IsRefusedAndChangesNothing) {
    ASSERT_TRUE(editors.addSensor(QStringLiteral("9"), QStringLiteral("Stairs")).ok);
    const store::Outcome outcome =
        editors.saveSensor(9, QStringLiteral("New"), QString::fromUtf8(GetParam()), true);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, msg::kCalibrationNotNumber);
    EXPECT_EQ(readSensor(*main, 9)->description, "Stairs");
}

INSTANTIATE_TEST_SUITE_P(Texts, BadCalibrationTest, ::testing::Values("", "abc", "0", "-1.5", "nan", "inf"));

TEST_F(SensorEditorsTest, AMissingSensorCannotBeSavedOrDeleted) {
    EXPECT_EQ(editors.saveSensor(77, QStringLiteral("x"), QStringLiteral("1"), true).message,
              msg::kNoSuchSensor);
    EXPECT_EQ(editors.deleteSensor(77).message, msg::kNoSuchSensor);
    EXPECT_EQ(rebuilds, 0);
}

TEST_F(SensorEditorsTest, TheIntervalIsOneRowAndZeroSaysLoggingIsOff) {
    run(*main, "INSERT INTO SensorInterval (SensorInterval) VALUES (99)");  // a second, stray row
    store::Outcome outcome = editors.applyInterval(15);
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.message.isEmpty());
    EXPECT_EQ(scalar(*main, "SELECT count(*) FROM SensorInterval").toInt(), 1);
    EXPECT_EQ(readSensorInterval(*main), 15);

    outcome = editors.applyInterval(0);
    EXPECT_TRUE(outcome.ok);
    EXPECT_EQ(outcome.message, msg::kNoInterval);
    EXPECT_EQ(readSensorInterval(*main), 0);

    outcome = editors.applyInterval(30001);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, msg::kIntervalRange);
    EXPECT_EQ(readSensorInterval(*main), 0);
    EXPECT_EQ(rebuilds, 2);
}

TEST_F(SensorEditorsTest, ASensorLogThatCannotBeWrittenIsSaidButTheSensorIsKept) {
    ASSERT_TRUE(QDir().mkpath(paths.sensorLog()));
    const store::Outcome outcome = editors.addSensor(QStringLiteral("5"), QStringLiteral("Hall"));
    EXPECT_TRUE(outcome.ok);
    EXPECT_TRUE(outcome.message.contains("could not record the change of box 5"))
        << outcome.message.toStdString();
    EXPECT_TRUE(readSensor(*main, 5));
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 1);
}

class SensorPropertiesTest : public test::DataFolderTest {
protected:
    SensorPropertiesTest() : wire(layout(), clock, monitor), properties(wire.state, clock, wire.sender()) {}

    static sim::NetworkLayout layout() {
        sim::NetworkLayout l;
        l.sensors = {{7, 300}};
        return l;
    }

    test::SimWire wire;
    SensorProperties properties;
};

TEST_F(SensorPropertiesTest, RefreshShowsTheNewReadingHalfASecondLater) {
    wire.state.setLux(7, 120);  // an older reading
    properties.setSensor(7, 1.0);
    EXPECT_EQ(properties.measuredLux(), 120);
    std::vector<int> shown;
    QObject::connect(&properties, &SensorProperties::measured, [&](int lux) { shown.push_back(lux); });

    properties.refresh();
    ASSERT_EQ(wire.sent.size(), 1u);
    EXPECT_EQ(net::toHex(wire.sent[0]).substr(0, 11), "5C A5 07 09");
    clock.advance(SensorProperties::kCheckMs - 1);
    EXPECT_TRUE(shown.empty());
    clock.advance(1);
    EXPECT_EQ(shown, (std::vector<int>{300}));
    EXPECT_EQ(properties.measuredText(), "300");
    EXPECT_EQ(properties.actualText(), "300");
}

TEST_F(SensorPropertiesTest, ASilentSensorGivesNoCalibration) {
    wire.state.setLux(8, 120);
    properties.setSensor(8, 2.0);
    properties.refresh();
    clock.advance(SensorProperties::kCheckMs);
    EXPECT_EQ(properties.measuredLux(), -1);
    EXPECT_EQ(properties.measuredText(), msg::kNoAnswer);
    EXPECT_EQ(properties.actualText(), QString());
    EXPECT_FALSE(properties.setActualLux(QStringLiteral("450")).has_value());
    EXPECT_EQ(properties.calibration(), 2.0);
}

TEST_F(SensorEditorsTest, TheChartReadsTheNewestReadingsSinceADateOldestFirst) {
    const QDateTime start(QDate(2026, 3, 2), QTime(8, 0));
    for (int minute = 0; minute < 5; ++minute)
        ASSERT_TRUE(
            writer.appendReading({7, "Atrium ", 100 + minute, 150.0 + minute, start.addSecs(60 * minute)}));
    const std::vector<SensorLogReading> since = writer.readingsSince(start.addSecs(60));
    ASSERT_EQ(since.size(), 4u);
    EXPECT_EQ(since.front().lux, 101);
    EXPECT_EQ(since.back().when, start.addSecs(240));
    const std::vector<SensorLogReading> newest = writer.readingsSince(start, 2);
    ASSERT_EQ(newest.size(), 2u);
    EXPECT_EQ(newest.front().lux, 103);
    EXPECT_DOUBLE_EQ(newest.back().correctedLux, 154.0);
}

}  // namespace
}  // namespace qv::devices
