#pragma once
// The names windows are registered and opened by. They are also the
// prefixes of the pictures scripts/screenshots writes.

#include <QString>

namespace qv::ui::window {

inline const QString kMain = QStringLiteral("main");
inline const QString kSplash = QStringLiteral("splash");
inline const QString kMonitor = QStringLiteral("monitor");
inline const QString kThreads = QStringLiteral("threads");
inline const QString kDebug = QStringLiteral("debug");
inline const QString kScriptConsole = QStringLiteral("script-console");
inline const QString kConfig = QStringLiteral("config");
// Automation: the macro editor (argument: a macro name to open), the
// schedule listing, the schedule editor (argument: a Schedule_ID, none for a
// new schedule) and the events.
inline const QString kMacroEditor = QStringLiteral("macro-editor");
inline const QString kSchedules = QStringLiteral("schedules");
inline const QString kScheduler = QStringLiteral("scheduler");
inline const QString kEvents = QStringLiteral("events");
// The plan view (argument: a TreeView_ID to show), its tree, the indicator
// setup (argument: an indicator) and the floating preset (argument: an area).
inline const QString kPlanView = QStringLiteral("plan-view");
inline const QString kPlanTree = QStringLiteral("plan-tree");
inline const QString kIndicatorSetup = QStringLiteral("indicator-setup");
inline const QString kFloatingPreset = QStringLiteral("floating-preset");
// Control and devices (light levels' argument: an area; sensor properties':
// a sensor's box number).
inline const QString kDirectControl = QStringLiteral("direct-control");
inline const QString kLightLevels = QStringLiteral("light-levels");
inline const QString kSensors = QStringLiteral("sensors");
inline const QString kNewSensor = QStringLiteral("new-sensor");
inline const QString kSensorProperties = QStringLiteral("sensor-properties");
inline const QString kRollCall = QStringLiteral("roll-call");
inline const QString kRollCallEditor = QStringLiteral("roll-call-editor");
inline const QString kEnergy = QStringLiteral("energy");
inline const QString kLampTypes = QStringLiteral("lamp-types");
inline const QString kLampProperties = QStringLiteral("lamp-properties");
inline const QString kLampsOnChannels = QStringLiteral("lamps-on-channels");
inline const QString kItemExchange = QStringLiteral("item-exchange");
inline const QString kAreaStatus = QStringLiteral("area-status");
// Data editors (the button editor's argument: the button number 1..24).
inline const QString kButtonEditor = QStringLiteral("button-editor");
inline const QString kLightBoxes = QStringLiteral("light-box");
// The named levels of one light-box channel (argument: QVariantList{area, channel}).
inline const QString kLightBoxLevels = QStringLiteral("light-box-levels");
inline const QString kCustomCodes = QStringLiteral("custom-codes");
inline const QString kNames = QStringLiteral("names");
inline const QString kEmails = QStringLiteral("emails");

}  // namespace qv::ui::window
