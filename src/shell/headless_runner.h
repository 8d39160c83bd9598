#pragma once

#include "shell/headless_options.h"

namespace qv::shell {

// Runs the engine without windows until a signal or --exit-after; returns the
// process exit code. Needs a QCoreApplication.
int runHeadless(const HeadlessOptions& options);

}  // namespace qv::shell
