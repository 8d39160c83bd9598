#pragma once
// What a client asks of the relay, read from one datagram. Pure.
//
// Clients send four kinds of text: a poll, a version request, a network
// message ("RS232:" + 8 raw bytes + "ENDRS232" ...) and the start-up "Area
// Preset Status Request". The host name and address they carry are only
// logged, so they are cut short and stripped of control characters.

#include "net/message.h"

#include <QByteArray>
#include <QString>

namespace qv::server {

struct ClientRequest {
    enum class Kind {
        Poll,
        VersionRequest,
        NetworkMessage,
        AreaPresetStatus,
        BadNetworkMessage,  // starts "RS232:" but the 8 bytes are not followed by "ENDRS232"
        Unknown,
    };
    Kind kind = Kind::Unknown;
    net::RawMessage message{};  // NetworkMessage only
    QString hostName;           // from HOSTNAME:...ENDHOSTNAME, when present
    QString hostIp;             // from HOSTIP:...ENDHOSTIP, when present
};

ClientRequest parseClientRequest(const QByteArray& datagram);

// The first characters of a datagram fit for a log line.
QString printableStart(const QByteArray& datagram, int length = 60);

}  // namespace qv::server
