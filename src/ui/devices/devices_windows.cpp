#include "features/devices/roll_call.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/devices/area_status_window.h"
#include "ui/devices/direct_control_window.h"
#include "ui/devices/energy_window.h"
#include "ui/devices/item_exchange_window.h"
#include "ui/devices/lamp_properties_window.h"
#include "ui/devices/lamp_type_window.h"
#include "ui/devices/lamps_on_channels_window.h"
#include "ui/devices/light_levels_window.h"
#include "ui/devices/new_sensor_window.h"
#include "ui/devices/roll_call_form.h"
#include "ui/devices/roll_call_window.h"
#include "ui/devices/sensor_properties_window.h"
#include "ui/devices/sensors_window.h"
#include "ui/window_catalogue.h"
#include "ui/window_names.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
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
             auto* window = new SensorsWindow(windows.engine(), windows.mainWindow());
             QObject::connect(window, &SensorsWindow::sensorChosen, window,
                              [&windows](int box) { windows.open(window::kSensorProperties, box); });
             QObject::connect(window, &SensorsWindow::newSensorAsked, window,
                              [&windows] { windows.open(window::kNewSensor); });
             return window;
         },
         .reopen = [](QWidget* window, const QVariant&) { static_cast<SensorsWindow*>(window)->reload(); },
         .keep = true});

    // After a change in either sensor window the list shows it.
    auto reloadSensors = [&windows] {
        if (auto* sensors = windows.find<SensorsWindow>(window::kSensors)) sensors->reload();
    };
    windows.add(window::kNewSensor,
                {.create = [&windows, reloadSensors](const QVariant&) -> QWidget* {
                     if (!windows.engine().features()) return nullptr;
                     auto* window = new NewSensorWindow(windows.engine(), windows.mainWindow());
                     QObject::connect(window, &NewSensorWindow::sensorAdded, window, reloadSensors);
                     return window;
                 },
                 .reopen = {},
                 .keep = true});
    windows.add(window::kSensorProperties,
                {.create = [&windows, reloadSensors](const QVariant& box) -> QWidget* {
                     if (!windows.engine().features()) return nullptr;
                     auto* window = new SensorPropertiesWindow(windows.engine(), windows.mainWindow());
                     QObject::connect(window, &SensorPropertiesWindow::sensorsChanged, window, reloadSensors);
                     if (box.isValid()) window->showSensor(box.toInt());
                     return window;
                 },
                 .reopen =
                     [](QWidget* window, const QVariant& box) {
                         if (box.isValid())
                             static_cast<SensorPropertiesWindow*>(window)->showSensor(box.toInt());
                     },
                 .keep = true});

    windows.add(window::kRollCall,
                {.create = [&windows](const QVariant&) -> QWidget* {
                     if (!windows.engine().features()) return nullptr;
                     return new RollCallWindow(windows.engine().features()->rollCalls(),
                                               windows.mainWindow());
                 },
                 .reopen = [](QWidget* window,
                              const QVariant&) { static_cast<RollCallWindow*>(window)->refreshNames(); },
                 .keep = true});
    windows.add(
        window::kRollCallEditor,
        {.create = [&windows](const QVariant&) -> QWidget* {
             return new RollCallForm(windows.engine().mainDatabase(), windows.mainWindow());
         },
         .reopen = [](QWidget* window, const QVariant&) { static_cast<RollCallForm*>(window)->reload(); },
         .keep = true});
    windows.add(window::kAreaStatus,
                {.create = [&windows](const QVariant&) -> QWidget* {
                     return new AreaStatusWindow(windows.engine(), windows.mainWindow());
                 },
                 .reopen = [](QWidget* window,
                              const QVariant&) { static_cast<AreaStatusWindow*>(window)->refresh(); },
                 .keep = true});
    windows.add(window::kEnergy, {.create = [&windows](const QVariant&) -> QWidget* {
                                      return new EnergyWindow(windows.engine(), windows.mainWindow());
                                  },
                                  .reopen = {},
                                  .keep = true});
    windows.add(
        window::kLampTypes,
        {.create = [&windows](const QVariant&) -> QWidget* {
             return new LampTypeWindow(windows.engine().mainDatabase(), windows.mainWindow());
         },
         .reopen = [](QWidget* window, const QVariant&) { static_cast<LampTypeWindow*>(window)->reload(); },
         .keep = true});
    windows.add(window::kLampProperties,
                {.create = [&windows](const QVariant&) -> QWidget* {
                     return new LampPropertiesWindow(windows.engine().mainDatabase(), windows.mainWindow());
                 },
                 .reopen = [](QWidget* window,
                              const QVariant&) { static_cast<LampPropertiesWindow*>(window)->reload(); },
                 .keep = true});
    windows.add(window::kLampsOnChannels,
                {.create = [&windows](const QVariant&) -> QWidget* {
                     return new LampsOnChannelsWindow(windows.engine().mainDatabase(), windows.mainWindow());
                 },
                 .reopen = [](QWidget* window,
                              const QVariant&) { static_cast<LampsOnChannelsWindow*>(window)->reload(); },
                 .keep = true});

    windows.add(window::kItemExchange,
                {.create = [&windows](const QVariant&) -> QWidget* {
                     if (!windows.engine().features()) return nullptr;
                     return new ItemExchangeWindow(windows.engine(), windows.mainWindow());
                 },
                 .reopen = [](QWidget* window,
                              const QVariant&) { static_cast<ItemExchangeWindow*>(window)->refresh(); },
                 .keep = true});

    // The progress window opens when a roll call starts and closes at its end.
    // The runner exists once the engine has made its features.
    auto connectRunner = [&windows] {
        devices::RollCallRunner& runner = windows.engine().features()->rollCalls();
        QObject::connect(&runner, &devices::RollCallRunner::started, &windows,
                         [&windows] { windows.open(window::kRollCall); });
        QObject::connect(&runner, &devices::RollCallRunner::finished, &windows, [&windows, &runner] {
            if (!runner.Rollcalllistbox().isEmpty()) return;
            if (QWidget* window = windows.find(window::kRollCall)) window->close();
        });
    };
    if (windows.engine().features())
        connectRunner();
    else
        QObject::connect(&windows.engine(), &shell::Engine::featuresReady, &windows, connectRunner,
                         Qt::SingleShotConnection);

    windows.addScene(QStringLiteral("sensors"),
                     [](Windows& w) -> QWidget* { return w.open(window::kSensors); });
    windows.addScene(QStringLiteral("sensor-properties"), [](Windows& w) -> QWidget* {
        QWidget* window = w.open(window::kSensorProperties, 7);
        if (auto* refresh = window->findChild<QPushButton*>("refreshButton")) refresh->click();
        return window;
    });
    windows.addScene(QStringLiteral("direct-control"), [](Windows& w) -> QWidget* {
        QWidget* window = w.open(window::kDirectControl);
        if (auto* list = window->findChild<QListWidget*>("areaList")) list->setCurrentRow(5);
        return window;
    });
    // The report over the levels heard since yesterday (the end day is left out).
    windows.addScene(QStringLiteral("energy"), [](Windows& w) -> QWidget* {
        auto* window = static_cast<EnergyWindow*>(w.open(window::kEnergy));
        const QDate today = QDate::currentDate();
        window->findChild<QCalendarWidget*>("StartDateMonthView")->setSelectedDate(today.addDays(-1));
        window->findChild<QCalendarWidget*>("EndDateMonthView")->setSelectedDate(today.addDays(1));
        window->createReport();
        return window;
    });
    windows.addScene(QStringLiteral("lamps"), [](Windows& w) -> QWidget* {
        QWidget* window = w.open(window::kLampProperties);
        if (auto* types = window->findChild<QComboBox*>("lampTypeCombo")) types->setCurrentIndex(1);
        return window;
    });
    // The exchange turned on, with the status items the demo's traffic changes.
    windows.addScene(QStringLiteral("item-exchange"), [](Windows& w) -> QWidget* {
        if (!w.engine().itemExchangeOn()) w.engine().setItemExchange(true);
        return w.open(window::kItemExchange);
    });
    // The editor shows "Evening check" and the roll call starts meanwhile, so
    // that when the progress window is taken a picture later the devices that
    // answer have answered and the two silent ones (boxes 11 and 13) are still
    // being asked.
    windows.addScene(QStringLiteral("roll-call-editor"), [](Windows& w) -> QWidget* {
        QWidget* window = w.open(window::kRollCallEditor);
        if (auto* names = window->findChild<QComboBox*>("RollCallNameCombo"))
            names->setCurrentIndex(names->findText(QStringLiteral("Evening check")));
        if (w.engine().features())
            w.engine().features()->rollCalls().RollCall(QStringLiteral("Evening check"));
        return window;
    });
    windows.addScene(QStringLiteral("roll-call"),
                     [](Windows& w) -> QWidget* { return w.open(window::kRollCall); });
    windows.addScene(QStringLiteral("area-status"),
                     [](Windows& w) -> QWidget* { return w.open(window::kAreaStatus); });
    windows.addScene(QStringLiteral("light-levels"),
                     [](Windows& w) -> QWidget* { return w.open(window::kLightLevels, 5); });
}

}  // namespace qv::ui
