#include "ui/window_catalogue.h"
#include "ui/windows.h"

namespace qv::ui {

void addPlanWindows(Windows& windows) {
    (void)windows;
}

}  // namespace qv::ui
