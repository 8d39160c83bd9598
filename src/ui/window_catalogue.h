#pragma once
// Registers every window kind of the program with the registry.

namespace qv::ui {

class Windows;

void addAllWindows(Windows& windows);

// One registration function per group of windows, each in its own folder.
void addDesktopWindows(Windows& windows);  // desktop/: monitor, running macros, debug, scripts, configuration
void addAutomationWindows(Windows& windows);  // automation/: macro editor, schedules, events
void addPlanWindows(Windows& windows);        // plan/: plan view, its tree, indicators, floating preset
void addDeviceWindows(
    Windows& windows);  // devices/: direct control, light levels, sensors, roll call, energy, exchange
void addEditorWindows(Windows& windows);  // editors/: buttons, light boxes, custom codes, names, e-mails

}  // namespace qv::ui
