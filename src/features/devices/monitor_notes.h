#pragma once
// Monitor records the devices engine writes about itself: failures and notes,
// stamped with the injected clock.

#include "comms/clock.h"
#include "store/monitor_record.h"

#include <QString>

namespace qv::devices {

inline const QString kMsgSystem = QStringLiteral("System");
inline const QString kMsgWarning = QStringLiteral("Warning **");
inline const QString kMsgError = QStringLiteral("ERROR ***");

void monitorNote(store::MonitorSink& monitor, const comms::Clock& clock, const QString& msgType,
                 const QString& comment, const QString& macro = {});

}  // namespace qv::devices
