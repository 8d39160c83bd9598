#pragma once
// The store's logging category: schema changes, refused files and skipped rows.

#include <QLoggingCategory>

namespace qv::store {
Q_DECLARE_LOGGING_CATEGORY(lcStore)
}
