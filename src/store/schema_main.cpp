// The main database, master/quorvel.db: macros, names, schedules, buttons,
// plan view, lamps, configuration. Table and field names are the ones that
// existing databases and every other part of the program use; keep their letters.
//
// Each function is one migration step and must not change once released: a
// database created by it is upgraded by later steps, never by editing this one.

#include "store/schema.h"

#include "store/database.h"
#include "store/log.h"

#include <vector>

namespace qv::store::schema {

namespace {

// Version 1: the base schema.
const std::vector<Table>& mainTablesV1() {
    static const std::vector<Table> tables = {
        {"Macros",
         {{"Macro_ID", Key},
          {"Macro", Text},
          {"Enabled", YesNo},
          {"Description", Text},
          {"MacroFolder_ID", Int},
          {"SortOrder", Int}}},
        {"MacrosDetails",
         {{"MacroDetails_ID", Key},
          {"Macro_ID", Int},
          {"Description", Text},
          {"Delay", Real},
          {"SubMacro", Text},
          {"CancelMacro", Text},
          {"EnableMacro", Text},
          {"DisableMacro", Text},
          {"Rollcall", Text},
          {"Orvanet_ID", Int},
          {"WAVfile_ID", Int},
          {"Email_ID", Int},
          {"CustomCode_ID", Int},
          {"CorvalinChannelLevel_ID", Int},
          {"TreeView_ID", Int}}},
        {"MacroFolders",
         {{"MacroFolder_ID", Key}, {"MacroFolder", Text}, {"Description", Text}, {"Parent_ID", Int}}},
        {"Orvanet",
         {{"Orvanet_ID", Key},
          {"Area", Int},
          {"Preset", Int},
          {"Fade", Real},
          {"Channel", Int},
          {"Level", Int},
          {"OrvanetRS232", Raw}}},
        {"CorvalinLightBox",
         {{"CorvalinLightBox_ID", Key},
          {"CorvalinBoxNumber", Int},
          {"Area", Int},
          {"Channel", Int},
          {"ChannelDesc", Text}}},
        {"CorvalinChannelLevels",
         {{"CorvalinChannelLevel_ID", Key},
          {"CorvalinLightBox_ID", Int},
          {"ChannelLevel", Int},
          {"ChannelLevelDesc", Text},
          {"CorvalinRS232", Raw}}},
        {"WAVfiles", {{"WAVfile_ID", Key}, {"WAVFile", Text}}},
        {"Emails",
         {{"Email_ID", Key},
          {"EmailName", Text},
          {"Receipients", Text},
          {"Subject", Text},
          {"Message", Text}}},
        {"CustomCodes",
         {{"CustomCode_ID", Key}, {"CustomCodeName", Text}, {"CustomCode", Text}, {"CustomCodeRS232", Raw}}},
        // Found and deleted by name; Area and Preset stay empty for a custom-code reaction.
        {"Events",
         {{"EventName", Text}, {"Area", Int}, {"Preset", Int}, {"CustomCode_ID", Int}, {"Macro_ID", Int}}},
        {"Buttons",
         {{"Button_ID", Key},
          {"ButtonIndex", Int},
          {"Invisible", YesNo},
          {"Buttonlabel", Text},
          {"Macro_ID", Int}}},
        {"ButtonMultiState",
         {{"ButtonMultiState_ID", Key},
          {"ButtonIndex", Int},
          {"Area", Int},
          {"Preset", Int},
          {"CustomCode_ID", Int},
          {"ButtonLabel", Text},
          {"Macro_ID", Int},
          {"Colour", Int}}},
        {"AreaNames", {{"Area", Key}, {"AreaName", Text}}},
        {"PresetNames", {{"Preset_ID", Key}, {"Area", Int}, {"Preset", Int}, {"PresetName", Text}}},
        {"AreaChannels", {{"Area", Int}, {"Channel", Int}, {"Channelname", Text}}},
        // starttime and hours hold "HH:MM"; the M2/Y1/Y2 words are day, month and ordinal names.
        {"Scheduler",
         {{"Scheduler_ID", Key},
          {"Macro_ID", Int},
          {"Disabled", YesNo},
          {"startdate", Date},
          {"starttime", Text},
          {"Sunset", YesNo},
          {"before", YesNo},
          {"hours", Text},
          {"RecurringDaily", YesNo},
          {"D1_EveryXdays", Int},
          {"D2_EveryWeekDay", YesNo},
          {"D3_EveryWeekEndDay", YesNo},
          {"RecurringWeekly", YesNo},
          {"W_EveryXweeks", Int},
          {"W_Mon", YesNo},
          {"W_Tues", YesNo},
          {"W_Wed", YesNo},
          {"W_Thurs", YesNo},
          {"W_Fri", YesNo},
          {"W_Sat", YesNo},
          {"W_Sun", YesNo},
          {"RecurringMonthly", YesNo},
          {"M1_EveryWhatDay", Int},
          {"M1_OfEveryXmonths", Int},
          {"M2_TheWhatDay", Text},
          {"M2_OfEveryWhatDay", Text},
          {"M2_OfEveryXmonths", Int},
          {"RecurringYearly", YesNo},
          {"Y1_EverywhatDay", Int},
          {"Y1_OfEveryNameofMonth", Text},
          {"Y2_TheFirstSecondThirdFourthLast", Text},
          {"Y2_DayOfWeek", Text},
          {"Y2_OfEveryNameofMonth", Text}}},
        {"ScheduleWorkspace", {{"Scheduler_ID", Int}, {"StartDateTime", Date}, {"Macro", Text}}},
        {"Sensors",
         {{"SensorBoxNum", Key},
          {"SensorDesc", Text},
          {"Calibration", Real},
          {"Lastcalibrated", Date},
          {"LogthisSensor", YesNo}}},
        {"SensorInterval", {{"SensorInterval", Int}}},
        {"RollCall", {{"RollCallName", Text}, {"Device_ID", Int}, {"Boxnumber", Int}}},
        {"RollCallActions", {{"RollCall", Text}, {"emailRecipients", Text}, {"MacrotoRun", Text}}},
        {"DevicesInstalled", {{"BoxNumber", Int}, {"Description", Text}, {"Device_ID", Int}}},
        {"DeviceTypes", {{"Device_ID", Key}, {"Device", Text}, {"DeviceOpCode", Text}}},
        {"PlanIndicators",
         {{"PlanIndicator_ID", Key},
          {"Index", Int},
          {"IndicatorLEFT", Real},
          {"IndicatorTOP", Real},
          {"Area", Int},
          {"WMFFile_ID", Int}}},
        {"PlanIndicatorChannels", {{"PlanIndicator_ID", Int}, {"Channel", Int}, {"Switching", YesNo}}},
        {"PlanAreaColours",
         {{"PlanAreaColour_ID", Key}, {"Area", Int}, {"WMFFile_ID", Int}, {"DefaultColour", Int}}},
        {"PlanPresetColours", {{"PlanAreaColour_ID", Int}, {"Preset", Int}, {"Colour", Int}, {"Icon", Text}}},
        {"WMFFiles", {{"WMFFile_ID", Key}, {"WMFFile", Text}}},
        {"TreeView",
         {{"TreeView_ID", Key},
          {"Label", Text},
          {"ChildOf", Int},
          {"WMFFile", Text},
          {"Left", Real},
          {"Width", Real},
          {"Top", Real},
          {"Height", Real},
          {"iconsize", Int}}},
        {"LampFittings",
         {{"LampFitting_ID", Key}, {"LampDescription", Text}, {"RatedWattage", Real}, {"Losses", Real}}},
        {"LampProperties", {{"LampFitting_ID", Int}, {"PowerPercentage", Int}, {"Load", Real}}},
        {"LampInterpolations",
         {{"LampInterpolations_ID", Key},
          {"LampFitting_ID", Int},
          {"InterpolatedPercentage", Int},
          {"InterpolatedLevel", Real}}},
        {"LampFittingsonChannel",
         {{"Area", Int}, {"Channel", Int}, {"LampFitting_ID", Int}, {"Number", Int}}},
        {"Config",
         {{"areanames", Int},
          {"lightlevels", Int},
          {"events", Int},
          {"scheduler", Int},
          {"email", Int},
          {"customcode", Int},
          {"ddeability", Int},
          {"corvalin", Int},
          {"rollcall", Int},
          {"macros", Int},
          {"directcontrol", Int},
          {"plan", Int},
          {"monitor", Int},
          {"sensorlog", Int},
          {"macrosrunning", Int},
          {"macroorvanet", Int},
          {"macrowavfiles", Int},
          {"macroemail", Int},
          {"macrocustomcodes", Int},
          {"macrorunmacros", Int},
          {"macrocancelmacros", Int},
          {"macrocorvalin", Int},
          {"macrorollcall", Int},
          {"macroorvanetchannels", Int},
          {"editbuttons", Int},
          {"enablemonitorlog", YesNo},
          {"enablesensorlog", YesNo},
          {"enableenergyusage", YesNo},
          {"donotallowshutdown", YesNo},
          {"UserCanSaveLightingPresets", YesNo},
          {"UserCanSeekchannels", YesNo},
          {"DayLightSaving", YesNo},
          {"buttonversion", Int},
          {"MonitorLogMaxRecords", Int},
          {"LoadFromMonitorLog", Int},
          {"SensorLogMaxRecords", Int},
          {"Latitude", Real},
          {"Longitude", Real},
          {"Timezone", Real},
          {"releaserate", Int}}},
        // baud1 and stopbits1 are texts because the serial settings are chosen
        // from lists of texts ("9600", "1.5").
        {"Comms",
         {{"useTCP", YesNo},
          {"hostname", Text},
          {"secondaryhostname", Text},
          {"comport", Int},
          {"USB", YesNo},
          {"USBdelay", Int},
          {"baud1", Text},
          {"databits1", Int},
          {"parity1", Text},
          {"stopbits1", Text}}},
        {"Password", {{"Password", Text}}},
        {"VersionHistory", {{"Version", Text}, {"Date", Date}}},
    };
    return tables;
}

// The permission switches of Config; a fresh database grants every function.
const char* const kPermissionSwitches[] = {
    "areanames",        "lightlevels",    "events",
    "scheduler",        "email",          "customcode",
    "ddeability",       "corvalin",       "rollcall",
    "macros",           "directcontrol",  "plan",
    "monitor",          "sensorlog",      "macrosrunning",
    "macroorvanet",     "macrowavfiles",  "macroemail",
    "macrocustomcodes", "macrorunmacros", "macrocancelmacros",
    "macrocorvalin",    "macrorollcall",  "macroorvanetchannels",
    "editbuttons",
};

}  // namespace

void createMainTables(Database& db) {
    for (const Table& table : mainTablesV1()) createOrComplete(db, table);

    // Lines are read per macro and macros are found by name on every run.
    createIndexIfMissing(db, QStringLiteral("MacrosDetails_Macro_ID"), QStringLiteral("MacrosDetails"),
                         {"Macro_ID"});
    createIndexIfMissing(db, QStringLiteral("Macros_Macro"), QStringLiteral("Macros"), {"Macro"});

    // The single-row tables get their row, so every reader finds one.
    Values config;
    for (const char* name : kPermissionSwitches) config.emplace_back(name, 1);
    config.insert(config.end(),
                  {
                      {"enablemonitorlog", 1},
                      {"enablesensorlog", 0},
                      {"enableenergyusage", 0},
                      {"donotallowshutdown", 0},
                      {"UserCanSaveLightingPresets", 0},
                      {"UserCanSeekchannels", 0},
                      {"DayLightSaving", 0},
                      {"buttonversion", 8},  // the 8-button layout, the configuration's own default
                      {"MonitorLogMaxRecords", 100000},
                      {"LoadFromMonitorLog", 100},
                      {"SensorLogMaxRecords", 100000},
                      // The position the configuration shows before one is entered: 31.8 South,
                      // 115.95 East, GMT+8. South and east are negative.
                      {"Latitude", -31.8},
                      {"Longitude", -115.95},
                      {"Timezone", 8.0},
                      {"releaserate", 80},  // ms; the suggested release rate (50-300)
                  });
    insertRowIfEmpty(db, QStringLiteral("Config"), config);

    insertRowIfEmpty(db, QStringLiteral("Comms"),
                     {{"useTCP", 0},
                      {"hostname", QString()},
                      {"secondaryhostname", QString()},
                      {"comport", 1},
                      {"USB", 0},
                      {"USBdelay", 25},  // ms; the suggested delay (1-100)
                      {"baud1", QStringLiteral("9600")},
                      {"databits1", 8},
                      {"parity1", QStringLiteral("None")},
                      {"stopbits1", QStringLiteral("1")}});
    // An empty password means no password.
    insertRowIfEmpty(db, QStringLiteral("Password"), {{"Password", QString()}});
    // 0 means no sensor polling until the user picks an interval.
    insertRowIfEmpty(db, QStringLiteral("SensorInterval"), {{"SensorInterval", 0}});
}

// Version 2: a device path (/dev/ttyUSB0, /dev/serial/by-id/...) for the serial
// link, which wins over the numbered comport when set. Empty (NULL) until then.
void addCommsPortname(Database& db) {
    addColumnIfMissing(db, QStringLiteral("Comms"), {"portname", Text});
}

// Version 3: the SMTP server that macro e-mail lines are sent through. All
// empty (NULL) until configured; an empty mailhost means mail is not set up.
// mailtls is "none", "starttls" or "tls".
void addConfigMailServer(Database& db) {
    for (const Column& column :
         {Column{"mailhost", Text}, Column{"mailport", Int}, Column{"mailtls", Text},
          Column{"mailuser", Text}, Column{"mailpassword", Text}, Column{"mailsender", Text}})
        addColumnIfMissing(db, QStringLiteral("Config"), column);
}

// Version 4: calendar reminders. Config.ReminderCalendarPath names an .ics file
// or a folder of them (empty: no reminders). DismissedReminders remembers each
// alarm that has come due, so it never fires twice, also across restarts.
void addCalendarReminders(Database& db) {
    addColumnIfMissing(db, QStringLiteral("Config"), {"ReminderCalendarPath", Text});
    createOrComplete(db, {"DismissedReminders", {{"ReminderKey", Text}, {"DismissedAt", Date}}});
    createIndexIfMissing(db, QStringLiteral("DismissedReminders_ReminderKey"),
                         QStringLiteral("DismissedReminders"), {"ReminderKey"});
}

QStringList expectedTables(DbKind kind, int version) {
    QStringList tables;
    if (version < 1) return tables;  // a new file: the migrations make every table
    switch (kind) {
        case DbKind::Main:
            for (const Table& table : mainTablesV1()) tables << QString::fromLatin1(table.name);
            if (version >= 4) tables << QStringLiteral("DismissedReminders");
            break;
        case DbKind::MonitorLog:
            tables << QStringLiteral("EventLog");
            break;
        case DbKind::SensorLog:
            tables << QStringLiteral("TBLSensorLog") << QStringLiteral("TBLSensors")
                   << QStringLiteral("TBLSensorChanged");
            break;
        case DbKind::EnergyUsage:
            tables << QStringLiteral("EnergyUsage");
            break;
        case DbKind::RollCallTemplate:
            tables << QStringLiteral("RollCallResults");
            break;
        case DbKind::Winrights:
            tables << QStringLiteral("DoNotSendArea");
            break;
    }
    return tables;
}

// Older databases lack Macros.SortOrder; macros without a place keep their
// creation order. Runs at every open, so rows added without one are fixed too.
void ensureMacrosSortOrder(Database& db) {
    addColumnIfMissing(db, QStringLiteral("Macros"), {"SortOrder", Int});
    QSqlQuery fill = db.run(QStringLiteral("UPDATE Macros SET SortOrder = Macro_ID WHERE SortOrder IS NULL"));
    if (fill.numRowsAffected() > 0)
        qCInfo(lcStore) << db.path() << "gave" << fill.numRowsAffected() << "macros a SortOrder";
}

}  // namespace qv::store::schema
