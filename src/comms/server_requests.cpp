#include "comms/server_requests.h"

namespace qv::comms {

namespace {

// The host name and address travel as single-byte text, as the servers read them.
QByteArray hostPart(const QString& hostName, const QString& hostIp) {
    return "HOSTNAME:" + hostName.toLatin1() + "ENDHOSTNAME  HOSTIP:" + hostIp.toLatin1() + "ENDHOSTIP";
}

}  // namespace

QByteArray pollText(const QString& hostName, const QString& hostIp) {
    return "POLL: " + hostPart(hostName, hostIp);
}

QByteArray versionRequestText(const QString& hostIp) {
    return "COMMAND:REQUESTQVELSERVERVERSION ENDCOMMAND" + hostIp.toLatin1() + "ENDHOSTIP";
}

QByteArray networkMessageText(const net::RawMessage& message, const QString& hostName,
                              const QString& hostIp) {
    QByteArray text("RS232:");
    text.append(reinterpret_cast<const char*>(message.data()), static_cast<qsizetype>(message.size()));
    text.append("ENDRS232  ");
    text.append(hostPart(hostName, hostIp));
    return text;
}

}  // namespace qv::comms
