#pragma once
// The main window's commands: each opens a window of the registry, sits in
// one menu, maybe on the toolbar, and is enabled by one permission switch.
// One QAction per command serves the menu, the toolbar and the tray alike.

#include "shell/config/permissions.h"

#include <QString>

#include <optional>
#include <vector>

namespace qv::ui {

struct Command {
    QString menu;                                // "&View", ...
    QString caption;                             // the menu item's text
    QString window;                              // the registry name it opens
    std::optional<config::Function> permission;  // none: open to every user
    QString toolbarKey;                          // "Monitor", ...; empty when not on the toolbar
};

// Every command, menu by menu in their order.
const std::vector<Command>& mainCommands();
// The toolbar keys, left to right.
const QStringList& toolbarOrder();

}  // namespace qv::ui
