#pragma once
// The texts a client sends to a QuorvelServer. Words and spacing are the
// protocol: servers look for them exactly, including the two spaces before
// "HOSTIP:" and "HOSTNAME:".

#include "net/message.h"

#include <QByteArray>
#include <QString>

namespace qv::comms {

// Sent once at start-up; the server answers with one preset report per area.
inline constexpr char kAreaPresetStatusRequest[] = "Area Preset Status Request";

// "POLL: HOSTNAME:" + H + "ENDHOSTNAME  HOSTIP:" + I + "ENDHOSTIP"
QByteArray pollText(const QString& hostName, const QString& hostIp);

// "COMMAND:REQUESTQVELSERVERVERSION ENDCOMMAND" + I + "ENDHOSTIP"
QByteArray versionRequestText(const QString& hostIp);

// "RS232:" + the 8 raw bytes + "ENDRS232  HOSTNAME:" + H + "ENDHOSTNAME  HOSTIP:" + I + "ENDHOSTIP"
QByteArray networkMessageText(const net::RawMessage& message, const QString& hostName, const QString& hostIp);

}  // namespace qv::comms
