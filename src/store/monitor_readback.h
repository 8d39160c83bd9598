#pragma once
// Reading the last records of earlier sessions back from EventLog.

#include "store/monitor_record.h"

#include <vector>

namespace qv::store {

class Database;

// The most that start-up reads back (the list holds no more).
inline constexpr int kMaxReadBack = 10000;

// The last `count` records (clamped to 0..kMaxReadBack), oldest first. Taking
// the newest rows by key, rather than every key above "highest minus count",
// gives exactly `count` records even when keys have gaps. The stored names are
// not read: the list shows the nine texts only. Throws StoreError.
std::vector<MonitorRecord> readLastRecords(Database& log, int count);

}  // namespace qv::store
