// The sensor windows against quorvel-sim: a sensor that answers shows its lux
// in the grid and the chart, one that does not shows "???" in red; a new
// sensor is added, calibrated against a reference and deleted.

#include "features/devices/sensor_logging.h"
#include "features/devices/sensor_rows.h"
#include "shell/feature_set.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QChartView>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using qv::test::click;
using qv::test::UiSession;

namespace {

// Sensor 7 is simulated (lux 120), sensor 8 is not; both polled every second.
void seedSensors(const QString& dataDir) {
    using qv::test::execOnFile;
    execOnFile(dataDir, "UPDATE Config SET enablesensorlog = 1");
    execOnFile(dataDir, "UPDATE SensorInterval SET SensorInterval = 1");
    execOnFile(dataDir,
               "INSERT INTO Sensors (SensorBoxNum, SensorDesc, Calibration, LogthisSensor) VALUES "
               "(7, 'Atrium', 1, 1), (8, 'Roof''s edge', 1, 1)");
}

}  // namespace

class SensorsWindowTest : public QObject {
    Q_OBJECT
private slots:
    void silentSensorShowsQuestionMarks();
};

void SensorsWindowTest::silentSensorShowsQuestionMarks() {
    UiSession session({.simArguments = {"--sensors", "7=120"}, .seed = seedSensors});
    QVERIFY2(session.start(), qPrintable(session.why()));
    QWidget* window = session.windows().open(qv::ui::window::kSensors);
    QVERIFY(window);
    auto* grid = window->findChild<QTableView*>("sensorGrid");
    QVERIFY(grid);
    QAbstractItemModel* model = grid->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->headerData(0, Qt::Horizontal).toString(), QString("Box#"));
    QCOMPARE(window->findChild<QLineEdit*>("intervalField")->text(), QString("1"));

    auto lux = [&](int row) { return model->index(row, 2).data().toString(); };
    QVERIFY2(UiSession::waitUntil([&] { return lux(0) == "120" && lux(1) == "???"; }, 15000),
             qPrintable(lux(0) + " / " + lux(1)));
    QCOMPARE(model->index(1, 0).data(Qt::UserRole + 1).toBool(), true);
    QCOMPARE(model->index(0, 0).data(Qt::UserRole + 1).toBool(), false);

    // An interval out of range is refused with the range message.
    auto* interval = window->findChild<QLineEdit*>("intervalField");
    interval->setText("40000");
    QMetaObject::invokeMethod(interval, "editingFinished");
    QVERIFY(session.sawBox("please enter a value between 0-30000 only"));
    QCOMPARE(interval->text(), QString("30000"));

    // The logged reading of sensor 7 is in the chart; the silent one has no line.
    auto* chart = window->findChild<QChartView*>("luxChart")->chart();
    QVERIFY(UiSession::waitUntil(
        [&] {
            chart = window->findChild<QChartView*>("luxChart")->chart();
            return chart->series().size() == 1;
        },
        5000));
    auto* line = static_cast<QLineSeries*>(chart->series().front());
    QCOMPARE(line->name(), QString("Atrium (box 7)"));
    QVERIFY(line->count() >= 1);
    QCOMPARE(line->at(0).y(), 120.0);

    // A new sensor: no box number, then a box already there, are refused; the
    // box a sensor announces while listening is taken.
    click(window, "newSensorButton");
    QWidget* added = session.windows().find(qv::ui::window::kNewSensor);
    QVERIFY(added);
    auto* box = added->findChild<QLineEdit*>("boxNumberField");
    click(added, "saveButton");
    QVERIFY(session.sawBox("you need to enter a box number for the sensor"));
    box->setText("7");
    click(added, "saveButton");
    QVERIFY(
        session.sawBox("This box number has already been entered in the Database, you can not add it again"));
    qv::devices::SensorLogging& logging = session.engine().features()->sensors();
    emit logging.sensorBoxHeard(12);
    QCOMPARE(box->text(), QString("7"));
    added->findChild<QCheckBox*>("listenCheck")->setChecked(true);
    emit logging.sensorBoxHeard(12);
    QCOMPARE(box->text(), QString("12"));
    click(added, "saveButton");
    QVERIFY(UiSession::waitUntil([&] { return model->rowCount() == 3; }, 2000));
    QCOMPARE(qv::devices::readSensor(session.engine().mainDatabase(), 12)->description, QString("Box 12"));

    // Properties of sensor 7 (a double click on its row): Refresh measures
    // 120, a reference of 300 lux makes the calibration 2.500, Save stores it.
    QCOMPARE(model->index(0, 0).data().toString(), QString("7"));
    emit grid->doubleClicked(model->index(0, 1));
    QWidget* properties = session.windows().find(qv::ui::window::kSensorProperties);
    QVERIFY(properties);
    QCOMPARE(properties->findChild<QLineEdit*>("descriptionField")->text(), QString("Atrium"));
    click(properties, "refreshButton");
    auto* measured = properties->findChild<QLabel*>("measuredLabel");
    QVERIFY2(UiSession::waitUntil([&] { return measured->text() == "120"; }, 3000),
             qPrintable(measured->text()));
    auto* actual = properties->findChild<QLineEdit*>("actualField");
    actual->setText("300");
    emit actual->textEdited("300");
    QCOMPARE(properties->findChild<QLineEdit*>("calibrationField")->text(), QString("2.500"));
    click(properties, "saveButton");
    QCOMPARE(qv::devices::readSensor(session.engine().mainDatabase(), 7)->calibration, 2.5);

    // Deleting sensor 12 asks first.
    session.windows().open(qv::ui::window::kSensorProperties, 12);
    click(properties, "deleteButton");
    QVERIFY(session.sawBox("Are you sure you want to delete this sensor?"));
    QVERIFY(!qv::devices::readSensor(session.engine().mainDatabase(), 12));
    QCOMPARE(model->rowCount(), 2);
}

QTEST_MAIN(SensorsWindowTest)
#include "sensors_window_test.moc"
