#include "sim/pty_gateway.h"
#include "messages.h"
#include "pty_client.h"
#include "sim/sim_network.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace qv::sim {
namespace {

using test::bytes;
using test::hexOf;
using test::PtyClient;
using test::pumpUntil;

const QByteArray kQuery = bytes("1C 05 00 63 00 00 FF");
const QByteArray kReport = bytes("1C 05 00 62 00 00 FF 7E");
const QByteArray kLuxRequest = bytes("5C A5 07 09 00 00 FF");
const QByteArray kLuxReading = bytes("5C A5 07 0A 00 01 2C C1");

class PtyGatewayTest : public ::testing::Test {
protected:
    // Gaps long enough that the reads in a test see each write on its own
    // even on a slow, sanitised build.
    static GatewayOptions options() {
        GatewayOptions o;
        o.replyDelayMs = 50;
        o.splitGapMs = 50;
        return o;
    }

    void start(const GatewayOptions& o = options()) {
        m_gateway = std::make_unique<PtyGateway>(m_network, o, 1);
        QString error;
        ASSERT_TRUE(m_gateway->open(&error)) << error.toStdString();
    }

    std::unique_ptr<PtyClient> connectClient() {
        auto client = std::make_unique<PtyClient>(m_gateway->devicePath());
        EXPECT_TRUE(client->isOpen());
        EXPECT_TRUE(pumpUntil([&] { return m_gateway->isClientConnected(); }, 2000));
        return client;
    }

    // Nothing more arrives for a while.
    static void expectSilence(PtyClient& client) { EXPECT_EQ(hexOf(client.read(1, 150)), ""); }

