#include "ui/main_window/commands.h"

#include "ui/window_names.h"

namespace qv::ui {

using config::Function;

const std::vector<Command>& mainCommands() {
    static const std::vector<Command> commands = {
        {QStringLiteral("&View"), QStringLiteral("Monitor"), window::kMonitor, Function::Monitor,
         QStringLiteral("Monitor")},
        {QStringLiteral("&View"),
         QStringLiteral("Running Macros"),
         window::kThreads,
         Function::MacrosRunning,
         {}},
        {QStringLiteral("&View"), QStringLiteral("Plan View"), window::kPlanView, Function::PlanView,
         QStringLiteral("PlanView")},
        {QStringLiteral("&Control"), QStringLiteral("Direct Control"), window::kDirectControl,
         Function::DirectControl, QStringLiteral("DirectControl")},
        {QStringLiteral("&Control"), QStringLiteral("Light Levels"), window::kLightLevels,
         Function::LightLevels, QStringLiteral("LightLevels")},
        {QStringLiteral("&Automation"), QStringLiteral("Macros"), window::kMacroEditor, Function::Macros,
         QStringLiteral("Macros")},
        {QStringLiteral("&Automation"), QStringLiteral("Scheduler"), window::kSchedules, Function::Scheduler,
         QStringLiteral("Scheduler")},
        {QStringLiteral("&Automation"), QStringLiteral("Events"), window::kEvents, Function::Events, {}},
        {QStringLiteral("&Editors"),
         QStringLiteral("Area and Preset Names"),
         window::kNames,
         Function::AreaNames,
         {}},
        {QStringLiteral("&Editors"),
         QStringLiteral("Custom Codes"),
         window::kCustomCodes,
         Function::CustomCode,
         {}},
        {QStringLiteral("&Editors"), QStringLiteral("E-mails"), window::kEmails, Function::Email, {}},
        {QStringLiteral("&Editors"),
         QStringLiteral("Light Boxes"),
         window::kLightBoxes,
         Function::Corvalin,
         {}},
        {QStringLiteral("&Devices"),
         QStringLiteral("Light Sensors"),
         window::kSensors,
         Function::SensorLog,
         {}},
        {QStringLiteral("&Devices"),
         QStringLiteral("Roll Call"),
         window::kRollCallEditor,
         Function::RollCall,
         {}},
        {QStringLiteral("&Link"), QStringLiteral("DDE"), window::kItemExchange, Function::DdeLink, {}},
        {QStringLiteral("&Link"), QStringLiteral("Area Status"), window::kAreaStatus, Function::DdeLink, {}},
        {QStringLiteral("&Reports"), QStringLiteral("Energy Usage"), window::kEnergy, std::nullopt, {}},
        {QStringLiteral("&Reports"), QStringLiteral("Lamp Types"), window::kLampTypes, std::nullopt, {}},
        {QStringLiteral("&Reports"),
         QStringLiteral("Lamp Properties"),
         window::kLampProperties,
         std::nullopt,
         {}},
        {QStringLiteral("&Reports"),
         QStringLiteral("Lamps on Channels"),
         window::kLampsOnChannels,
         std::nullopt,
         {}},
        {QStringLiteral("&Tools"), QStringLiteral("Debug List"), window::kDebug, std::nullopt, {}},
        {QStringLiteral("&Tools"),
         QStringLiteral("Script Console"),
         window::kScriptConsole,
         std::nullopt,
         {}},
    };
    return commands;
}

const QStringList& toolbarOrder() {
    static const QStringList order = {QStringLiteral("DirectControl"), QStringLiteral("LightLevels"),
                                      QStringLiteral("PlanView"),      QStringLiteral("Macros"),
                                      QStringLiteral("Monitor"),       QStringLiteral("Scheduler")};
    return order;
}

}  // namespace qv::ui
