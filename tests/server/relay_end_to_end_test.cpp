// Two quorvel-server processes, each on its own simulated network, and a
// client link in this process with the real timings: messages go to the
// primary; when it stops they go to the secondary within one poll plus the
// answer time; when it returns they go back to it within one poll plus one
// pulse. The secondary's relays are ignored while the primary answers, and
// a third local socket cannot inject anything. The client runs on a manual
// clock, so the timings are exact however loaded the machine is.

#include "comms/client_link.h"
#include "net/builders.h"
#include "server/relay_process.h"

#include <QUdpSocket>

#include <gtest/gtest.h>

namespace qv::server {
namespace {

using Server = comms::ServerLink::Server;

class RelayEndToEndTest : public ::testing::Test, protected test::ClientLink {
protected:
    void makeLinkToBoth() {
        // The real timings; only the ports are the test's own.
        const QString local = QStringLiteral("127.0.0.1");
        makeLink({local, local, local}, comms::ServerPorts{primaryPort, 0, secondaryPort, 0});
        ASSERT_EQ(link->open(), comms::Link::OpenError::None);
        nextPollMs = clock.monotonicMs();
        run(0);
    }

    // Moves the clock on in 10 ms steps. At each poll it waits, in real time,
    // until every server that runs has answered, so that a slow machine
    // cannot make a running server look silent.
    void run(qint64 ms) {
        for (qint64 t = 0;; t += 10) {
            if (clock.monotonicMs() >= nextPollMs) {
                nextPollMs += nextPollMs == 0 ? part.firstPollMs : part.pollMs;
                EXPECT_TRUE(test::waitUntil(
                    [&, p = answers(true), s = answers(false)] {
                        return (!primaryRuns || answers(true) > p) && (!secondaryRuns || answers(false) > s);
                    },
                    10000));
            }
            if (t >= ms) return;
            QCoreApplication::processEvents();
            clock.advance(10);
        }
    }
    quint64 answers(bool primary) const {
        return primary ? link->counters().primaryAnswers : link->counters().secondaryAnswers;
    }
    // Waits in real time for the servers; the clock moves only for the in box.
    bool waitFor(const std::function<bool()>& done) {
        return test::waitUntil(
            [&] {
                if (inbox.waiting() > 0) run(comms::InBox::kTickMs);
                return done();
            },
            10000);
    }
    // Runs the clock until the link counts these servers as connected, at
    // most ms and the 10 ms step that holds it.
    bool runUntilConnected(bool primary, bool secondary, qint64 ms) {
        for (qint64 t = 0; t < ms + 10; t += 10, run(10))
            if (link->primaryConnected() == primary && link->secondaryConnected() == secondary) return true;
        return false;
    }
    // Sends a message and waits for the server it went to to say anything.
    void send(const net::RawMessage& message, bool toPrimary) {
        const quint64 before = answers(toPrimary);
        link->sendRS232(message);
        EXPECT_TRUE(test::waitUntil([&] { return answers(toPrimary) > before; }, 10000));
    }