    SimNetwork m_network{NetworkLayout{32, 8, {{7, 300}}, {}}};
    std::unique_ptr<PtyGateway> m_gateway;
};

TEST_F(PtyGatewayTest, EchoesThenAnswersInASeparateWrite) {
    start();
    auto client = connectClient();
    ASSERT_TRUE(client->write(kQuery));
    const auto chunks = client->readChunks(16, 2000);
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(hexOf(chunks[0]), hexOf(kQuery));
    EXPECT_EQ(hexOf(chunks[1]), hexOf(kReport));
    expectSilence(*client);
}

TEST_F(PtyGatewayTest, LineIsRawBothWays) {
    start();
    auto client = connectClient();
    // 0A would gain a 0D on the way out of a cooked line; 0D, 11, 13 and 03
    // would be translated or swallowed on the way in.
    const QByteArray set = bytes("1C 0A 03 71 0D 11 13");
    ASSERT_TRUE(client->write(set + bytes("1C 0A 03 61 00 00 FF")));
    const QByteArray got = client->read(24, 2000);
    EXPECT_EQ(hexOf(got), hexOf(set + bytes("1C 0A 03 61 00 00 FF") + bytes("1C 0A 03 60 0D 00 FF")));
    EXPECT_EQ(m_network.level(10, 4), 0x0D);
}

TEST_F(PtyGatewayTest, GarbageAndBadChecksumsAreNeitherEchoedNorAnswered) {
    start();
    auto client = connectClient();
    ASSERT_TRUE(client->write(QByteArray("\x00\x41\xFF", 3) + bytes("1C 05 00 63 00 00 FF 7F") + kQuery));
    EXPECT_EQ(hexOf(client->read(16, 2000)), hexOf(kQuery + kReport));
    expectSilence(*client);
    EXPECT_EQ(m_gateway->counters().heard, 1u);
    EXPECT_EQ(m_gateway->counters().skippedBytes, 11u);
}

TEST_F(PtyGatewayTest, MessagesWrittenTogetherAreEachEchoedAndAnswered) {
    start();
    auto client = connectClient();
    ASSERT_TRUE(client->write(kQuery + kLuxRequest));
    EXPECT_EQ(hexOf(client->read(32, 2000)), hexOf(kQuery + kReport + kLuxRequest + kLuxReading));
}

TEST_F(PtyGatewayTest, NoEchoLeavesOnlyTheAnswer) {
    GatewayOptions o = options();
    o.echo = false;
    start(o);
    auto client = connectClient();
    ASSERT_TRUE(client->write(kQuery + bytes("1C 05 32 02 00 00 FF")));
    EXPECT_EQ(hexOf(client->read(8, 2000)), hexOf(kReport));
    expectSilence(*client);
    EXPECT_EQ(m_network.preset(5), 3);  // still put on the network
}

TEST_F(PtyGatewayTest, CoalesceWritesEchoAndAnswerAtOnce) {
    GatewayOptions o = options();
    o.coalesce = true;
    start(o);
    auto client = connectClient();
    ASSERT_TRUE(client->write(kQuery));
    const auto chunks = client->readChunks(16, 2000);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(hexOf(chunks[0]), hexOf(kQuery + kReport));
}

TEST_F(PtyGatewayTest, SplitTearsEachWriteInsideAMessage) {
    GatewayOptions o = options();
    o.split = true;
    start(o);
    auto client = connectClient();
    ASSERT_TRUE(client->write(kQuery));
    const auto chunks = client->readChunks(16, 2000);
    ASSERT_GE(chunks.size(), 3u);
    // The echo's first part and the answer's last part each come alone.
    EXPECT_GE(chunks.front().size(), 1);
    EXPECT_LE(chunks.front().size(), 7);
    EXPECT_GE(chunks.back().size(), 1);
    EXPECT_LE(chunks.back().size(), 7);
    QByteArray joined;
    for (const QByteArray& chunk : chunks) joined += chunk;
    EXPECT_EQ(hexOf(joined), hexOf(kQuery + kReport));
}

TEST_F(PtyGatewayTest, CorruptSpoilsTheChecksumOnly) {
    GatewayOptions o = options();
    o.corruptFraction = 1.0;
    start(o);
    auto client = connectClient();
    ASSERT_TRUE(client->write(kQuery));
    const QByteArray got = client->read(16, 2000);
    ASSERT_EQ(got.size(), 16);
    EXPECT_EQ(hexOf(got.left(7)), hexOf(kQuery.left(7)));
    EXPECT_NE(got[7], kQuery[7]);
    EXPECT_EQ(hexOf(got.mid(8, 7)), hexOf(kReport.left(7)));
    EXPECT_NE(got[15], kReport[7]);
}

TEST_F(PtyGatewayTest, CorruptFractionIsRoughlyKept) {
    GatewayOptions o = options();
    o.corruptFraction = 0.25;
    start(o);
    auto client = connectClient();
    Rng rng(5);
    std::vector<net::RawMessage> traffic;
    for (int i = 0; i < 400; ++i) traffic.push_back(m_network.randomActivity(rng));
    m_gateway->broadcast(traffic);
    const QByteArray got = client->read(3200, 3000);
    ASSERT_EQ(got.size(), 3200);
    int bad = 0;
    for (int i = 0; i < 400; ++i) {
        net::RawMessage m;
        std::copy_n(reinterpret_cast<const std::uint8_t*>(got.constData()) + 8 * i, 8, m.begin());
        if (!net::hasValidChecksum(m)) ++bad;
    }
    EXPECT_GT(bad, 60);
    EXPECT_LT(bad, 140);
}

TEST_F(PtyGatewayTest, BroadcastLeavesInOneWrite) {
    start();
    auto client = connectClient();
    const auto traffic = test::msgs({"1C 01 32 00 00 00 FF", "1C 02 03 71 40 00 FF", "1C 03 32 0D 00 00 FF"});
    m_gateway->broadcast(traffic);
    const auto chunks = client->readChunks(24, 2000);
    ASSERT_EQ(chunks.size(), 1u);
    EXPECT_EQ(hexOf(chunks[0]), hexOf(bytes(traffic[0]) + bytes(traffic[1]) + bytes(traffic[2])));
}

TEST_F(PtyGatewayTest, TrafficBeforeAnyClientIsNotKeptForIt) {
    start();
    EXPECT_FALSE(m_gateway->isClientConnected());
    m_gateway->broadcast(test::msgs({"1C 01 32 00 00 00 FF"}));
    EXPECT_EQ(m_gateway->counters().unheard, 1u);
    auto client = connectClient();
    expectSilence(*client);
}

// The client closing its end makes the master report EIO; the gateway must
// live through it, drop what that client never read, and serve the next one.
TEST_F(PtyGatewayTest, ServesTheNextClientAfterOneCloses) {
    start();
    auto first = connectClient();
    ASSERT_TRUE(first->write(kQuery));
    ASSERT_TRUE(pumpUntil([&] { return m_gateway->counters().sent == 2; }, 2000));
    first->close();
    ASSERT_TRUE(pumpUntil([&] { return !m_gateway->isClientConnected(); }, 2000));
    m_gateway->broadcast(test::msgs({"1C 01 32 00 00 00 FF"}));
    EXPECT_EQ(m_gateway->counters().unheard, 1u);

    auto second = connectClient();
    ASSERT_TRUE(second->write(kLuxRequest));
    EXPECT_EQ(hexOf(second->read(16, 2000)), hexOf(kLuxRequest + kLuxReading));
    expectSilence(*second);
}

TEST_F(PtyGatewayTest, AClientThatWritesAndLeavesStillReachesTheNetwork) {
    start();
    {
        PtyClient client(m_gateway->devicePath());
        ASSERT_TRUE(client.write(bytes("1C 03 32 0A 00 00 FF")));
    }
    EXPECT_TRUE(pumpUntil([&] { return m_network.preset(3) == 5; }, 2000));
    auto next = connectClient();
    ASSERT_TRUE(next->write(kQuery));
    EXPECT_EQ(hexOf(next->read(16, 2000)), hexOf(kQuery + kReport));
}

TEST_F(PtyGatewayTest, LinkReplacesAnOldLinkAndGoesAway) {
    start();
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("gateway"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("gone")), link));  // dangling, from a dead run
    QString error;
    ASSERT_TRUE(m_gateway->createLink(link, &error)) << error.toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), m_gateway->devicePath());
    {
        PtyClient client(link);
        ASSERT_TRUE(client.isOpen());
        ASSERT_TRUE(client.write(kQuery));
        EXPECT_EQ(hexOf(client.read(16, 2000)), hexOf(kQuery + kReport));
    }
    m_gateway->close();
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST_F(PtyGatewayTest, LinkRefusesToReplaceAFile) {
    start();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("precious"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep me");
    file.close();
    QString error;
    EXPECT_FALSE(m_gateway->createLink(path, &error));
    EXPECT_FALSE(error.isEmpty());
    m_gateway->close();
    EXPECT_FALSE(QFileInfo(path).isSymLink());
    EXPECT_EQ(QFileInfo(path).size(), 7);
}

}  // namespace
}  // namespace qv::sim
