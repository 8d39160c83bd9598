#pragma once
// One EventLog record as it is written: the nine texts of the monitor record
// and the three names looked up when the record is made.

#include "store/monitor_record.h"

#include <QVariant>

namespace qv::net {
class NameTables;
}

namespace qv::store {

struct EventLogRow {
    MonitorRecord record;
    QString AreaName;
    QString PresetName;
    QString ChannelName;
};

// Names come from the tables as they are now, so a later rename does not
// rewrite history. A name is empty when its number is empty, not a number, or
// outside the tables (area above 255, preset outside 1-96, channel outside
// 0-256). names may be null (nothing loaded yet): every name is empty.
EventLogRow eventLogRow(const MonitorRecord& record, const net::NameTables* names);

}  // namespace qv::store
