#include "features/devices/sensor_rows.h"

#include "store/database.h"
#include "store/date_text.h"
#include "store/transaction.h"

#include <QSqlQuery>
#include <QVariant>

namespace qv::devices {

namespace {

SensorRow sensorFrom(const QSqlQuery& q) {
    SensorRow row;
    row.box = q.value(0).toInt();
    row.description = q.value(1).toString();
    bool ok = false;
    const double calibration = q.value(2).toDouble(&ok);
    row.calibration = (!q.value(2).isNull() && ok) ? calibration : 1.0;
    row.lastCalibrated = store::dateTimeFromText(q.value(3).toString());
    // Files brought over from the old program hold -1 for yes.
    row.logThisSensor = q.value(4).toInt() != 0;
    return row;
}

constexpr auto kSensorColumns = "SensorBoxNum, SensorDesc, Calibration, Lastcalibrated, LogthisSensor";

// The values for the statements below, in their order: the box number last.
QVariantList sensorValues(const SensorRow& row) {
    return {row.description, row.calibration, store::dateTimeText(row.lastCalibrated),
            row.logThisSensor ? 1 : 0, row.box};
}

}  // namespace

std::vector<int> readSensorsToLog(store::Database& main) {
    QSqlQuery q = main.run(
        QStringLiteral("SELECT SensorBoxNum FROM Sensors WHERE LogthisSensor <> 0 ORDER BY SensorBoxNum"));
    std::vector<int> boxes;
    while (q.next()) {
        const int box = q.value(0).toInt();
        if (box >= kFirstSensorBox && box <= kLastSensorBox) boxes.push_back(box);
    }
    return boxes;
}

std::vector<SensorRow> readSensors(store::Database& main) {
    // Logged sensors first, as the old files (where yes was -1) always sorted them.
    QSqlQuery q =
        main.run(QStringLiteral("SELECT %1 FROM Sensors ORDER BY (LogthisSensor <> 0) DESC, SensorBoxNum")
                     .arg(QLatin1String(kSensorColumns)));
    std::vector<SensorRow> rows;
    while (q.next()) rows.push_back(sensorFrom(q));
    return rows;
}

std::optional<SensorRow> readSensor(store::Database& main, int box) {
    QSqlQuery q = main.run(
        QStringLiteral("SELECT %1 FROM Sensors WHERE SensorBoxNum = ?").arg(QLatin1String(kSensorColumns)),
        {box});
    if (!q.next()) return std::nullopt;
    return sensorFrom(q);
}

int readSensorInterval(store::Database& main) {
    return main.value(QStringLiteral("SELECT SensorInterval FROM SensorInterval LIMIT 1")).toInt();
}

void writeSensorInterval(store::Database& main, int seconds) {
    store::Transaction transaction(main);
    main.exec(QStringLiteral("DELETE FROM SensorInterval"));
    main.run(QStringLiteral("INSERT INTO SensorInterval (SensorInterval) VALUES (?)"), {seconds});
    transaction.commit();
}

bool insertSensor(store::Database& main, const SensorRow& row) {
    store::Transaction transaction(main);
    if (readSensor(main, row.box)) return false;
    main.run(QStringLiteral(
                 "INSERT INTO Sensors (SensorDesc, Calibration, Lastcalibrated, LogthisSensor, SensorBoxNum) "
                 "VALUES (?, ?, ?, ?, ?)"),
             sensorValues(row));
    transaction.commit();
    return true;
}

bool updateSensor(store::Database& main, const SensorRow& row) {
    QSqlQuery update =
        main.run(QStringLiteral("UPDATE Sensors SET SensorDesc = ?, Calibration = ?, Lastcalibrated = ?, "
                                "LogthisSensor = ? WHERE SensorBoxNum = ?"),
                 sensorValues(row));
    return update.numRowsAffected() > 0;
}

bool deleteSensor(store::Database& main, int box) {
    QSqlQuery remove = main.run(QStringLiteral("DELETE FROM Sensors WHERE SensorBoxNum = ?"), {box});
    return remove.numRowsAffected() > 0;
}

}  // namespace qv::devices
