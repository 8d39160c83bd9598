#pragma once
// The texts the relay sends to its clients. Pure. Each is laid out the way
// clients read it: fields at fixed character positions, numbers padded
// with spaces on the left.

#include <QByteArray>
#include <string_view>

namespace qv::server {

struct RelayVersion {
    int major = 1;  // never 0: clients read a major of 0 as "no version yet"
    int minor = 0;
    int build = 0;
};

// "OK   :" (three spaces): the answer to every request.
QByteArray okReply();

// "QVELSERVERVERSION MAJOR:  1 MINOR:  0 BUILD:  0": 3-character fields.
QByteArray versionReply(const RelayVersion& version);

// "AREA:  12 IS IN PRESET:   3": the area in characters 6-9, the preset in
// the 4 characters after "PRESET:".
QByteArray presetReport(int area, int preset);

// "RS232:  23 1C 05 ..." : the length in characters 7-10, a separator, then
// the hex message. Empty when the message is too long for the length field.
QByteArray relayedMessage(std::string_view hex);

}  // namespace qv::server
