#include "ui/window_catalogue.h"
#include "ui/windows.h"

namespace qv::ui {

void addDeviceWindows(Windows& windows) {
    (void)windows;
}

}  // namespace qv::ui
