#include "ui/plan/floating_preset_combo_form.h"
#include "ui/plan/indicator_setup_form.h"
#include "ui/plan/plan_view_form.h"
#include "ui/plan/plan_view_tree_tool_box_form.h"
#include "ui/window_catalogue.h"
#include "ui/window_names.h"
#include "ui/windows.h"

namespace qv::ui {

void addPlanWindows(Windows& windows) {
    windows.add(window::kPlanView,
                {.create = [&w = windows](const QVariant& arg) -> QWidget* {
                     auto* form = new PlanViewForm(w.engine());
                     QObject::connect(form, &PlanViewForm::openRequested, form,
                                      [&w](const QString& name, const QVariant& a) { w.open(name, a); });
                     if (arg.isValid()) form->showView(arg.toInt());
                     return form;
                 },
                 .reopen =
                     [](QWidget* widget, const QVariant& arg) {
                         if (arg.isValid()) static_cast<PlanViewForm*>(widget)->showView(arg.toInt());
                     },
                 .keep = true});
    windows.add(window::kPlanTree,
                {.create = [&w = windows](const QVariant&) -> QWidget* {
                     auto* form = new PlanViewTreeToolBoxForm(w.engine(), w.mainWindow());
                     QObject::connect(form, &PlanViewTreeToolBoxForm::viewChosen, form,
                                      [&w](int id) { w.open(window::kPlanView, id); });
                     QObject::connect(form, &PlanViewTreeToolBoxForm::pictureLoaded, form,
                                      [&w](int id, const QString& fileName) {
                                          w.open(window::kPlanView, id);
                                          if (auto* plan = w.find<PlanViewForm>(window::kPlanView))
                                              plan->usePicture(fileName);
                                      });
                     QObject::connect(form, &PlanViewTreeToolBoxForm::saveViewRequested, form, [&w] {
                         if (auto* plan = w.find<PlanViewForm>(window::kPlanView)) plan->saveView();
                     });
                     return form;
                 },
                 .reopen = [](QWidget* widget,
                              const QVariant&) { static_cast<PlanViewTreeToolBoxForm*>(widget)->reload(); }});
    // The demo project: the root and its ground floor.
    windows.addScene(QStringLiteral("plan-tree"),
                     [](Windows& w) -> QWidget* { return w.open(window::kPlanTree); });
    // Argument: the indicator (PlanIndicator_ID) whose area it sends to.
    windows.add(window::kFloatingPreset, {.create = [&w = windows](const QVariant& arg) -> QWidget* {
                                              auto* form =
                                                  new FloatingPresetComboForm(w.engine(), w.mainWindow());
                                              form->openFor(arg.toInt());
                                              if (auto* plan = w.find<PlanViewForm>(window::kPlanView))
                                                  form->move(plan->frameGeometry().topRight());
                                              return form;
                                          },
                                          .keep = false});
    // The demo floor's first indicator (area 1).
    windows.addScene(QStringLiteral("floating-preset"),
                     [](Windows& w) -> QWidget* { return w.open(window::kFloatingPreset, 1); });
    windows.add(window::kIndicatorSetup, {.create = [&w = windows](const QVariant& arg) -> QWidget* {
                                              return new IndicatorSetupForm(w.engine(), arg.toInt());
                                          },
                                          .keep = false});
    // The setup of the demo floor's first indicator, its lines for area 1.
    windows.addScene(QStringLiteral("indicator-setup"),
                     [](Windows& w) -> QWidget* { return w.open(window::kIndicatorSetup, 1); });
    // The demo plan's floor, coloured by the presets heard so far.
    windows.addScene(QStringLiteral("plan-view"), [](Windows& w) -> QWidget* {
        w.open(window::kPlanView, 2);
        return w.find<PlanViewForm>(window::kPlanView);
    });
}

}  // namespace qv::ui
