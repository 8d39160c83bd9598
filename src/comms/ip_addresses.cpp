#include "comms/ip_addresses.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkInterface>

namespace qv::comms {

QStringList GetAllIPAddress(const QString& hostName) {
    QStringList addresses;
    if (hostName.trimmed().isEmpty()) return addresses;
    const QHostInfo info = QHostInfo::fromName(hostName.trimmed());
    if (info.error() != QHostInfo::NoError) return addresses;
    for (const QHostAddress& address : info.addresses()) {
        if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
        const QString text = address.toString();
        if (!addresses.contains(text)) addresses << text;
    }
    return addresses;
}

QStringList localIPv4Addresses() {
    QStringList outside;
    QStringList loopback;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (!interface.flags().testFlag(QNetworkInterface::IsUp)) continue;
        for (const QNetworkAddressEntry& entry : interface.addressEntries()) {
            const QHostAddress address = entry.ip();
            if (address.protocol() != QAbstractSocket::IPv4Protocol) continue;
            QStringList& list = address.isLoopback() ? loopback : outside;
            if (!list.contains(address.toString())) list << address.toString();
        }
    }
    return outside + loopback;
}

QString defaultLocalAddress() {
    const QStringList addresses = localIPv4Addresses();
    for (const QString& address : addresses)
        if (!QHostAddress(address).isLoopback()) return address;
    return QStringLiteral("127.0.0.1");
}

}  // namespace qv::comms
