#pragma once
// The single entry point for running a macro. Every source (events,
// schedules, buttons, reminders, roll calls, scripts, other macros, start-up)
// calls RunMacro, which only puts the name on the cue.

#include <QString>

namespace qv::macros {

class MacroRunner {
public:
    virtual ~MacroRunner() = default;
    virtual void RunMacro(const QString& name) = 0;
};

}  // namespace qv::macros
