// Who hears relayed messages: clients that polled within the last 10 s,
// with a bounded table.

#include "server/client_table.h"

#include <gtest/gtest.h>

namespace qv::server {
namespace {

RelayClient client(const char* address, quint16 port) {
    return RelayClient{QHostAddress(QString::fromLatin1(address)), port, QHostAddress(), QStringLiteral("pc"),
                       0};
}

TEST(ClientTableTest, AClientStaysForTenSecondsAfterItsLastPoll) {
    ClientTable table;
    EXPECT_EQ(table.polled(client("10.0.0.1", 1001), 0), ClientTable::Outcome::Added);
    EXPECT_EQ(table.active(10000).size(), 1u);
    EXPECT_EQ(table.active(10001).size(), 0u);
}

TEST(ClientTableTest, PollingAgainRenewsInsteadOfAddingAndPortsAreDistinct) {
    ClientTable table;
    table.polled(client("10.0.0.1", 1001), 0);
    EXPECT_EQ(table.polled(client("10.0.0.1", 1001), 8000), ClientTable::Outcome::Renewed);
    EXPECT_EQ(table.polled(client("10.0.0.1", 1003), 8000), ClientTable::Outcome::Added);
    // The same client written as an IPv4-mapped IPv6 address.
    EXPECT_EQ(table.polled(client("::ffff:10.0.0.1", 1001), 9000), ClientTable::Outcome::Renewed);
    EXPECT_EQ(table.active(17000).size(), 2u);
    EXPECT_EQ(table.active(19001).size(), 0u);
}

TEST(ClientTableTest, AFullTableRefusesNewcomersUntilOthersExpire) {
    ClientTable table(10000, 3);
    for (quint16 port = 1; port <= 3; ++port) table.polled(client("10.0.0.1", port), 0);
    EXPECT_EQ(table.polled(client("10.0.0.2", 1001), 5000), ClientTable::Outcome::Full);
    EXPECT_EQ(table.polled(client("10.0.0.1", 2), 5000), ClientTable::Outcome::Renewed);
    // Ports 1 and 3 have expired by now; their places are free again.
    EXPECT_EQ(table.polled(client("10.0.0.2", 1001), 10001), ClientTable::Outcome::Added);
    EXPECT_EQ(table.size(), 2u);
}

}  // namespace
}  // namespace qv::server
