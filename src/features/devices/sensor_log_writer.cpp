#include "features/devices/sensor_log_writer.h"

#include "features/devices/logging.h"
#include "store/date_text.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <algorithm>

namespace qv::devices {

SensorLogWriter::SensorLogWriter(QString path, store::MonitorSink& monitor, const qv::Clock& clock)
    : m_path(std::move(path)), m_monitorWriter(monitor, clock, lcDevices) {}

SensorLogWriter::~SensorLogWriter() {
    close();
}

void SensorLogWriter::close() {
    // The prepared query belongs to the connection and must go first.
    m_insertReading.reset();
    m_db.reset();
}

store::Database& SensorLogWriter::database() {
    if (!m_db) {
        store::Database db = store::Database::open(m_path, store::DbKind::SensorLog);
        db.exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(kBusyTimeoutMs));
        // With the rollback journal every reading's commit waits for the disk
        // twice (some 15 ms); in WAL mode with NORMAL sync it does not wait at
        // all, and a power cut can cost the last readings but never the file.
        db.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        db.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        m_db.emplace(std::move(db));
    }
    return *m_db;
}

bool SensorLogWriter::appendReading(SensorLogReading reading) {
    m_pending.push_back(std::move(reading));
    if (m_pending.size() > kMaxPending) {
        m_pending.pop_front();
        ++m_dropped;
    }
    try {
        writePending();
    } catch (const std::exception& error) {
        // The next attempt reopens the file, so a file replaced or mended
        // meanwhile is taken up.
        close();
        failed(
            QStringLiteral("readings are kept in memory until it can be (%1 waiting)").arg(m_pending.size()),
            QString::fromUtf8(error.what()));
        return false;
    }
    succeeded();
    return true;
}

void SensorLogWriter::writePending() {
    store::Database& db = database();
    store::Transaction transaction(db);
    if (!m_insertReading) {
        m_insertReading =
            db.prepare(QStringLiteral("INSERT INTO TBLSensorLog (SensorBoxnumber, Description, LuxLevel, "
                                      "CorrectedLuxLevel, DateTimeStamp) "
                                      "VALUES (?, ?, ?, ?, ?)"));
    }
    QSqlQuery& insert = *m_insertReading;
    for (const SensorLogReading& r : m_pending) {
        insert.bindValue(0, r.box);
        insert.bindValue(1, r.description);
        insert.bindValue(2, r.lux);
        insert.bindValue(3, r.correctedLux);
        insert.bindValue(4, store::dateTimeText(r.when));
        db.exec(insert);
    }
    transaction.commit();
    m_pending.clear();
}

std::vector<SensorLogReading> SensorLogWriter::readingsSince(const QDateTime& since, int limit) {
    store::Database& db = database();
    QSqlQuery query = db.run(
        QStringLiteral("SELECT SensorBoxnumber, Description, LuxLevel, CorrectedLuxLevel, DateTimeStamp "
                       "FROM TBLSensorLog WHERE DateTimeStamp >= ? "
                       "ORDER BY DateTimeStamp DESC, Sensorlog_ID DESC LIMIT ?"),
        {store::dateTimeText(since), limit});
    std::vector<SensorLogReading> readings;
    while (query.next()) {
        readings.push_back({query.value(0).toInt(), query.value(1).toString(), query.value(2).toInt(),
                            query.value(3).toDouble(), store::dateTimeFromText(query.value(4).toString())});
    }
    std::reverse(readings.begin(), readings.end());
    return readings;
}

bool SensorLogWriter::recordSensorChange(const SensorChange& change, bool removed) {
    try {
        store::Database& db = database();
        store::Transaction transaction(db);
        db.run(QStringLiteral("DELETE FROM TBLSensors WHERE SensorBoxNum = ?"), {change.box});
        if (!removed) {
            db.run(QStringLiteral("INSERT INTO TBLSensors (SensorBoxNum, SensorDesc, Calibration, "
                                  "Lastcalibrated, LogthisSensor) "
                                  "VALUES (?, ?, ?, ?, ?)"),
                   {change.box, change.description, change.calibration,
                    store::dateTimeText(change.lastCalibrated), change.logThisSensor ? 1 : 0});
        }
        db.run(QStringLiteral(
                   "INSERT INTO TBLSensorChanged (SensorBoxNumber, DateTimeStamp, Calibration, Description, "
                   "DescriptionChanged, CalibrationChanged) VALUES (?, ?, ?, ?, ?, ?)"),
               {change.box, store::dateTimeText(change.when), change.calibration, change.description,
                change.descriptionChanged ? 1 : 0, change.calibrationChanged ? 1 : 0});
        transaction.commit();
    } catch (const std::exception& error) {
        close();
        m_lastError = QStringLiteral("The sensor log %1 could not record the change of box %2: %3")
                          .arg(m_path, QString::number(change.box), QString::fromUtf8(error.what()));
        m_monitorWriter.error(m_lastError);
        return false;
    }
    m_lastError.clear();
    return true;
}

void SensorLogWriter::failed(const QString& what, const QString& why) {
    m_lastError = why;
    // Said once when writing stops working, not for every reading after it.
    if (m_failing) return;
    m_failing = true;
    m_monitorWriter.error(
        QStringLiteral("The sensor log %1 cannot be written: %2; %3").arg(m_path, why, what));
}

void SensorLogWriter::succeeded() {
    m_lastError.clear();
    if (!m_failing) return;
    m_failing = false;
    m_monitorWriter.system(
        QStringLiteral("The sensor log can be written again (%1 readings were given up)").arg(m_dropped));
}

}  // namespace qv::devices
