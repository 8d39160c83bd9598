#include "server/relay_requests.h"

#include "comms/server_requests.h"

namespace qv::server {

namespace {

constexpr qsizetype kMaxFieldLength = 64;
constexpr qsizetype kMessageAt = 6;  // after "RS232:"
constexpr qsizetype kMessageEnd = kMessageAt + static_cast<qsizetype>(net::kMessageSize);

QString field(const QByteArray& text, const char* open, const char* close, qsizetype from) {
    const qsizetype start = text.indexOf(open, from);
    if (start < 0) return {};
    const qsizetype begin = start + qstrlen(open);
    const qsizetype end = text.indexOf(close, begin);
    if (end < 0) return {};
    return printableStart(text.mid(begin, end - begin), kMaxFieldLength);
}

void hostFields(const QByteArray& text, qsizetype from, ClientRequest& request) {
    request.hostName = field(text, "HOSTNAME:", "ENDHOSTNAME", from);
    request.hostIp = field(text, "HOSTIP:", "ENDHOSTIP", from);
}

}  // namespace

QString printableStart(const QByteArray& datagram, int length) {
    QString text = QString::fromLatin1(datagram.left(length));
    for (QChar& c : text)
        if (!c.isPrint()) c = QLatin1Char('.');
    return text;
}

ClientRequest parseClientRequest(const QByteArray& datagram) {
    ClientRequest request;
    if (datagram.startsWith("POLL:")) {
        request.kind = ClientRequest::Kind::Poll;
        hostFields(datagram, 0, request);
    } else if (datagram.startsWith("COMMAND:REQUESTQVELSERVERVERSION")) {
        request.kind = ClientRequest::Kind::VersionRequest;
        // The version request carries the address only: "...ENDCOMMAND" + I + "ENDHOSTIP".
        const qsizetype begin = datagram.indexOf("ENDCOMMAND");
        const qsizetype end = datagram.indexOf("ENDHOSTIP");
        if (begin >= 0 && end > begin)
            request.hostIp = printableStart(datagram.mid(begin + 10, end - begin - 10), kMaxFieldLength);
    } else if (datagram.startsWith("RS232:")) {
        // The raw bytes may hold anything, the markers included: they are
        // found by position, the host fields only after them.
        if (datagram.size() < kMessageEnd + 8 || datagram.mid(kMessageEnd, 8) != "ENDRS232") {
            request.kind = ClientRequest::Kind::BadNetworkMessage;
            return request;
        }
        request.kind = ClientRequest::Kind::NetworkMessage;
        for (std::size_t i = 0; i < net::kMessageSize; ++i)
            request.message[i] = static_cast<std::uint8_t>(datagram[kMessageAt + static_cast<qsizetype>(i)]);
        hostFields(datagram, kMessageEnd + 8, request);
    } else if (datagram.startsWith(comms::kAreaPresetStatusRequest)) {
        request.kind = ClientRequest::Kind::AreaPresetStatus;
    }
    return request;
}

}  // namespace qv::server