    const comms::ServerLinkTimings part;
    qint64 nextPollMs = 0;
    bool primaryRuns = true;
    bool secondaryRuns = true;
    quint16 primaryPort = test::freeUdpPort();
    quint16 secondaryPort = test::freeUdpPort();
};

TEST_F(RelayEndToEndTest, FailOverToTheSecondaryAndBackWithinThePollTimings) {
    auto primary = std::make_unique<test::RelayProcess>(primaryPort, false);
    // Only the secondary's network is busy: whatever the client hears from it
    // can be told apart from the primary's.
    test::RelayProcess secondary(secondaryPort, true, {QStringLiteral("--sim-option=--activity=20")});
    ASSERT_TRUE(primary->waitListening()) << primary->output.constData();
    ASSERT_TRUE(secondary.waitListening()) << secondary.output.constData();
    makeLinkToBoth();
    ASSERT_TRUE(runUntilConnected(true, true, part.secondaryPulseMs));

    // Both answer: the secondary's relays are ignored, messages go to the
    // primary. (Before the primary's first pulse they were still taken.)
    const quint64 relayedWhileBoth = link->counters().relayed;
    const quint64 ignoredBefore = link->counters().secondaryIgnored;
    ASSERT_TRUE(
        test::waitUntil([&] { return link->counters().secondaryIgnored >= ignoredBefore + 5; }, 3000));
    EXPECT_EQ(link->counters().relayed, relayedWhileBoth);
    const net::RawMessage first = *net::GoAreaPreset(5, 3);
    send(first, true);
    const QByteArray firstHex = QByteArray::fromStdString(net::toHex(first));
    ASSERT_TRUE(test::waitUntil([&] { return primary->said(firstHex); }, 5000));
    EXPECT_FALSE(secondary.said(firstHex));
    // The primary's simulated network echoes it, and the echo is relayed back.
    ASSERT_TRUE(waitFor([&] { return heard(net::toHex(first)) >= 1; }));

    // The start-up status request: the primary reports area 5 in preset 3.
    ASSERT_TRUE(link->AreaPresetStatusRequest());
    ASSERT_TRUE(waitFor([&] {
        return std::find(presetReports.begin(), presetReports.end(), std::pair{5, 3}) != presetReports.end();
    })) << "malformed "
        << link->counters().malformed << ", primary said:\n"
        << primary->output.constData();

    // A third local socket cannot inject a message.
    QUdpSocket stranger;
    ASSERT_TRUE(stranger.bind(QHostAddress::LocalHost, 0));
    const std::string forged = net::toHex(*net::GoAreaPreset(9, 9));
    stranger.writeDatagram("RS232:  23 " + QByteArray::fromStdString(forged), QHostAddress::LocalHost,
                           link->localPort(Server::Primary));
    ASSERT_TRUE(test::waitUntil([&] { return link->counters().strangers >= 1; }, 5000));
    EXPECT_EQ(heard(forged), 0);

    // The primary stops: within one poll and the answer time the secondary
    // takes over. Polls are 2.4 s apart once the first 5 s have passed.
    run(std::max<qint64>(0, part.firstPollMs + 100 - clock.monotonicMs()));
    EXPECT_EQ(primary->terminate(), 0);
    EXPECT_TRUE(primary->said("stopped"));
    primaryRuns = false;
    ASSERT_TRUE(runUntilConnected(false, true, part.pollMs + part.answerMs));
    const net::RawMessage second = *net::GoAreaPreset(6, 2);
    send(second, false);
    const QByteArray secondHex = QByteArray::fromStdString(net::toHex(second));
    ASSERT_TRUE(test::waitUntil([&] { return secondary.said(secondHex); }, 5000));
    // Now the secondary's network is what the client hears.
    const quint64 relayedBefore = link->counters().relayed;
    ASSERT_TRUE(waitFor([&] { return link->counters().relayed >= relayedBefore + 3; }));

    // The primary returns: back to it after its first answer and one pulse.
    primary = std::make_unique<test::RelayProcess>(primaryPort, false);
    ASSERT_TRUE(primary->waitListening()) << primary->output.constData();
    primaryRuns = true;
    ASSERT_TRUE(runUntilConnected(true, true, part.pollMs + part.primaryPulseMs));
    const net::RawMessage third = *net::GoAreaPreset(7, 1);
    send(third, true);
    const QByteArray thirdHex = QByteArray::fromStdString(net::toHex(third));
    ASSERT_TRUE(test::waitUntil([&] { return primary->said(thirdHex); }, 5000));
    EXPECT_FALSE(secondary.said(thirdHex));
    EXPECT_EQ(secondary.terminate(), 0);
}

TEST(RelayProcessTest, RefusesAPortAnotherRelayHolds) {
    test::qtApp();
    const quint16 port = test::freeUdpPort();
    test::RelayProcess first(port, false);
    ASSERT_TRUE(first.waitListening());
    test::RelayProcess second(port, false);
    EXPECT_FALSE(second.waitListening(5000));
    EXPECT_EQ(first.terminate(), 0);
}

}  // namespace
}  // namespace qv::server
