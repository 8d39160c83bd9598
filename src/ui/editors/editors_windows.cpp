#include "ui/window_catalogue.h"
#include "ui/windows.h"

namespace qv::ui {

void addEditorWindows(Windows& windows) {
    (void)windows;
}

}  // namespace qv::ui
