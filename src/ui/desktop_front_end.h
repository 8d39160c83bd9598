#pragma once
// The program with its windows: the splash during start-up, the main
// window and every window of the registry once it is up, message boxes for
// what the engine reports, and the orderly shutdown when the user (or the
// session) ends it.

#include "shell/headless_options.h"

namespace qv::ui {

int runDesktop(const shell::HeadlessOptions& options);

}  // namespace qv::ui
