#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/devices/direct_control_window.h"
#include "ui/devices/light_levels_window.h"
#include "ui/devices/sensors_window.h"
#include "ui/window_catalogue.h"
#include "ui/window_names.h"

#include <QListWidget>
#include "ui/windows.h"

namespace qv::ui {

void addDeviceWindows(Windows& windows) {
    windows.add(window::kDirectControl,
                {.create = [&windows](const QVariant&) -> QWidget* {
                     if (!windows.engine().features()) return nullptr;
                     return new DirectControlWindow(windows.engine().features()->directControl(),
                                                    windows.mainWindow());
                 },
                 .reopen = [](QWidget* window,
                              const QVariant&) { static_cast<DirectControlWindow*>(window)->reload(); },
                 .keep = true});

    windows.add(window::kLightLevels, {.create = [&windows](const QVariant& area) -> QWidget* {
                                           if (!windows.engine().features()) return nullptr;
                                           auto* window =
                                               new LightLevelsWindow(windows.engine(), windows.mainWindow());
                                           if (area.isValid()) window->showArea(area.toInt());
                                           return window;
                                       },
                                       .reopen =
                                           [](QWidget* window, const QVariant& area) {
                                               auto* levels = static_cast<LightLevelsWindow*>(window);
                                               levels->applyPermissions();
                                               if (area.isValid()) levels->showArea(area.toInt());
                                           },
                                       .keep = true});

    windows.add(
        window::kSensors,
        {.create = [&windows](const QVariant&) -> QWidget* {
             if (!windows.engine().features()) return nullptr;
             return new SensorsWindow(windows.engine(), windows.mainWindow());
         },
         .reopen = [](QWidget* window, const QVariant&) { static_cast<SensorsWindow*>(window)->reload(); },
         .keep = true});

    windows.addScene(QStringLiteral("sensors"),
                     [](Windows& w) -> QWidget* { return w.open(window::kSensors); });
    windows.addScene(QStringLiteral("direct-control"), [](Windows& w) -> QWidget* {
        QWidget* window = w.open(window::kDirectControl);
        if (auto* list = window->findChild<QListWidget*>("areaList")) list->setCurrentRow(5);
        return window;
    });
    windows.addScene(QStringLiteral("light-levels"),
                     [](Windows& w) -> QWidget* { return w.open(window::kLightLevels, 5); });
}

}  // namespace qv::ui
