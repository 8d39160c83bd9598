#include "shell/config/permissions.h"

#include "shell/config/limits.h"

#include <algorithm>
#include <utility>

namespace qv::config {

namespace {

const std::pair<const char*, Function> kToolbar[] = {
    {"LightLevels", Function::LightLevels}, {"Scheduler", Function::Scheduler},
    {"Macros", Function::Macros},           {"DirectControl", Function::DirectControl},
    {"PlanView", Function::PlanView},       {"Monitor", Function::Monitor},
};

}  // namespace

bool Permissions::operator==(const Permissions& other) const {
    return buttonVersion == other.buttonVersion &&
           std::equal(std::begin(allowed), std::end(allowed), other.allowed);
}

Permissions permissionsFrom(const store::ConfigSettings& c) {
    Permissions p;
    const auto set = [&p](Function f, bool on) { p.allowed[static_cast<int>(f)] = on; };
    set(Function::AreaNames, c.areanames);
    set(Function::LightLevels, c.lightlevels);
    set(Function::Events, c.events);
    set(Function::Scheduler, c.scheduler);
    set(Function::Email, c.email);
    set(Function::CustomCode, c.customcode);
    set(Function::DdeLink, c.ddeability);
    set(Function::Corvalin, c.corvalin);
    set(Function::RollCall, c.rollcall);
    set(Function::Macros, c.macros);
    set(Function::DirectControl, c.directcontrol);
    set(Function::PlanView, c.plan);
    set(Function::Monitor, c.monitor);
    set(Function::SensorLog, c.sensorlog);
    set(Function::MacrosRunning, c.macrosrunning);
    p.buttonVersion = limitButtonVersion(c.buttonversion);
    return p;
}

QStringList toolbarKeys() {
    QStringList keys;
    for (const auto& [key, function] : kToolbar) keys << QLatin1String(key);
    return keys;
}

bool functionOfToolbarKey(const QString& key, Function* function) {
    for (const auto& [name, f] : kToolbar) {
        if (key == QLatin1String(name)) {
            *function = f;
            return true;
        }
    }
    return false;
}

PermissionModel::PermissionModel(QObject* parent) : QObject(parent) {}

bool PermissionModel::toolbarButtonEnabled(const QString& key) const {
    Function function;
    return !functionOfToolbarKey(key, &function) || allows(function);
}

void PermissionModel::set(const Permissions& permissions) {
    if (permissions == m_current) return;
    m_current = permissions;
    emit changed();
}

}  // namespace qv::config
