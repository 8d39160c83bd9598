#pragma once
// The tables and fields each file must carry, spelled as the files of earlier
// installations and the SQL of every other part spell them. Written out here
// on their own, not taken from the store's definitions, so a typo on either
// side shows up.

#include <QString>
#include <QStringList>
#include <map>

namespace qv::store::test {

using Schema = std::map<QString, QStringList>;

inline Schema sorted(Schema schema)
{
    for (auto& [table, fields] : schema)
        fields.sort();
    return schema;
}

// The main database as the first release created it (before Comms.portname).
inline Schema expectedMainV1()
{
    return sorted({
        {"Macros", {"Macro_ID", "Macro", "Enabled", "Description", "MacroFolder_ID", "SortOrder"}},
        {"MacrosDetails",
         {"MacroDetails_ID", "Macro_ID", "Description", "Delay", "SubMacro", "CancelMacro", "EnableMacro",
          "DisableMacro", "Rollcall", "Orvanet_ID", "WAVfile_ID", "Email_ID", "CustomCode_ID",
          "CorvalinChannelLevel_ID", "TreeView_ID"}},
        {"MacroFolders", {"MacroFolder_ID", "MacroFolder", "Description", "Parent_ID"}},
        {"Orvanet", {"Orvanet_ID", "Area", "Preset", "Fade", "Channel", "Level", "OrvanetRS232"}},
        {"CorvalinLightBox", {"CorvalinLightBox_ID", "CorvalinBoxNumber", "Area", "Channel", "ChannelDesc"}},
        {"CorvalinChannelLevels",
         {"CorvalinChannelLevel_ID", "CorvalinLightBox_ID", "ChannelLevel", "ChannelLevelDesc", "CorvalinRS232"}},
        {"WAVfiles", {"WAVfile_ID", "WAVFile"}},
        {"Emails", {"Email_ID", "EmailName", "Receipients", "Subject", "Message"}},
        {"CustomCodes", {"CustomCode_ID", "CustomCodeName", "CustomCode", "CustomCodeRS232"}},
        {"Events", {"EventName", "Area", "Preset", "CustomCode_ID", "Macro_ID"}},
        {"Buttons", {"Button_ID", "ButtonIndex", "Invisible", "Buttonlabel", "Macro_ID"}},
        {"ButtonMultiState",
         {"ButtonMultiState_ID", "ButtonIndex", "Area", "Preset", "CustomCode_ID", "ButtonLabel", "Macro_ID",
          "Colour"}},
        {"AreaNames", {"Area", "AreaName"}},
        {"PresetNames", {"Preset_ID", "Area", "Preset", "PresetName"}},
        {"AreaChannels", {"Area", "Channel", "Channelname"}},
        {"Scheduler",
         {"Scheduler_ID", "Macro_ID", "Disabled", "startdate", "starttime", "Sunset", "before", "hours",
          "RecurringDaily", "D1_EveryXdays", "D2_EveryWeekDay", "D3_EveryWeekEndDay", "RecurringWeekly",
          "W_EveryXweeks", "W_Mon", "W_Tues", "W_Wed", "W_Thurs", "W_Fri", "W_Sat", "W_Sun", "RecurringMonthly",
          "M1_EveryWhatDay", "M1_OfEveryXmonths", "M2_TheWhatDay", "M2_OfEveryWhatDay", "M2_OfEveryXmonths",
          "RecurringYearly", "Y1_EverywhatDay", "Y1_OfEveryNameofMonth", "Y2_TheFirstSecondThirdFourthLast",
          "Y2_DayOfWeek", "Y2_OfEveryNameofMonth"}},
        {"ScheduleWorkspace", {"Scheduler_ID", "StartDateTime", "Macro"}},
        {"Sensors", {"SensorBoxNum", "SensorDesc", "Calibration", "Lastcalibrated", "LogthisSensor"}},
        {"SensorInterval", {"SensorInterval"}},
        {"RollCall", {"RollCallName", "Device_ID", "Boxnumber"}},
        {"RollCallActions", {"RollCall", "emailRecipients", "MacrotoRun"}},
        {"DevicesInstalled", {"BoxNumber", "Description", "Device_ID"}},
        {"DeviceTypes", {"Device_ID", "Device", "DeviceOpCode"}},
        {"PlanIndicators", {"PlanIndicator_ID", "Index", "IndicatorLEFT", "IndicatorTOP", "Area", "WMFFile_ID"}},
        {"PlanIndicatorChannels", {"PlanIndicator_ID", "Channel", "Switching"}},
        {"PlanAreaColours", {"PlanAreaColour_ID", "Area", "WMFFile_ID", "DefaultColour"}},
        {"PlanPresetColours", {"PlanAreaColour_ID", "Preset", "Colour", "Icon"}},
        {"WMFFiles", {"WMFFile_ID", "WMFFile"}},
        {"TreeView", {"TreeView_ID", "Label", "ChildOf", "WMFFile", "Left", "Width", "Top", "Height", "iconsize"}},
        {"LampFittings", {"LampFitting_ID", "LampDescription", "RatedWattage", "Losses"}},
        {"LampProperties", {"LampFitting_ID", "PowerPercentage", "Load"}},
        {"LampInterpolations",
         {"LampInterpolations_ID", "LampFitting_ID", "InterpolatedPercentage", "InterpolatedLevel"}},
        {"LampFittingsonChannel", {"Area", "Channel", "LampFitting_ID", "Number"}},
        {"Config",
         {"areanames", "lightlevels", "events", "scheduler", "email", "customcode", "ddeability", "corvalin",
          "rollcall", "macros", "directcontrol", "plan", "monitor", "sensorlog", "macrosrunning", "macroorvanet",
          "macrowavfiles", "macroemail", "macrocustomcodes", "macrorunmacros", "macrocancelmacros",
          "macrocorvalin", "macrorollcall", "macroorvanetchannels", "editbuttons", "enablemonitorlog",
          "enablesensorlog", "enableenergyusage", "donotallowshutdown", "UserCanSaveLightingPresets",
          "UserCanSeekchannels", "DayLightSaving", "buttonversion", "MonitorLogMaxRecords", "LoadFromMonitorLog",
          "SensorLogMaxRecords", "Latitude", "Longitude", "Timezone", "releaserate"}},
        {"Comms",
         {"useTCP", "hostname", "secondaryhostname", "comport", "USB", "USBdelay", "baud1", "databits1", "parity1",
          "stopbits1"}},
        {"Password", {"Password"}},
        {"VersionHistory", {"Version", "Date"}},
    });
}

// Version 2 added Comms.portname.
inline Schema expectedMainV2()
{
    Schema schema = expectedMainV1();
    schema["Comms"] << "portname";
    return sorted(schema);
}

// Version 3 added the mail server of macro e-mails to Config.
inline const QStringList& configMailFields()
{
    static const QStringList fields = {"mailhost", "mailport", "mailtls", "mailuser", "mailpassword", "mailsender"};
    return fields;
}

inline Schema expectedMainV3()
{
    Schema schema = expectedMainV2();
    schema["Config"] << configMailFields();
    return sorted(schema);
}

// Version 4 adds the calendar reminders.
inline Schema expectedMainV4()
{
    Schema schema = expectedMainV3();
    schema["Config"] << "ReminderCalendarPath";
    schema["DismissedReminders"] = {"ReminderKey", "DismissedAt"};
    return sorted(schema);
}

inline Schema expectedMain()
{
    return expectedMainV4();
}

inline Schema expectedMonitorLog()
{
    return sorted({{"EventLog",
                    {"ID", "Origin", "Hexstring", "TimeDateStamp", "Macro", "Comments", "Area", "Preset", "Channel",
                     "ChannelLevel", "AreaName", "PresetName", "ChannelName"}}});
}

inline Schema expectedSensorLog()
{
    return sorted({
        {"TBLSensorLog",
         {"Sensorlog_ID", "SensorBoxnumber", "Description", "LuxLevel", "CorrectedLuxLevel", "DateTimeStamp"}},
        {"TBLSensors", {"SensorBoxNum", "SensorDesc", "Calibration", "Lastcalibrated", "LogthisSensor"}},
        {"TBLSensorChanged",
         {"SensorBoxNumber", "DateTimeStamp", "Calibration", "Description", "DescriptionChanged",
          "CalibrationChanged"}},
    });
}

inline Schema expectedEnergyUsage()
{
    return sorted(
        {{"EnergyUsage", {"ID", "DateTimeStamp", "Area", "AreaName", "Channel", "ChannelName", "Level", "PowerUsage"}}});
}

inline Schema expectedRollCall()
{
    return sorted({{"RollCallResults",
                    {"RollCallName", "Device", "DeviceOpcode", "BoxNumber", "Description", "VersionReturned",
                     "Responded", "TimeStamp"}}});
}

inline Schema expectedWinrights()
{
    return {{"DoNotSendArea", {"Area"}}};
}

}  // namespace qv::store::test
