// The sensor window against quorvel-sim: a sensor that answers shows its lux,
// one that does not shows "???" in red.

#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

using qv::test::UiSession;

namespace {

// Sensor 7 is simulated (lux 120), sensor 8 is not; both polled every second.
void seedSensors(const QString& dataDir) {
    {
        auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(dataDir + QStringLiteral("/master/quorvel.db"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec("UPDATE Config SET enablesensorlog = 1"));
        QVERIFY(query.exec("UPDATE SensorInterval SET SensorInterval = 1"));
        query.prepare(
            "INSERT INTO Sensors (SensorBoxNum, SensorDesc, Calibration, LogthisSensor) VALUES (?, ?, 1, 1)");
        for (int box : {7, 8}) {
            query.addBindValue(box);
            query.addBindValue(box == 7 ? QStringLiteral("Atrium") : QStringLiteral("Roof's edge"));
            QVERIFY(query.exec());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
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
}

QTEST_MAIN(SensorsWindowTest)
#include "sensors_window_test.moc"
