#include "shell/engine.h"
#include "ui/desktop/config_window.h"
#include "ui/desktop/monitor_window.h"
#include "ui/desktop/small_windows.h"
#include "ui/window_catalogue.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QTabWidget>

namespace qv::ui {

namespace {

QWidget* configOnTab(Windows& windows, const QString& tab) {
    QWidget* window = windows.open(window::kConfig);
    if (!window) return nullptr;
    auto* tabs = window->findChild<QTabWidget*>(QStringLiteral("ConfigSSTab"));
    for (int i = 0; tabs && i < tabs->count(); ++i)
        if (tabs->tabText(i) == tab) tabs->setCurrentIndex(i);
    return window;
}

}  // namespace

void addDesktopWindows(Windows& windows) {
    shell::Engine& engine = windows.engine();
    windows.add(window::kMonitor, {.create = [&engine, &windows](const QVariant&) -> QWidget* {
                    return new MonitorWindow(engine, windows.mainWindow());
                }});
    windows.add(window::kThreads, {.create = [&engine, &windows](const QVariant&) -> QWidget* {
                    return new ThreadsWindow(engine, windows.mainWindow());
                }});
    windows.add(window::kDebug, {.create = [&engine, &windows](const QVariant&) -> QWidget* {
                    return new DebugWindow(engine, windows.mainWindow());
                }});
    windows.add(window::kScriptConsole, {.create = [&engine, &windows](const QVariant&) -> QWidget* {
                    return new ScriptConsoleWindow(engine, windows.mainWindow());
                }});
    windows.add(window::kConfig, {.create = [&engine, &windows](const QVariant&) -> QWidget* {
                                      return new ConfigWindow(engine, windows.mainWindow());
                                  },
                                  .reopen =
                                      [](QWidget* window, const QVariant&) {
                                          if (!window->isVisible())
                                              static_cast<ConfigWindow*>(window)->restart();
                                      }});

    windows.addScene(QStringLiteral("monitor"), [](Windows& w) { return w.open(window::kMonitor); });
    windows.addScene(QStringLiteral("threads"), [](Windows& w) { return w.open(window::kThreads); });
    windows.addScene(QStringLiteral("debug"), [](Windows& w) { return w.open(window::kDebug); });
    windows.addScene(QStringLiteral("script-console"),
                     [](Windows& w) { return w.open(window::kScriptConsole); });
    windows.addScene(QStringLiteral("config-permissions"),
                     [](Windows& w) { return configOnTab(w, QStringLiteral("Permissions")); });
    windows.addScene(QStringLiteral("config-comms"),
                     [](Windows& w) { return configOnTab(w, QStringLiteral("Comms")); });
}

}  // namespace qv::ui
