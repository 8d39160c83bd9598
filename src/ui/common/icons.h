#pragma once
// The program's icons (SVG resources): the six toolbar keys, the program
// itself (tray, window) and a few for editors.

#include <QIcon>
#include <QString>

namespace qv::ui {

// name: "DirectControl", "LightLevels", "PlanView", "Macros", "Monitor",
// "Scheduler", "Quorvel"; an unknown name gives the program's icon.
QIcon icon(const QString& name);

}  // namespace qv::ui
