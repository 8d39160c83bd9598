#pragma once
// Reset of the sensor log: every reading and every recorded sensor change is
// deleted, in one transaction. The question to ask first is
// msg::kSensorLogResetQuestion (No as the default button).

#include "store/outcome.h"

#include <QString>

namespace qv::config {

// Opens the sensor log for the reset and closes it again. Never throws: a
// failure comes back with the reason, and nothing is deleted.
store::Outcome resetSensorLog(const QString& sensorLogPath);

}  // namespace qv::config
