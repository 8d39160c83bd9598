#pragma once
// A monitor record that is not a message heard: warnings, errors and what a
// user did by hand.

#include "comms/clock.h"
#include "store/monitor_record.h"

#include <QString>

namespace qv::reactions {

void monitorNote(store::MonitorSink& monitor, const comms::Clock& clock, const QString& msgType,
                 const QString& comment);

inline const QString kSystemType = QStringLiteral("System");
inline const QString kWarningType = QStringLiteral("Warning **");
inline const QString kErrorType = QStringLiteral("ERROR ***");

}  // namespace qv::reactions
