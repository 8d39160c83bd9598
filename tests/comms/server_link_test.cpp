// The server link against fake servers on loopback: the request texts, who
// counts as connected and when, where messages go, what is believed, the
// lights, and the bind and look-up failures.

#include "comms/server_link.h"
#include "comms/client_link.h"
#include "comms/fake_server.h"
#include "comms/server_requests.h"
#include "net/builders.h"
#include "support/case_names.h"

#include <QTimer>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <optional>

namespace qv::comms {
namespace {

using Server = ServerLink::Server;
using test::FakeServer;

constexpr ServerLinkTimings kTimings;

std::string hexOf(const net::RawMessage& m) {
    return net::toHex(m);
}

QByteArray relayedText(const std::string& hex) {
    return "RS232:" + QByteArray::number(static_cast<int>(hex.size())).rightJustified(4, ' ') + " " +
           QByteArray::fromStdString(hex);
}

class ServerLinkTest : public ::testing::Test, protected test::ClientLink {
protected:
    void make(ServerLinkTimings timings = kTimings,
              const QString& defaultAddress = QStringLiteral("127.0.0.1"), HostResolver resolver = {},
              quint16 primaryLocal = 0) {
        makeLink({}, ServerPorts{primary.port(), primaryLocal, secondary.port(), 0}, timings, defaultAddress,
                 std::move(resolver));
        QObject::connect(link.get(), &ServerLink::alert, [this](const QString& text) { alerts << text; });
    }

    void start(bool withSecondary, const QString& local = QStringLiteral("127.0.0.1")) {
        link->start(
            {QStringLiteral("127.0.0.1"), withSecondary ? QStringLiteral("127.0.0.1") : QString(), local});
    }

    // Moves the clock on in 10 ms steps, letting datagrams travel between
    // steps, until done() holds or ms have passed.
    bool runUntil(const std::function<bool()>& done, qint64 ms = 30000) {
        return test::runUntil(clock, done, ms);
    }
    void run(qint64 ms) {
        runUntil([] { return false; }, ms);
    }
    bool waitConnected(bool wantPrimary, bool wantSecondary) {
        return runUntil([&] {
            return link->primaryConnected() == wantPrimary && link->secondaryConnected() == wantSecondary;
        });
    }

    FakeServer primary;
    FakeServer secondary;
    QStringList alerts;
};

TEST_F(ServerLinkTest, SetUpSaysWhereItLooksAndPollsAtOnceWithTheVersionRequest) {
    make();
    start(false);
    ASSERT_TRUE(test::waitUntil([&] { return primary.received.size() >= 2; }));
    EXPECT_EQ(primary.received[0], QByteArray("POLL: HOSTNAME:TESTPCENDHOSTNAME  HOSTIP:127.0.0.1ENDHOSTIP"));
    EXPECT_EQ(primary.received[1],
              QByteArray("COMMAND:REQUESTQVELSERVERVERSION ENDCOMMAND127.0.0.1ENDHOSTIP"));
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == "System" && r.comment == "TCP/IP comms engine looks for 127.0.0.1";
    }),
              1);
    EXPECT_TRUE(link->lights().light(Server::Primary).visible);
    EXPECT_TRUE(link->lights().light(Server::Secondary).visible);
    EXPECT_TRUE(secondary.received.empty());
}

TEST_F(ServerLinkTest, MessagesBeforeAnyServerCountsAsConnectedAreDroppedWithOneWarning) {
    primary.answering = false;
    make();
    start(true);
    link->sendRS232(*net::AskforCurrentPreset(5));
    link->sendRS232(*net::AskforCurrentPreset(6));
    run(200);
    EXPECT_EQ(primary.count("RS232:") + secondary.count("RS232:"), 0);
    EXPECT_EQ(link->counters().dropped, 2u);
    EXPECT_EQ(
        monitor.countComment("No QuorvelServer is connected: messages for the network are not being sent"),
        1);
}

