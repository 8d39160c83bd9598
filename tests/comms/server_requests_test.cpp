// The request texts are the protocol: servers find their fields by exact
// words and spacing, so they are checked character for character (the poll
// and version request where the link sends them, server_link_test).

#include "comms/server_requests.h"

#include <gtest/gtest.h>

namespace qv::comms {
namespace {

TEST(ServerRequestsTest, NetworkMessageCarriesTheEightRawBytesUnchanged) {
    // Bytes a text encoding would mangle: zero, above 127, the marker letters.
    const net::RawMessage message{0x1C, 0x00, 0xFF, 0x80, 'E', 'N', 'D', 0x7F};
    const QByteArray text = networkMessageText(message, "PC", "1.2.3.4");
    ASSERT_GE(text.size(), 14);
    EXPECT_TRUE(text.startsWith("RS232:"));
    EXPECT_EQ(text.mid(6, 8), QByteArray(reinterpret_cast<const char*>(message.data()), 8));
    EXPECT_EQ(text.mid(14), QByteArray("ENDRS232  HOSTNAME:PCENDHOSTNAME  HOSTIP:1.2.3.4ENDHOSTIP"));
}

}  // namespace
}  // namespace qv::comms
