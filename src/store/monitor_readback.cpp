#include "store/monitor_readback.h"

#include "store/database.h"

#include <algorithm>

namespace qv::store {

namespace {

// NULL and empty both read as the empty text; numbers as their decimal text.
QString text(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

}  // namespace

std::vector<MonitorRecord> readLastRecords(Database& log, int count) {
    count = std::clamp(count, 0, kMaxReadBack);
    std::vector<MonitorRecord> records;
    if (count == 0) return records;
    // Newest first by key (the rowid, so no sort), reversed below.
    QSqlQuery query = log.run(
        QStringLiteral(
            "SELECT Origin, Hexstring, Macro, TimeDateStamp, Comments, Area, Preset, Channel, ChannelLevel "
            "FROM EventLog ORDER BY ID DESC LIMIT ?"),
        {count});
    records.reserve(static_cast<std::size_t>(count));
    while (query.next()) {
        MonitorRecord r;
        r.MsgType = text(query.value(0));
        r.RS232 = text(query.value(1));
        r.Macro = text(query.value(2));
        r.DateTime = text(query.value(3));
        r.comment = text(query.value(4));
        r.area = text(query.value(5));
        r.Preset = text(query.value(6));
        r.channel = text(query.value(7));
        r.ChannelLevel = text(query.value(8));
        records.push_back(std::move(r));
    }
    std::reverse(records.begin(), records.end());
    return records;
}

}  // namespace qv::store