TEST_F(ServerLinkTest, AReplyAloneIsNotEnoughTheNextPulseTickConnects) {
    primary.versionText = "QVELSERVERVERSION MAJOR:  2 MINOR:  1 BUILD:  7";
    make();
    start(false);
    ASSERT_TRUE(test::waitUntil([&] { return link->serverVersion().major == 2; }));
    EXPECT_EQ(link->serverVersion(), (ServerVersion{2, 1, 7}));
    EXPECT_FALSE(link->primaryConnected());
    link->sendRS232(*net::AskforCurrentPreset(5));
    EXPECT_EQ(link->counters().dropped, 1u);

    clock.advance(kTimings.primaryPulseMs);
    EXPECT_TRUE(link->primaryConnected());
    const StatusLight& light = link->lights().light(Server::Primary);
    EXPECT_EQ(light.tooltip, "Successfully Connected to Primary Server at 127.0.0.1");
    EXPECT_EQ(light.colour, LightColour::Green);
    EXPECT_FALSE(light.warningVisible);
    clock.advance(kTimings.primaryPulseMs);
    EXPECT_EQ(link->lights().light(Server::Primary).colour, LightColour::Grey);

    const net::RawMessage message = *net::GoAreaPreset(5, 3);
    link->sendRS232(message);
    ASSERT_TRUE(test::waitUntil([&] { return primary.count("RS232:") == 1; }));
    EXPECT_EQ(primary.received.back(), networkMessageText(message, "TESTPC", "127.0.0.1"));
    EXPECT_EQ(link->lastRequestText(), primary.received.back());
}

TEST_F(ServerLinkTest, VersionRequestGoesWithEveryPollUntilTheMajorIsNotZero) {
    primary.versionText = "QVELSERVERVERSION MAJOR:  0 MINOR:  5 BUILD:  0";
    make();
    start(false);
    ASSERT_TRUE(runUntil([&] { return primary.count("POLL:") == 3; }));
    EXPECT_EQ(primary.count("COMMAND:REQUESTQVELSERVERVERSION"), 3);

    primary.versionText = "QVELSERVERVERSION MAJOR:  4 MINOR:  5 BUILD:  0";
    ASSERT_TRUE(runUntil([&] { return link->serverVersion().major == 4; }));
    const int requests = primary.count("COMMAND:REQUESTQVELSERVERVERSION");
    ASSERT_TRUE(runUntil([&] { return primary.count("POLL:") == 7; }));
    EXPECT_EQ(primary.count("COMMAND:REQUESTQVELSERVERVERSION"), requests);
}

TEST_F(ServerLinkTest, PresetReportsAreTakenFromThePrimaryOnly) {
    make();
    start(true);
    ASSERT_TRUE(test::waitUntil([&] { return primary.clientPort != 0 && secondary.clientPort != 0; }));
    secondary.say("AREA:  13 IS IN PRESET:   4");
    primary.say("AREA:  12 IS IN PRESET:9999");
    primary.say("AREA:  12 IS IN PRESET:   3");
    ASSERT_TRUE(test::waitUntil([&] { return state.GetPresetforArea(12) == 3; }));
    test::spin(100);
    EXPECT_EQ(state.GetPresetforArea(13), 0);
    EXPECT_EQ(presetReports, (std::vector<std::pair<int, int>>{{12, 3}}));
    EXPECT_EQ(link->counters().malformed, 1u);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == "Warning **" &&
               r.comment.contains("could not be read (preset 9999 is outside 1-96)");
    }),
              1);
}

TEST_F(ServerLinkTest, RelayedMessagesBecomeInBoxLinesAndDamagedOnesDoNot) {
    make();
    start(false);
    ASSERT_TRUE(test::waitUntil([&] { return primary.clientPort != 0; }));
    const std::string hex = hexOf(*net::GoAreaPreset(5, 3));
    primary.say("RS232:   0 ");
    primary.say("RS232:  2x " + QByteArray::fromStdString(hex));
    primary.say("RS232:  40 " + QByteArray::fromStdString(hex));
    primary.say(relayedText(hex));
    ASSERT_TRUE(runUntil([&] { return heard(hex) == 1; }));
    test::spin(100);
    EXPECT_EQ(link->counters().relayed, 1u);
    EXPECT_EQ(link->counters().malformed, 2u);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "QuorvelServer"; }), 1);
    const auto& record =
        *std::find_if(monitor.records.begin(), monitor.records.end(),
                      [](const store::MonitorRecord& r) { return r.MsgType == "QuorvelServer"; });
    EXPECT_EQ(record.DateTime, dateTimeText(clock.now()));
    // The decoder took it in: area 5 is in preset 3.
    EXPECT_EQ(state.GetPresetforArea(5), 3);
}

