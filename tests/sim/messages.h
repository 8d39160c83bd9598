#pragma once
// Messages written as hex text in tests. Seven bytes get their checksum
// added; eight are taken as they are, so a test can write a bad checksum.

#include "net/message.h"

#include <QByteArray>

#include <stdexcept>
#include <string>
#include <vector>

namespace qv::sim::test {

inline net::RawMessage msg(const std::string& hex) {
    if (hex.size() > 20) {
        if (const auto full = net::parseRawMessage(hex)) return *full;
    } else if (const auto seven = net::parseSevenBytes(hex)) {
        return net::withChecksum(*seven);
    }
    throw std::invalid_argument("not a message: " + hex);
}

inline std::vector<net::RawMessage> msgs(const std::vector<std::string>& hex) {
    std::vector<net::RawMessage> out;
    for (const auto& each : hex) out.push_back(msg(each));
    return out;
}

inline QByteArray bytes(const net::RawMessage& message) {
    return QByteArray(reinterpret_cast<const char*>(message.data()), static_cast<qsizetype>(message.size()));
}

inline QByteArray bytes(const std::string& hex) {
    return bytes(msg(hex));
}

inline std::string hexOf(const QByteArray& data) {
    return data.toHex(' ').toUpper().toStdString();
}

}  // namespace qv::sim::test
