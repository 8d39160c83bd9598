#pragma once
// The sensor log (sensorlog.db): the readings the decoder hears and the copy
// and history of sensor changes the sensor windows make.
//
// The connection stays open for the run: opening the file for every reading
// costs a schema check each time. Each reading is its own short transaction
// in WAL mode, so a commit does not wait for the disk, and the lock wait is
// short, so a sensor log held by another program delays the decoder by a
// fraction of a second, not the usual five seconds. A reading that cannot be
// written waits in memory and goes with the next one.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "store/database.h"
#include "store/monitor_record.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace qv::devices {

struct SensorLogReading {
    int box = 0;
    QString description;  // as logged: the sensor's description + " "
    int lux = 0;
    double correctedLux = 0;
    QDateTime when;
};

struct SensorChange {
    int box = 0;
    QString description;
    double calibration = 1.0;
    QDateTime lastCalibrated;
    bool logThisSensor = true;
    bool descriptionChanged = false;
    bool calibrationChanged = false;
    QDateTime when;
};

class SensorLogWriter {
public:
    static constexpr int kBusyTimeoutMs = 250;
    // Beyond this many unwritten readings the oldest are given up.
    static constexpr std::size_t kMaxPending = 1000;

    // path: DataPaths::sensorLog(). Opened on first use.
    SensorLogWriter(QString path, store::MonitorSink& monitor, const qv::Clock& clock);
    ~SensorLogWriter();
    SensorLogWriter(const SensorLogWriter&) = delete;
    SensorLogWriter& operator=(const SensorLogWriter&) = delete;

    // Appends a TBLSensorLog row (and any that waited) in one transaction.
    // False when it could not; the reading then waits for the next call.
    bool appendReading(SensorLogReading reading);

    // Replaces the box's TBLSensors row (or removes it when removed is true)
    // and appends a TBLSensorChanged row, in one transaction. On failure the
    // reason is in lastError() and has gone to the monitor.
    bool recordSensorChange(const SensorChange& change, bool removed = false);

    // The readings logged at or after since, oldest first; when there are
    // more than limit, the newest limit of them. Throws StoreError.
    std::vector<SensorLogReading> readingsSince(const QDateTime& since, int limit = 5000);

    QString lastError() const { return m_lastError; }
    std::size_t pendingCount() const { return m_pending.size(); }
    quint64 droppedCount() const { return m_dropped; }
    bool isOpen() const { return m_db.has_value(); }

    // Closes the connection (shutdown, or before the file is reset); the next
    // use reopens it.
    void close();

private:
    store::Database& database();
    void writePending();
    void failed(const QString& what, const QString& why);
    void succeeded();

    QString m_path;
    comms::MonitorWriter m_monitorWriter;
    std::optional<store::Database> m_db;
    std::optional<QSqlQuery> m_insertReading;
    std::deque<SensorLogReading> m_pending;
    quint64 m_dropped = 0;
    bool m_failing = false;
    QString m_lastError;
};

}  // namespace qv::devices