TEST_F(ServerLinkTest, DatagramsFromAnyoneButTheServerAreIgnoredAndCounted) {
    primary.answering = false;
    make();
    start(false);
    ASSERT_TRUE(
        test::waitUntil([&] { return link->localPort(Server::Primary) != 0 && primary.clientPort != 0; }));
    // Same machine, same address as the server, another port: still a stranger.
    QUdpSocket stranger;
    ASSERT_TRUE(stranger.bind(QHostAddress::LocalHost, 0));
    const std::string hex = hexOf(*net::GoAreaPreset(7, 2));
    for (int i = 0; i < 30; ++i) {
        stranger.writeDatagram("OK   :", QHostAddress::LocalHost, link->localPort(Server::Primary));
        stranger.writeDatagram(relayedText(hex), QHostAddress::LocalHost, link->localPort(Server::Primary));
        stranger.writeDatagram("AREA:   7 IS IN PRESET:   2", QHostAddress::LocalHost,
                               link->localPort(Server::Primary));
        run(100);
    }
    // Answers forged by a stranger keep nothing alive and inject nothing.
    EXPECT_FALSE(link->primaryConnected());
    EXPECT_EQ(link->lights().light(Server::Primary).tooltip, "No Connection...");
    EXPECT_EQ(heard(hex), 0);
    EXPECT_EQ(state.GetPresetforArea(7), 0);
    EXPECT_TRUE(presetReports.empty());
    EXPECT_GE(link->counters().strangers, 30u);
    // The monitor hears of it, but not once per datagram.
    const int warnings = monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == "Warning **" && r.comment.startsWith("Ignored a datagram from 127.0.0.1 port ");
    });
    EXPECT_GE(warnings, 1);
    EXPECT_LE(warnings, 3);
}

TEST_F(ServerLinkTest, FailsOverToTheSecondaryAndBackToThePrimary) {
    make();
    start(true);
    ASSERT_TRUE(waitConnected(true, true));

    link->sendRS232(*net::GoAreaPreset(1, 1));
    ASSERT_TRUE(test::waitUntil([&] { return primary.count("RS232:") == 1; }));
    EXPECT_EQ(secondary.count("RS232:"), 0);

    primary.answering = false;
    const qint64 lost = clock.monotonicMs();
    ASSERT_TRUE(waitConnected(false, true));
    // Lost when the next poll has gone unanswered for answerMs.
    EXPECT_LE(clock.monotonicMs() - lost, kTimings.firstPollMs + kTimings.answerMs);
    EXPECT_EQ(link->lights().light(Server::Primary).tooltip, "No Connection...");
    EXPECT_TRUE(link->lights().light(Server::Primary).warningVisible);

    link->sendRS232(*net::GoAreaPreset(1, 2));
    ASSERT_TRUE(test::waitUntil([&] { return secondary.count("RS232:") == 1; }));
    EXPECT_EQ(primary.count("RS232:"), 1);

    primary.answering = true;
    ASSERT_TRUE(waitConnected(true, true));
    link->sendRS232(*net::GoAreaPreset(1, 3));
    ASSERT_TRUE(test::waitUntil([&] { return primary.count("RS232:") == 2; }));
    EXPECT_EQ(secondary.count("RS232:"), 1);
}

TEST_F(ServerLinkTest, AStreamOfUnansweredMessagesDoesNotPostponeTheLoss) {
    // No polls after the first; only the messages themselves ask for answers.
    make(ServerLinkTimings{600000, 600000, 250, 1000, 1005});
    start(false);
    ASSERT_TRUE(waitConnected(true, false));
    primary.answering = false;

    const qint64 started = clock.monotonicMs();
    std::optional<qint64> lostAt;
    QObject::connect(link.get(), &ServerLink::connectionChanged, [&](bool p, bool) {
        if (!p && !lostAt) lostAt = clock.monotonicMs() - started;
    });
    for (int i = 0; i < 30; ++i) {
        link->sendRS232(*net::AskforCurrentPreset(3));
        run(30);
    }
    ASSERT_TRUE(lostAt.has_value()) << "each new message restarted the wait";
    EXPECT_EQ(*lostAt, 250);
    EXPECT_GT(link->counters().dropped, 0u);
}

TEST_F(ServerLinkTest, WhileThePrimaryAnswersTheSecondarysRelaysAreIgnored) {
    make();
    start(true);
    ASSERT_TRUE(waitConnected(true, true));
    const std::string first = hexOf(*net::GoAreaPreset(9, 1));
    secondary.say(relayedText(first));
    ASSERT_TRUE(test::waitUntil([&] { return link->counters().secondaryIgnored == 1; }));
    EXPECT_EQ(heard(first), 0);

    primary.answering = false;
    ASSERT_TRUE(waitConnected(false, true));
    const std::string second = hexOf(*net::GoAreaPreset(9, 2));
    secondary.say(relayedText(second));
    ASSERT_TRUE(runUntil([&] { return heard(second) == 1; }));
    // Preset reports stay the primary's alone, even now.
    secondary.say("AREA:   9 IS IN PRESET:   4");
    run(100);
    EXPECT_EQ(state.GetPresetforArea(9), 2);
}

