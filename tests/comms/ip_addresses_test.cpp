// The local-address choices: only IPv4 texts, never an empty entry.

#include "comms/ip_addresses.h"

#include <QHostAddress>

#include <gtest/gtest.h>

namespace qv::comms {
namespace {

bool isIPv4Text(const QString& text) {
    const QHostAddress address(text);
    return !address.isNull() && address.protocol() == QAbstractSocket::IPv4Protocol &&
           address.toString() == text;
}

TEST(IpAddressesTest, LocalhostResolvesToItsIPv4AddressOnly) {
    const QStringList addresses = GetAllIPAddress(QStringLiteral("localhost"));
    EXPECT_TRUE(addresses.contains(QStringLiteral("127.0.0.1"))) << qPrintable(addresses.join(','));
    for (const QString& a : addresses) EXPECT_TRUE(isIPv4Text(a)) << qPrintable(a);
    QStringList unique = addresses;
    EXPECT_EQ(unique.removeDuplicates(), 0);
}

TEST(IpAddressesTest, AnEmptyNameGivesNoAddresses) {
    EXPECT_TRUE(GetAllIPAddress(QString()).isEmpty());
    EXPECT_TRUE(GetAllIPAddress(QStringLiteral("   ")).isEmpty());
}

TEST(IpAddressesTest, InterfaceAddressesPutLoopbackLastAndTheDefaultIsOneOfThem) {
    const QStringList addresses = localIPv4Addresses();
    ASSERT_FALSE(addresses.isEmpty());
    bool seenLoopback = false;
    for (const QString& a : addresses) {
        EXPECT_TRUE(isIPv4Text(a)) << qPrintable(a);
        const bool loopback = QHostAddress(a).isLoopback();
        EXPECT_FALSE(seenLoopback && !loopback) << "loopback before " << qPrintable(a);
        seenLoopback = seenLoopback || loopback;
    }
    const QString chosen = defaultLocalAddress();
    EXPECT_TRUE(addresses.contains(chosen) || chosen == QLatin1String("127.0.0.1")) << qPrintable(chosen);
    if (!QHostAddress(addresses.constFirst()).isLoopback()) {
        EXPECT_EQ(chosen, addresses.constFirst());
    }
}

}  // namespace
}  // namespace qv::comms
