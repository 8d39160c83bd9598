#include "schedule/scheduling.h"
#include "shell/engine.h"
#include "store/store_error.h"
#include "ui/automation/events_form.h"
#include "ui/automation/macro_editor_form.h"
#include "ui/automation/scheduler_form.h"
#include "ui/automation/show_schedules_form.h"
#include "ui/window_catalogue.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QComboBox>

namespace qv::ui {

void addAutomationWindows(Windows& windows) {
    windows.add(window::kMacroEditor, {.create = [&windows](const QVariant& argument) -> QWidget* {
                                           auto* form = new MacroEditorForm(windows);
                                           if (!argument.toString().isEmpty())
                                               form->openMacro(argument.toString());
                                           return form;
                                       },
                                       .reopen =
                                           [](QWidget* window, const QVariant& argument) {
                                               if (auto* form = qobject_cast<MacroEditorForm*>(window);
                                                   form && !argument.toString().isEmpty())
                                                   form->openMacro(argument.toString());
                                           },
                                       .keep = true});

    windows.add(window::kSchedules,
                {.create = [&windows](const QVariant&) -> QWidget* {
                     if (!windows.engine().scheduling()) return nullptr;
                     return new ShowSchedulesForm(windows, windows.mainWindow());
                 },
                 .reopen = [](QWidget* window,
                              const QVariant&) { static_cast<ShowSchedulesForm*>(window)->refresh(); },
                 .keep = true});

    // A new editor each time, over the listing when it is open; saving
    // refreshes the listing.
    windows.add(window::kScheduler,
                {.create = [&windows](const QVariant& schedulerId) -> QWidget* {
                     if (!windows.engine().scheduling()) return nullptr;
                     auto* listing = windows.find<ShowSchedulesForm>(window::kSchedules);
                     auto* form = new SchedulerForm(
                         windows, listing ? static_cast<QWidget*>(listing) : windows.mainWindow());
                     if (schedulerId.isValid()) form->openSchedule(schedulerId.toInt());
                     if (listing)
                         QObject::connect(form, &SchedulerForm::saved, listing, &ShowSchedulesForm::refresh);
                     return form;
                 },
                 .keep = false});

    windows.addScene(QStringLiteral("schedules"), [](Windows& w) -> QWidget* {
        auto* listing = qobject_cast<ShowSchedulesForm*>(w.open(window::kSchedules));
        if (listing) {
            listing->setWeekView(false);
            listing->resize(1000, 460);
        }
        return listing;
    });
    windows.addScene(QStringLiteral("schedules-week"), [](Windows& w) -> QWidget* {
        auto* listing = qobject_cast<ShowSchedulesForm*>(w.open(window::kSchedules));
        if (listing) {
            listing->setWeekView(true);
            listing->resize(1000, 620);
        }
        return listing;
    });
    // The editor on the demo's first schedule relative to the sun.
    windows.addScene(QStringLiteral("scheduler"), [](Windows& w) -> QWidget* {
        int sunRelative = 0;
        auto& listing = w.engine().scheduling()->listing();
        try {
            listing.refresh(QDate());
        } catch (const store::StoreError&) {
        }
        for (const auto& row : listing.listingRows()) {
            if (row.description.contains(QStringLiteral("sunset"))) {
                sunRelative = row.schedulerId;
                break;
            }
        }
        return w.open(window::kScheduler, sunRelative ? QVariant(sunRelative) : QVariant());
    });

    windows.add(window::kEvents,
                {.create = [&windows](const QVariant&) -> QWidget* { return new EventsForm(windows); },
                 .keep = true});

    windows.addScene(QStringLiteral("events"), [](Windows& w) -> QWidget* {
        QWidget* form = w.open(window::kEvents);
        // A demo event chosen, its choices loaded.
        if (auto* name = form ? form->findChild<QComboBox*>(QStringLiteral("EventNameCombo")) : nullptr)
            if (const int i = name->findText(QStringLiteral("Foyer on")); i >= 0) {
                name->setCurrentIndex(i);
                emit name->activated(i);
            }
        return form;
    });
    windows.addScene(QStringLiteral("macro-editor"), [](Windows& w) -> QWidget* {
        return w.open(window::kMacroEditor, QStringLiteral("Lobby On"));
    });
}

}  // namespace qv::ui