class NoAnswerLightsTest : public ServerLinkTest, public ::testing::WithParamInterface<bool> {};

TEST_P(NoAnswerLightsTest, LightsBlinkRedOrShowThatNoSecondaryIsSet) {
    const bool withSecondary = GetParam();
    primary.answering = false;
    secondary.answering = false;
    make();
    start(withSecondary);

    clock.advance(kTimings.answerMs);
    StatusLight p = link->lights().light(Server::Primary);
    const StatusLight s1 = link->lights().light(Server::Secondary);
    EXPECT_EQ(p.colour, LightColour::Red);
    EXPECT_EQ(p.tooltip, "No Connection...");
    EXPECT_TRUE(p.warningVisible);
    clock.advance(kTimings.answerMs);
    EXPECT_EQ(link->lights().light(Server::Primary).colour, LightColour::Grey);
    const StatusLight s2 = link->lights().light(Server::Secondary);
    if (withSecondary) {
        EXPECT_EQ(s1.colour, LightColour::Red);
        EXPECT_EQ(s2.colour, LightColour::Grey);
        EXPECT_EQ(s1.tooltip, "Not Connected...");
        EXPECT_TRUE(s1.warningVisible);
    } else {
        EXPECT_EQ(s1.colour, LightColour::Grey);
        EXPECT_EQ(s2.colour, LightColour::Grey);
        EXPECT_EQ(s1.tooltip, "No Secondary Server has been specified...");
        EXPECT_FALSE(s1.warningVisible);
    }
    EXPECT_FALSE(link->connected());
}

INSTANTIATE_TEST_SUITE_P(SecondarySet, NoAnswerLightsTest, ::testing::Bool());

TEST_F(ServerLinkTest, LosingAServerStopsItsPulse) {
    make();
    start(false);
    ASSERT_TRUE(waitConnected(true, false));
    primary.answering = false;
    ASSERT_TRUE(waitConnected(false, false));
    run(3 * kTimings.primaryPulseMs);  // no pulse brings it back
    EXPECT_FALSE(link->primaryConnected());
    EXPECT_TRUE(link->lights().light(Server::Primary).warningVisible);
}

struct BindRow {
    QString local;
    QString defaultAddress;
    QString expected;
};
void PrintTo(const BindRow& r, std::ostream* os) {
    *os << test::caseName(r.local, "default", r.defaultAddress);
}

class BindErrorTest : public ServerLinkTest, public ::testing::WithParamInterface<BindRow> {};

TEST_P(BindErrorTest, AnAddressThatIsNotOursRevertsToTheDefault) {
    const BindRow& row = GetParam();
    make(kTimings, row.defaultAddress);
    start(false, row.local);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0], row.expected);
    EXPECT_NE(link->localPort(Server::Primary), 0);
    // The requests now name the default address, and the server is reached.
    ASSERT_TRUE(waitConnected(true, false));
    EXPECT_EQ(primary.received[0],
              "POLL: HOSTNAME:TESTPCENDHOSTNAME  HOSTIP:" + row.defaultAddress.toLatin1() + "ENDHOSTIP");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BindErrorTest,
    ::testing::Values(
        BindRow{"192.0.2.1", "10.9.8.7",
                "Cannot assign requested address of 192.0.2.1 as a local IP\r\rWill revert to Default of "
                "10.9.8.7 "
                "instead."},
        BindRow{"192.0.2.1", "192.0.2.1", "Cannot assign requested address of 192.0.2.1 as a local IP\r\r"},
        BindRow{
            "not an address", "10.9.8.7",
            "Cannot assign requested address of not an address as a local IP\r\rWill revert to Default of "
            "10.9.8.7 instead."}));

