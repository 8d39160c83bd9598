// The circuit-finding test with a fake sender: the sequence of messages, the
// pacing, cancelling part-way and starting twice.

#include "config_fixture.h"

#include "net/builders.h"
#include "shell/config/circuit_test.h"
#include "shell/config/messages.h"

#include <QSignalSpy>
#include <vector>

namespace qv::config {
namespace {

class CircuitTest : public ::testing::Test {
protected:
    static constexpr int kInterval = 60000;
    CircuitTest() { qv::test::qtApp(); }

    CircuitFindingTest makeTest(int intervalMs = kInterval) {
        return CircuitFindingTest([this](const net::RawMessage& m) { sent.push_back(m); }, monitor, clock,
                                  intervalMs);
    }

    std::vector<net::RawMessage> sent;
    qv::test::RecordingMonitor monitor;
    test::FixedClock clock;
};

TEST_F(CircuitTest, SendsAreasOneTo255ToPresetOneInTurn) {
    CircuitFindingTest circuit = makeTest();
    QSignalSpy progress(&circuit, &CircuitFindingTest::progress);
    QSignalSpy finished(&circuit, &CircuitFindingTest::finished);

    ASSERT_TRUE(circuit.start());
    ASSERT_EQ(sent.size(), 1u);  // area 1 goes at once
    clock.advance(254LL * kInterval);
    ASSERT_EQ(sent.size(), 255u);
    for (int area = 1; area <= 255; ++area) EXPECT_EQ(sent[area - 1], *net::GoAreaPreset(area, 1)) << area;

    EXPECT_TRUE(circuit.isRunning());  // area 255 still gets its second
    EXPECT_EQ(finished.count(), 0);
    clock.advance(kInterval);
    EXPECT_FALSE(circuit.isRunning());
    ASSERT_EQ(finished.count(), 1);
    EXPECT_TRUE(finished.at(0).at(0).toBool());
    EXPECT_EQ(sent.size(), 255u);

    ASSERT_EQ(progress.count(), 255);
    EXPECT_EQ(progress.at(0).at(0).toInt(), 1);
    EXPECT_EQ(progress.at(254).at(0).toInt(), 255);
    EXPECT_EQ(progress.at(254).at(1).toInt(), 255);

    // Each area is logged as direct control logs it.
    ASSERT_EQ(monitor.records.size(), 255u);
    EXPECT_EQ(monitor.records[11].MsgType, QStringLiteral("Direct Control"));
    EXPECT_EQ(monitor.records[11].comment, msg::kDirectControlIssuesAreaPreset);
    EXPECT_EQ(monitor.records[11].area, "12");
    EXPECT_EQ(monitor.records[11].Preset, "1");
}

TEST_F(CircuitTest, CancelStopsBeforeTheNextArea) {
    CircuitFindingTest circuit = makeTest();
    QSignalSpy finished(&circuit, &CircuitFindingTest::finished);
    ASSERT_TRUE(circuit.start());
    clock.advance(2 * kInterval);
    circuit.cancel();
    ASSERT_EQ(finished.count(), 1);
    EXPECT_FALSE(finished.at(0).at(0).toBool());
    EXPECT_EQ(circuit.lastArea(), 3);
    clock.advance(kInterval);
    circuit.cancel();
    EXPECT_EQ(sent.size(), 3u);
    EXPECT_EQ(finished.count(), 1);
}

TEST_F(CircuitTest, CancellingFromInsideTheSendStopsCleanly) {
    CircuitFindingTest* running = nullptr;
    CircuitFindingTest circuit(
        [&](const net::RawMessage& m) {
            sent.push_back(m);
            if (sent.size() == 2) running->cancel();
        },
        monitor, clock, 60000);
    running = &circuit;
    QSignalSpy progress(&circuit, &CircuitFindingTest::progress);
    ASSERT_TRUE(circuit.start());
    clock.advance(2 * kInterval);
    EXPECT_EQ(sent.size(), 2u);
    EXPECT_EQ(progress.count(), 1);  // area 2 was cancelled during its send
    EXPECT_FALSE(circuit.isRunning());
}

TEST_F(CircuitTest, ASecondStartWhileRunningIsRefusedAndARestartBeginsAgain) {
    CircuitFindingTest circuit = makeTest();
    ASSERT_TRUE(circuit.start());
    EXPECT_FALSE(circuit.start());
    EXPECT_EQ(sent.size(), 1u);
    circuit.cancel();
    ASSERT_TRUE(circuit.start());
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], *net::GoAreaPreset(1, 1));
}

}  // namespace
}  // namespace qv::config
