#pragma once
// The monitor record the benchmarks feed: a channel-level report whose
// fields vary with i, as a busy network's would.

#include "store/monitor_record.h"

namespace qv::bench {

inline store::MonitorRecord trafficRecord(long long i) {
    store::MonitorRecord r;
    r.MsgType = QStringLiteral("Comms");
    r.RS232 = QStringLiteral("1C 05 32 00 00 00 FF AE");
    r.DateTime = QStringLiteral("2026-12-07 08:15:42");
    r.comment = QStringLiteral("Area 5 Channel %1 at %2%").arg(i % 24 + 1).arg(i % 101);
    r.area = QString::number(i % 255 + 1);
    r.Preset = QString::number(i % 96 + 1);
    r.channel = QString::number(i % 24 + 1);
    r.ChannelLevel = QString::number(i % 101);
    return r;
}

}  // namespace qv::bench
