#pragma once
// Where each database file lives under the data directory, and the kinds of
// file the store knows how to open.

#include <QString>

namespace qv::store {

enum class DbKind { Main, MonitorLog, SensorLog, EnergyUsage, RollCallTemplate, Winrights };

// A short name of the kind for messages and connection names.
QString dbKindName(DbKind kind);

struct DataPaths {
    QString dir;  // the data directory (--data-dir), the program folder

    QString mainDb() const;            // master/quorvel.db
    QString monitorLog() const;        // master/monitorlog.db
    QString sensorLog() const;         // sensorlog.db
    QString energyUsage() const;       // energyusage.db
    QString rollCallTemplate() const;  // rollcalltemplate.db
    QString winrights() const;         // winrights.db, the area-permission store

    QString pathOf(DbKind kind) const;
};

}  // namespace qv::store
