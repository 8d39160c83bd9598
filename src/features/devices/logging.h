#pragma once
// The devices subsystem's logging category: sensors, roll calls and energy.

#include <QLoggingCategory>

namespace qv::devices {
Q_DECLARE_LOGGING_CATEGORY(lcDevices)
}
