#include "ui/window_catalogue.h"

namespace qv::ui {

void addAllWindows(Windows& windows) {
    addDesktopWindows(windows);
    addAutomationWindows(windows);
    addPlanWindows(windows);
    addDeviceWindows(windows);
    addEditorWindows(windows);
}

}  // namespace qv::ui
