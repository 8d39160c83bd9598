// The side databases: opened for one task and closed again. Each function is one
// migration step and must not change once released.

#include "store/schema.h"

#include "store/database.h"

namespace qv::store::schema {

// master/monitorlog.db: every message sent and heard, every macro and warning.
void createMonitorLogTables(Database& db) {
    // Area, Preset, Channel and ChannelLevel stay empty (NULL) when a record is
    // not about them; the energy report selects on exactly that.
    createOrComplete(db, {"EventLog",
                          {{"ID", Key},
                           {"Origin", Text},
                           {"Hexstring", Text},
                           {"TimeDateStamp", Date},
                           {"Macro", Text},
                           {"Comments", Text},
                           {"Area", Int},
                           {"Preset", Int},
                           {"Channel", Int},
                           {"ChannelLevel", Int},
                           {"AreaName", Text},
                           {"PresetName", Text},
                           {"ChannelName", Text}}});
    // The energy report reads a date range.
    createIndexIfMissing(db, QStringLiteral("EventLog_TimeDateStamp"), QStringLiteral("EventLog"),
                         {"TimeDateStamp"});
}

// sensorlog.db: lux readings and the history of sensor changes.
void createSensorLogTables(Database& db) {
    createOrComplete(db, {"TBLSensorLog",
                          {{"Sensorlog_ID", Key},
                           {"SensorBoxnumber", Int},
                           {"Description", Text},
                           {"LuxLevel", Int},
                           {"CorrectedLuxLevel", Real},
                           {"DateTimeStamp", Date}}});
    // A copy of the sensor list kept beside the readings; no key, a copy must
    // never refuse a row the main list accepted.
    createOrComplete(db, {"TBLSensors",
                          {{"SensorBoxNum", Int},
                           {"SensorDesc", Text},
                           {"Calibration", Real},
                           {"Lastcalibrated", Date},
                           {"LogthisSensor", YesNo}}});
    createOrComplete(db, {"TBLSensorChanged",
                          {{"SensorBoxNumber", Int},
                           {"DateTimeStamp", Date},
                           {"Calibration", Real},
                           {"Description", Text},
                           {"DescriptionChanged", YesNo},
                           {"CalibrationChanged", YesNo}}});
}

// energyusage.db: one report row per logged level change.
void createEnergyUsageTables(Database& db) {
    // ID is the EventLog ID the row came from, written by the report, not assigned here.
    createOrComplete(db, {"EnergyUsage",
                          {{"ID", Int},
                           {"DateTimeStamp", Date},
                           {"Area", Int},
                           {"AreaName", Text},
                           {"Channel", Int},
                           {"ChannelName", Text},
                           {"Level", Int},
                           {"PowerUsage", Real}}});
}

// rollcalltemplate.db and its per-roll-call copies: one row per device polled.
void createRollCallTables(Database& db) {
    // BoxNumber is text: results are matched against the box number written as text.
    createOrComplete(db, {"RollCallResults",
                          {{"RollCallName", Text},
                           {"Device", Text},
                           {"DeviceOpcode", Text},
                           {"BoxNumber", Text},
                           {"Description", Text},
                           {"VersionReturned", Text},
                           {"Responded", YesNo},
                           {"TimeStamp", Date}}});
}

// winrights.db: the areas this PC may not send to, one row each.
void createWinrightsTables(Database& db) {
    createOrComplete(db, {"DoNotSendArea", {{"Area", Int}}});
}

}  // namespace qv::store::schema
