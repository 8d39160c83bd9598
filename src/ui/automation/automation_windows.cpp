#include "ui/automation/events_form.h"
#include "ui/automation/macro_editor_form.h"
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
