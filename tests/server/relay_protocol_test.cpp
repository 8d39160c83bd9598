// The relay reads what the client library writes and writes what it reads:
// requests built by the client are parsed here, replies built here are
// parsed by the client's reader, so the two sides cannot drift apart.

#include "comms/server_reply_parser.h"
#include "comms/server_requests.h"
#include "server/relay_replies.h"
#include "server/relay_requests.h"
#include "support/case_names.h"

#include <gtest/gtest.h>

namespace qv::server {
namespace {

using Kind = ClientRequest::Kind;

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

TEST(RelayRequestsTest, PollFromTheClientGivesItsHostNameAndAddress) {
    const ClientRequest r = parseClientRequest(comms::pollText("DESK-7", "10.0.0.5"));
    EXPECT_EQ(r.kind, Kind::Poll);
    EXPECT_EQ(r.hostName, "DESK-7");
    EXPECT_EQ(r.hostIp, "10.0.0.5");
}

TEST(RelayRequestsTest, VersionRequestFromTheClient) {
    const ClientRequest r = parseClientRequest(comms::versionRequestText("10.0.0.5"));
    EXPECT_EQ(r.kind, Kind::VersionRequest);
    EXPECT_EQ(r.hostIp, "10.0.0.5");
}

class NetworkMessageTest : public ::testing::TestWithParam<net::RawMessage> {};

TEST_P(NetworkMessageTest, TheEightBytesComeThroughWhateverTheyHold) {
    const ClientRequest r = parseClientRequest(comms::networkMessageText(GetParam(), "PC", "1.2.3.4"));
    ASSERT_EQ(r.kind, Kind::NetworkMessage);
    EXPECT_EQ(r.message, GetParam());
    EXPECT_EQ(r.hostName, "PC");
    EXPECT_EQ(r.hostIp, "1.2.3.4");
}

INSTANTIATE_TEST_SUITE_P(Bytes, NetworkMessageTest,
                         ::testing::Values(net::RawMessage{0x1C, 0x05, 0x00, 0x02, 0x00, 0x00, 0xFF, 0xDE},
                                           net::RawMessage{0xFF, 0x80, 0x81, 0xFE, 0x7F, 0x0A, 0x0D, 0x00},
                                           // The marker words inside the message itself.
                                           net::RawMessage{'E', 'N', 'D', 'R', 'S', '2', '3', '2'}));

struct BadRow {
    QByteArray datagram;
    Kind kind;
};
void PrintTo(const BadRow& r, std::ostream* os) {
    *os << qv::test::caseName(r.datagram.toStdString());
}

class OtherRequestTest : public ::testing::TestWithParam<BadRow> {};

TEST_P(OtherRequestTest, IsRecognisedOrRefused) {
    EXPECT_EQ(parseClientRequest(GetParam().datagram).kind, GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, OtherRequestTest,
    ::testing::Values(BadRow{comms::kAreaPresetStatusRequest, Kind::AreaPresetStatus},
                      BadRow{"RS232:1234567ENDRS232  HOSTNAME:xENDHOSTNAME", Kind::BadNetworkMessage},
                      BadRow{"RS232:12345678XNDRS232", Kind::BadNetworkMessage},
                      BadRow{"RS232:12345678", Kind::BadNetworkMessage},
                      BadRow{"poll: HOSTNAME:x", Kind::Unknown}, BadRow{"OK   :", Kind::Unknown},
                      BadRow{"", Kind::Unknown}, BadRow{QByteArray("\0POLL:", 6), Kind::Unknown}));

TEST(RelayRequestsTest, HostFieldsAreCutShortAndMadePrintableForTheLog) {
    const QByteArray longName(500, 'n');
    const ClientRequest r =
        parseClientRequest("POLL: HOSTNAME:" + longName + "ENDHOSTNAME  HOSTIP:1.2\n\x01" + "ENDHOSTIP");
    EXPECT_EQ(r.hostName, QString(64, QLatin1Char('n')));
    EXPECT_EQ(r.hostIp, "1.2..");
    // A field without its end marker is left empty rather than running on.
    EXPECT_TRUE(parseClientRequest("POLL: HOSTNAME:abc").hostName.isEmpty());
}

struct VersionRow {
    RelayVersion version;
    QByteArray text;
    comms::ServerVersion read;
};
void PrintTo(const VersionRow& r, std::ostream* os) {
    *os << qv::test::caseName(r.text.toStdString());
}

class VersionReplyTest : public ::testing::TestWithParam<VersionRow> {};

TEST_P(VersionReplyTest, ClientReadsBackTheThreeCharacterFields) {
    const QByteArray text = versionReply(GetParam().version);
    EXPECT_EQ(text, GetParam().text);
    const comms::ServerReply reply = comms::parseServerReply(view(text));
    ASSERT_TRUE(reply.version.has_value());
    EXPECT_EQ(*reply.version, GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, VersionReplyTest,
    ::testing::Values(
        VersionRow{{1, 0, 0}, "QVELSERVERVERSION MAJOR:  1 MINOR:  0 BUILD:  0", {1, 0, 0}},
        VersionRow{{12, 345, 6}, "QVELSERVERVERSION MAJOR: 12 MINOR:345 BUILD:  6", {12, 345, 6}},
        // Beyond three digits the field would spill into the next word.
        VersionRow{{1000, -5, 7}, "QVELSERVERVERSION MAJOR:999 MINOR:  0 BUILD:  7", {999, 0, 7}}));

TEST(RelayRepliesTest, DefaultVersionHasANonZeroMajorSoClientsStopAsking) {
    const comms::ServerReply reply = comms::parseServerReply(view(versionReply(RelayVersion{})));
    ASSERT_TRUE(reply.version.has_value());
    EXPECT_NE(reply.version->major, 0);
}

class PresetReportRoundTrip : public ::testing::TestWithParam<std::pair<int, int>> {};

TEST_P(PresetReportRoundTrip, ClientReadsAreaAndPreset) {
    const auto [area, preset] = GetParam();
    const comms::ServerReply reply = comms::parseServerReply(view(presetReport(area, preset)));
    ASSERT_TRUE(reply.preset.has_value()) << presetReport(area, preset).constData();
    EXPECT_EQ(reply.preset->area, area);
    EXPECT_EQ(reply.preset->preset, preset);
}

// The highest area and preset; the client refuses presets above 96 (the
// reply parser's own rows).
INSTANTIATE_TEST_SUITE_P(Rows, PresetReportRoundTrip,
                         ::testing::Values(std::pair{12, 3}, std::pair{255, 96}));

TEST(RelayRepliesTest, PresetReportLayout) {
    EXPECT_EQ(presetReport(12, 3), QByteArray("AREA:  12 IS IN PRESET:   3"));
}

class RelayedRoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(RelayedRoundTrip, ClientReadsBackExactlyTheHex) {
    const comms::ServerReply reply = comms::parseServerReply(view(relayedMessage(GetParam())));
    ASSERT_TRUE(reply.relayedHex.has_value());
    EXPECT_EQ(*reply.relayedHex, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Rows, RelayedRoundTrip,
                         ::testing::Values("1C 05 00 02 00 00 FF DE", "1C", std::string(191, 'A')));

TEST(RelayRepliesTest, NothingToRelayForAnEmptyOrOversizedMessage) {
    EXPECT_TRUE(relayedMessage("").isEmpty());
    EXPECT_TRUE(relayedMessage(std::string(10000, 'A')).isEmpty());
    EXPECT_TRUE(comms::parseServerReply(view(okReply())).acknowledgement);
}

}  // namespace
}  // namespace qv::server
