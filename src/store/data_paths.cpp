#include "store/data_paths.h"

#include <QDir>

namespace qv::store {

QString dbKindName(DbKind kind) {
    switch (kind) {
        case DbKind::Main:
            return QStringLiteral("main");
        case DbKind::MonitorLog:
            return QStringLiteral("monitorlog");
        case DbKind::SensorLog:
            return QStringLiteral("sensorlog");
        case DbKind::EnergyUsage:
            return QStringLiteral("energyusage");
        case DbKind::RollCallTemplate:
            return QStringLiteral("rollcall");
        case DbKind::Winrights:
            return QStringLiteral("winrights");
    }
    return QStringLiteral("unknown");
}

QString DataPaths::mainDb() const {
    return QDir(dir).filePath(QStringLiteral("master/quorvel.db"));
}
QString DataPaths::monitorLog() const {
    return QDir(dir).filePath(QStringLiteral("master/monitorlog.db"));
}
QString DataPaths::sensorLog() const {
    return QDir(dir).filePath(QStringLiteral("sensorlog.db"));
}
QString DataPaths::energyUsage() const {
    return QDir(dir).filePath(QStringLiteral("energyusage.db"));
}
QString DataPaths::rollCallTemplate() const {
    return QDir(dir).filePath(QStringLiteral("rollcalltemplate.db"));
}
QString DataPaths::winrights() const {
    return QDir(dir).filePath(QStringLiteral("winrights.db"));
}

QString DataPaths::pathOf(DbKind kind) const {
    switch (kind) {
        case DbKind::Main:
            return mainDb();
        case DbKind::MonitorLog:
            return monitorLog();
        case DbKind::SensorLog:
            return sensorLog();
        case DbKind::EnergyUsage:
            return energyUsage();
        case DbKind::RollCallTemplate:
            return rollCallTemplate();
        case DbKind::Winrights:
            return winrights();
    }
    return {};
}

}  // namespace qv::store
