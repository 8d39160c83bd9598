#include "ui/plan/plan_view_form.h"
#include "ui/window_catalogue.h"
#include "ui/window_names.h"
#include "ui/windows.h"

namespace qv::ui {

void addPlanWindows(Windows& windows) {
    windows.add(window::kPlanView, {.create = [&w = windows](const QVariant& arg) -> QWidget* {
                                        auto* form = new PlanViewForm(w.engine());
                                        if (arg.isValid()) form->showView(arg.toInt());
                                        return form;
                                    },
                                    .reopen =
                                        [](QWidget* widget, const QVariant& arg) {
                                            if (arg.isValid())
                                                static_cast<PlanViewForm*>(widget)->showView(arg.toInt());
                                        },
                                    .keep = true});
}

}  // namespace qv::ui
