#include "features/reactions/monitor_note.h"

namespace qv::reactions {

void monitorNote(store::MonitorSink& monitor, const comms::Clock& clock, const QString& msgType,
                 const QString& comment) {
    store::MonitorRecord record;
    record.MsgType = msgType;
    record.DateTime = comms::dateTimeText(clock.now());
    record.comment = comment;
    monitor.MonitorAdditem(record);
}

}  // namespace qv::reactions
