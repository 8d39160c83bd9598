#pragma once
// The configuration engine's logging category: settings kept in range,
// refused passwords, import and maintenance steps.

#include <QLoggingCategory>

namespace qv::config {
Q_DECLARE_LOGGING_CATEGORY(lcConfig)
}
