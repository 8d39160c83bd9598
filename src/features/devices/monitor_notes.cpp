#include "features/devices/monitor_notes.h"

#include "features/devices/logging.h"

namespace qv::devices {

void monitorNote(store::MonitorSink& monitor, const comms::Clock& clock, const QString& msgType,
                 const QString& comment, const QString& macro) {
    if (msgType != kMsgSystem) qCWarning(lcDevices).noquote() << comment;
    store::MonitorRecord record;
    record.MsgType = msgType;
    record.Macro = macro;
    record.DateTime = comms::dateTimeText(clock.now());
    record.comment = comment;
    monitor.MonitorAdditem(record);
}

}  // namespace qv::devices
