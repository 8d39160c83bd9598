// The relay's UDP side against clients on loopback: answers, forwarding,
// status reports and who gets relayed messages.

#include "server/relay_server.h"

#include "comms/server_reply_parser.h"
#include "comms/server_requests.h"
#include "net/builders.h"
#include "server/udp_client.h"
#include "support/case_names.h"
#include "support/manual_clock.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace qv::server {
namespace {

class RelayServerTest : public ::testing::Test {
protected:
    RelayServerTest() : server(clock, state, [this](const net::RawMessage& m) { forwarded.push_back(m); }) {
        QString error;
        EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0, &error)) << qPrintable(error);
        server.serve();
    }

    quint16 port() const { return server.port(); }

    struct App {
        App() { test::qtApp(); }
    } app;
    test::ManualClock clock{{QDate(2024, 3, 9), QTime(14, 30)}, 1000};
    net::AreaState state;
    std::vector<net::RawMessage> forwarded;
    RelayServer server;
};

struct AnswerRow {
    QByteArray request;
    QByteArray answer;
};
void PrintTo(const AnswerRow& r, std::ostream* os) {
    *os << qv::test::caseName(r.request.left(24));
}

class RelayAnswerTest : public RelayServerTest, public ::testing::WithParamInterface<AnswerRow> {};

TEST_P(RelayAnswerTest, EveryRequestIsAnsweredWellWithinTheClientsWait) {
    test::UdpClient client;
    QElapsedTimer elapsed;
    elapsed.start();
    ASSERT_TRUE(client.ask(GetParam().request, port()));
    EXPECT_LT(elapsed.elapsed(), 250);
    EXPECT_EQ(client.received.front(), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Rows, RelayAnswerTest,
                         ::testing::Values(AnswerRow{comms::pollText("PC", "127.0.0.1"), "OK   :"},
                                           AnswerRow{comms::versionRequestText("127.0.0.1"),
                                                     "QVELSERVERVERSION MAJOR:  1 MINOR:  0 BUILD:  0"},
                                           AnswerRow{comms::networkMessageText(*net::GoAreaPreset(5, 3), "PC",
                                                                               "127.0.0.1"),
                                                     "OK   :"},
                                           AnswerRow{comms::kAreaPresetStatusRequest, "OK   :"},
                                           // Unreadable, but the client still waits for its answer.
                                           AnswerRow{"RS232:12ENDRS232", "OK   :"}));

TEST_F(RelayServerTest, NetworkMessagesGoToTheGatewayByteForByteAndBadOnesDoNot) {
    test::UdpClient client;
    const net::RawMessage message{0x1C, 0x05, 0xFF, 0x00, 'E', 'N', 'D', 0x80};
    ASSERT_TRUE(client.ask(comms::networkMessageText(message, "PC", "127.0.0.1"), port()));
    ASSERT_TRUE(client.ask("RS232:1234567", port()));
    ASSERT_EQ(forwarded.size(), 1u);
    EXPECT_EQ(forwarded[0], message);
    EXPECT_EQ(server.counters().badRequests, 1u);
}

TEST_F(RelayServerTest, DatagramsThatAreNoRequestGetNoAnswer) {
    test::UdpClient client;
    EXPECT_FALSE(client.ask("HELLO", port(), 1, 200));
    EXPECT_FALSE(client.ask("OK   :", port(), 1, 100));
    EXPECT_EQ(server.counters().unknown, 2u);
    EXPECT_EQ(server.clientCount(), 0u);
}

TEST_F(RelayServerTest, StatusRequestReportsEveryAreaHeardAndNoOther) {
    state.setPreset(5, 3);
    state.setPreset(200, 12);
    test::UdpClient client;
    ASSERT_TRUE(client.ask(comms::kAreaPresetStatusRequest, port(), 3));
    test::spin(50);
    ASSERT_EQ(client.received.size(), 3u);
    std::vector<comms::PresetReport> reports;
    for (const QByteArray& d : client.received) {
        const comms::ServerReply reply = comms::parseServerReply(std::string_view(d.constData(), d.size()));
        if (reply.preset) reports.push_back(*reply.preset);
    }
    EXPECT_EQ(reports, (std::vector<comms::PresetReport>{{5, 3}, {200, 12}}));
}

TEST_F(RelayServerTest, HeardMessagesGoToClientsThatPolledInTheLastTenSeconds) {
    test::UdpClient early, late, silent;
    ASSERT_TRUE(early.ask(comms::pollText("A", "127.0.0.1"), port()));
    clock.advance(5000);
    ASSERT_TRUE(late.ask(comms::pollText("B", "127.0.0.1"), port()));
    // The silent one only sends messages: that does not make it a listener.
    ASSERT_TRUE(silent.ask(comms::networkMessageText(*net::GoAreaPreset(1, 1), "C", "127.0.0.1"), port()));

    const std::string hex = net::toHex(*net::GoAreaPreset(5, 3));
    const QByteArray relayed = "RS232:  23 " + QByteArray::fromStdString(hex);
    server.relayHeard(hex);
    ASSERT_TRUE(test::waitUntil([&] { return early.received.size() == 2 && late.received.size() == 2; }));
    EXPECT_EQ(early.received.back(), relayed);
    EXPECT_EQ(late.received.back(), relayed);

    clock.advance(5001);  // 10.001 s after the first poll, 5.001 s after the second
    server.relayHeard(hex);
    ASSERT_TRUE(test::waitUntil([&] { return late.received.size() == 3; }));
    test::spin(50);
    EXPECT_EQ(early.received.size(), 2u);
    EXPECT_EQ(silent.received.size(), 1u);
    EXPECT_EQ(server.counters().relayed, 3u);
}

TEST_F(RelayServerTest, ASecondRelayCannotTakeTheSamePort) {
    RelayServer other(clock, state, [](const net::RawMessage&) {});
    QString error;
    EXPECT_FALSE(other.listen(QHostAddress::LocalHost, port(), &error));
    EXPECT_TRUE(error.contains(QString::number(port()))) << qPrintable(error);
}

TEST_F(RelayServerTest, NothingIsAnsweredBeforeServeAndTheWaitingRequestsAfter) {
    RelayServer waiting(clock, state, [](const net::RawMessage&) {});
    QString error;
    ASSERT_TRUE(waiting.listen(QHostAddress::LocalHost, 0, &error));
    test::UdpClient client;
    EXPECT_FALSE(client.ask(comms::pollText("PC", "127.0.0.1"), waiting.port(), 1, 200));
    waiting.serve();
    EXPECT_TRUE(test::waitUntil([&] { return client.received.size() == 1; }));
}

}  // namespace
}  // namespace qv::server
