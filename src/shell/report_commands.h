#pragma once
// The one-shot commands beside the running program: quorvel energy-report
// (for a nightly job) and quorvel schedules (the day's schedule listing).

#include <QStringList>

namespace qv::shell {

// True when arguments[1] names one of the commands.
bool isReportCommand(const QStringList& arguments);
// Runs it and returns the process exit code.
int runReportCommand(const QStringList& arguments);

}  // namespace qv::shell
