#include "shell/config/settings.h"

#include "shell/config/limits.h"
#include "shell/config/logging.h"
#include "store/database.h"

namespace qv::config {

namespace {

bool hasRow(store::Database& main, const char* table) {
    // The table name is one of ours, never a value from outside.
    return main.value(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))).toLongLong() > 0;
}

}  // namespace

Settings initialSettings() {
    Settings s;
    s.config.buttonversion = kDefaultButtonVersion;
    s.config.Latitude = -31.8;
    s.config.Longitude = -115.95;
    s.config.Timezone = 8.0;
    // Empty number boxes.
    s.config.MonitorLogMaxRecords = 0;
    s.config.LoadFromMonitorLog = 0;
    s.config.SensorLogMaxRecords = 0;
    s.config.releaserate = limitReleaseRate(0);
    s.comms.hostname.clear();
    s.comms.secondaryhostname.clear();
    s.comms.usbdelay = limitUsbDelay(0);
    return s;
}

QStringList applyLimits(Settings& settings) {
    QStringList changes;
    store::ConfigSettings& c = settings.config;
    if (const int limited = limitReleaseRate(c.releaserate); limited != c.releaserate) {
        changes << QStringLiteral("The release rate %1 ms is outside 50-300 ms; %2 ms is used")
                       .arg(c.releaserate)
                       .arg(limited);
        c.releaserate = limited;
    }
    if (const int limited = limitLoadFromMonitorLog(c.LoadFromMonitorLog); limited != c.LoadFromMonitorLog) {
        changes << QStringLiteral("LoadFromMonitorLog %1 is outside 0-10000; %2 is used")
                       .arg(c.LoadFromMonitorLog)
                       .arg(limited);
        c.LoadFromMonitorLog = limited;
    }
    if (const int limited = limitButtonVersion(c.buttonversion); limited != c.buttonversion) {
        changes << QStringLiteral(
                       "The button version %1 is not 4, 8, 12, 18 or 24; the %2 button version is used")
                       .arg(c.buttonversion)
                       .arg(limited);
        c.buttonversion = limited;
    }
    if (const int limited = limitUsbDelay(settings.comms.usbdelay); limited != settings.comms.usbdelay) {
        changes << QStringLiteral("The USB delay %1 ms is below 1 ms; %2 ms is used")
                       .arg(settings.comms.usbdelay)
                       .arg(limited);
        settings.comms.usbdelay = limited;
    }
    return changes;
}

LoadedSettings loadSettings(store::Database& main) {
    LoadedSettings loaded;
    const Settings initial = initialSettings();
    loaded.configRowFound = hasRow(main, "Config");
    loaded.commsRowFound = hasRow(main, "Comms");
    loaded.settings.config = loaded.configRowFound ? store::loadConfigSettings(main) : initial.config;
    loaded.settings.comms = loaded.commsRowFound ? store::loadCommsSettings(main) : initial.comms;
    if (!loaded.configRowFound)
        qCInfo(lcConfig) << main.path() << "has no Config row; the initial values stand";
    if (!loaded.commsRowFound)
        qCInfo(lcConfig) << main.path() << "has no Comms row; the initial values stand";
    loaded.adjustments = applyLimits(loaded.settings);
    for (const QString& change : loaded.adjustments) qCWarning(lcConfig) << change;
    return loaded;
}

}  // namespace qv::config
