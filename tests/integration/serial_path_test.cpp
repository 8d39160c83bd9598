// The real serial path: the engine's serial link and decoder on one side of
// a pseudo-terminal, quorvel-sim on the other.

#include "comms/serial_comms.h"
#include "comms/serial_link.h"
#include "net/builders.h"
#include "support/simulator_link.h"

#include <QSettings>

#include <algorithm>

namespace qv::comms {
namespace {

class SerialPathTest : public ::testing::Test {
protected:
    SerialPathTest()
        : settings(dir.filePath("user.ini"), QSettings::IniFormat),
          inbox(clock, names, state, monitor),
          comms(clock, monitor, inbox, SerialLink::factory(), settings) {
        test::qtApp();
    }

    bool open(const QStringList& arguments = {}) { return test::openOnSimulator(sim, comms, arguments); }

    QTemporaryDir dir;
    QSettings settings;
    SystemClock clock;
    net::NameTables names;
    net::AreaState state;
    test::RecordingMonitor monitor;
    InBox inbox;
    SerialComms comms;
    process::SimulatorProcess sim{QStringLiteral(QUORVEL_SIM_PATH)};
};

// The simulator is a real process: on a busy machine its echo can come after
// the next out-box tick, which sends the head again, and each copy is echoed
// and answered. So the checks are on what was heard and in which order, not
// on how many copies went.
TEST_F(SerialPathTest, PresetSelectThenQueryIsHeardAndAnswered) {
    ASSERT_TRUE(open());
    comms.sendRS232(*net::GoAreaPreset(5, 3));
    comms.sendRS232(*net::AskforCurrentPreset(5));
    ASSERT_TRUE(test::waitUntil([&] { return monitor.countComment("area 5 is in preset 3") >= 1; }));
    EXPECT_EQ(state.GetPresetforArea(5), 3);
    EXPECT_EQ(comms.outboxCount(), 0u);  // both echoed

    // Order on the monitor: the select's echo, the query's echo, the answer.
    std::vector<QString> order;
    for (const auto& r : monitor.records)
        if (r.MsgType == "Comms" && std::find(order.begin(), order.end(), r.comment) == order.end())
            order.push_back(r.comment);
    EXPECT_EQ(order, (std::vector<QString>{"Set area 5 to preset 3", "what preset is area 5 in?",
                                           "area 5 is in preset 3"}));
}

TEST_F(SerialPathTest, ChannelLevelsTravelBothWays) {
    ASSERT_TRUE(open());
    comms.sendRS232(*net::ChannelLevelMessage(2, 3, 0x80));
    comms.sendRS232(*net::RequestlevelofChannel(2, 3));
    ASSERT_TRUE(test::waitUntil([&] {
        return state.channelLevel(2, 3) == 0x80 && monitor.countComment("Area 2 Channel 3 is at 50%") >= 1;
    }));
}

TEST_F(SerialPathTest, WithoutEchoesTheOutBoxOverflowsAt501) {
    ASSERT_TRUE(open({QStringLiteral("--no-echo")}));
    QStringList alerts;
    QObject::connect(&comms, &SerialComms::alert, [&](const QString& t) { alerts << t; });
    for (int i = 0; i < 500; ++i) comms.sendRS232(*net::ChannelLevelMessage(1, 1, i % 256));
    test::spin(200);
    EXPECT_TRUE(alerts.isEmpty());
    EXPECT_EQ(comms.outboxCount(), 500u);  // the head never leaves without its echo
    comms.sendRS232(*net::ChannelLevelMessage(1, 1, 7));
    ASSERT_TRUE(test::waitUntil([&] { return !alerts.isEmpty(); }));
    EXPECT_EQ(comms.outboxCount(), 251u);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 1);
}

TEST_F(SerialPathTest, CorruptedAndCoalescedTrafficLosesNothing) {
    ASSERT_TRUE(open({QStringLiteral("--coalesce"), QStringLiteral("--split")}));
    for (int area = 1; area <= 20; ++area) comms.sendRS232(*net::AskforCurrentPreset(area));
    // Every area answered (a resent query is answered twice).
    ASSERT_TRUE(test::waitUntil(
        [&] {
            for (int area = 1; area <= 20; ++area)
                if (state.GetPresetforArea(area) != 1) return false;
            return true;
        },
        10000))
        << monitor.records.size();
}

}  // namespace
}  // namespace qv::comms