TEST_F(ServerLinkTest, ALocalPortInUseFallsBackToAFreeOneWithAWarning) {
    QUdpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::AnyIPv4, 0));
    const quint16 taken = holder.localPort();
    make(kTimings, QStringLiteral("127.0.0.1"), {}, taken);
    start(false, QString());
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_NE(link->localPort(Server::Primary), 0);
    EXPECT_NE(link->localPort(Server::Primary), taken);
    EXPECT_EQ(monitor.count([&](const store::MonitorRecord& r) {
        return r.MsgType == "Warning **" &&
               r.comment.startsWith(
                   QStringLiteral("The local port %1 for the QuorvelServer link can not be used").arg(taken));
    }),
              1);
    EXPECT_TRUE(waitConnected(true, false));
}

TEST_F(ServerLinkTest, ANameThatDoesNotResolveAlertsOnceAndIsLookedUpAgain) {
    int lookups = 0;
    make(kTimings, QStringLiteral("127.0.0.1"),
         [&](const QString&, std::function<void(QList<QHostAddress>)> done) {
             ++lookups;
             QTimer::singleShot(0, [done] { done({}); });
         });
    link->start({QStringLiteral("relay.example"), QString(), QString()});
    ASSERT_TRUE(runUntil([&] { return lookups >= 3; }));
    EXPECT_EQ(alerts,
              QStringList{"The QuorvelServer is not available - please check with your network administrator "
                          "to rectify - and retry."});
    EXPECT_FALSE(link->connected());
}

TEST_F(ServerLinkTest, ANameIsResolvedPreferringIPv4AndPolledAsSoonAsItIsKnown) {
    primary.versionText = "QVELSERVERVERSION MAJOR:  3 MINOR:  0 BUILD:  0";
    make(kTimings, QStringLiteral("127.0.0.1"),
         [](const QString& name, std::function<void(QList<QHostAddress>)> done) {
             QList<QHostAddress> found;
             if (name == QLatin1String("relay.example"))
                 found << QHostAddress(QStringLiteral("::1")) << QHostAddress(QHostAddress::LocalHost);
             QTimer::singleShot(0, [done, found] { done(found); });
         });
    link->start({QStringLiteral("relay.example"), QString(), QString()});
    // Without waiting for the next poll, 10 minutes away.
    ASSERT_TRUE(test::waitUntil([&] { return link->serverVersion().major == 3; }));
    EXPECT_EQ(primary.count("POLL:"), 1);
    clock.advance(kTimings.primaryPulseMs);
    EXPECT_EQ(link->lights().light(Server::Primary).tooltip,
              "Successfully Connected to Primary Server at 127.0.0.1");
}

TEST_F(ServerLinkTest, WhenConnectedWaitsForAServerOrGivesUp) {
    primary.answering = false;
    make();
    start(false);
    std::optional<bool> first;
    link->whenOpen(300, [&](bool ok) { first = ok; });
    clock.advance(299);
    EXPECT_FALSE(first.has_value());
    clock.advance(1);
    EXPECT_EQ(first, std::optional<bool>(false));

    std::optional<bool> second;
    link->whenOpen(10000, [&](bool ok) { second = ok; });
    primary.answering = true;
    ASSERT_TRUE(runUntil([&] { return second.has_value(); }, 10000));
    EXPECT_TRUE(*second);

    bool third = false;
    link->whenOpen(10, [&](bool ok) { third = ok; });
    EXPECT_TRUE(third);  // already connected: at once

    link->stop();
    std::optional<bool> fourth;
    link->whenOpen(3000, [&](bool ok) { fourth = ok; });
    EXPECT_EQ(fourth, std::optional<bool>(false));
}

TEST_F(ServerLinkTest, StoppingEndsWaitsPollingAndHidesTheLights) {
    primary.answering = false;
    make();
    start(false);
    std::optional<bool> waited;
    link->whenOpen(5000, [&](bool ok) { waited = ok; });
    link->stop();
    EXPECT_EQ(waited, std::optional<bool>(false));
    EXPECT_FALSE(link->lights().light(Server::Primary).visible);
    EXPECT_FALSE(link->lights().light(Server::Secondary).visible);
    run(50);
    const std::size_t before = primary.received.size();
    run(10000);
    EXPECT_EQ(primary.received.size(), before);
}

TEST_F(ServerLinkTest, StatusRequestGoesOnlyToAConnectedServer) {
    make();
    start(false);
    EXPECT_FALSE(link->AreaPresetStatusRequest());
    ASSERT_TRUE(waitConnected(true, false));
    EXPECT_TRUE(link->AreaPresetStatusRequest());
    ASSERT_TRUE(test::waitUntil([&] { return primary.count("Area Preset Status Request") == 1; }));
}

}  // namespace
}  // namespace qv::comms
