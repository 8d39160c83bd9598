#include "shell/config/sensor_log_reset.h"

#include "shell/config/logging.h"
#include "shell/config/messages.h"
#include "store/database.h"
#include "store/store_error.h"
#include "store/transaction.h"

namespace qv::config {

store::Outcome resetSensorLog(const QString& sensorLogPath) {
    try {
        store::Database db = store::Database::open(sensorLogPath, store::DbKind::SensorLog);
        {
            store::Transaction transaction(db);
            db.exec(QStringLiteral("DELETE FROM TBLSensorChanged"));
            db.exec(QStringLiteral("DELETE FROM TBLSensorLog"));
            transaction.commit();
        }
        db.close();
    } catch (const store::StoreError& e) {
        qCWarning(lcConfig) << "sensor log reset failed:" << e.what();
        return store::Outcome::refused(
            QStringLiteral("The Sensor Log could not be reset: %1").arg(QString::fromUtf8(e.what())));
    }
    qCInfo(lcConfig) << "sensor log reset";
    return store::Outcome::done(msg::kSensorLogDeleted);
}

}  // namespace qv::config
