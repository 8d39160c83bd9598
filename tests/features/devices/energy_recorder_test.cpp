// The energy recorder: heard preset changes queue level requests for the
// lamp channels of the area, replaced per area, sent one per 200 ms.

#include "features/devices/energy_recorder.h"
#include "devices_support.h"
#include "features/devices/channel_requests.h"
#include "net/builders.h"

namespace qv::devices {
namespace {

using Requests = std::deque<std::pair<int, int>>;

class EnergyRecorderTest : public test::DataFolderTest {
protected:
    EnergyRecorderTest()
        : wire(layout(), clock, monitor),
          queue(clock, wire.sender()),
          recorder(*main, queue, monitor, clock) {
        run(*main,
            "INSERT INTO LampFittingsonChannel (Area, Channel, LampFitting_ID, Number) VALUES "
            "(3, 2, 1, 4), (3, 1, 1, 2), (3, 1, 2, 1), (4, 1, 1, 1)");
        wire.inbox.addReactions(&recorder);
        recorder.setEnabled(true);
    }

    static sim::NetworkLayout layout() {
        sim::NetworkLayout l;
        l.areas = 8;
        l.channels = 4;
        return l;
    }

    // A preset change heard on the network.
    void hearPreset(int area, int preset) {
        const net::RawMessage m = *net::GoAreaPreset(area, preset);
        wire.inbox.append(
            net::makeInboxLine(net::toReceivedHex(m.data(), m.size()), "2024-03-14 09:00:00", "Comms"));
        wire.inbox.RS232inboxTimer();
    }

    test::SimWire wire;
    ChannelRequestQueue queue;
    EnergyRecorder recorder;
};

TEST_F(EnergyRecorderTest, AHeardPresetQueuesTheLampChannelsOfItsAreaOnce) {
    hearPreset(3, 2);
    EXPECT_EQ(queue.requests(), (Requests{{3, 1}, {3, 2}}));
    hearPreset(4, 1);
    hearPreset(3, 5);  // replaces area 3's requests, area 4's stay first
    EXPECT_EQ(queue.requests(), (Requests{{4, 1}, {3, 1}, {3, 2}}));
    hearPreset(5, 1);  // no lamps there
    EXPECT_EQ(queue.size(), 3u);
}

TEST_F(EnergyRecorderTest, RequestsGoOutOneEvery200MsAndTheAnswersReachTheMonitor) {
    hearPreset(3, 2);
    EXPECT_TRUE(wire.sent.empty());
    clock.advance(ChannelRequestQueue::kIntervalMs);
    ASSERT_EQ(wire.sent.size(), 1u);
    EXPECT_EQ(wire.sent[0], *net::RequestlevelofChannel(3, 1));
    clock.advance(ChannelRequestQueue::kIntervalMs);
    ASSERT_EQ(wire.sent.size(), 2u);
    EXPECT_EQ(wire.sent[1], *net::RequestlevelofChannel(3, 2));
    clock.advance(ChannelRequestQueue::kIntervalMs);
    EXPECT_FALSE(queue.isActive());
    EXPECT_EQ(wire.sent.size(), 2u);
    // The level reports are what the energy report reads from the monitor log.
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.area == "3" && r.channel == "2" && !r.ChannelLevel.isEmpty() && r.RS232.contains(" 60 ");
    }),
              1);
}

TEST_F(EnergyRecorderTest, NothingIsQueuedWhileRecordingIsOff) {
    recorder.setEnabled(false);
    hearPreset(3, 2);
    EXPECT_EQ(queue.size(), 0u);
}

TEST_F(EnergyRecorderTest, AnUnreadableLampTableIsSaidOnceAndKeepsWhatWaits) {
    hearPreset(3, 2);
    main->exec(QStringLiteral("DROP TABLE LampFittingsonChannel"));
    hearPreset(3, 4);
    hearPreset(4, 1);
    EXPECT_EQ(queue.requests(), (Requests{{3, 1}, {3, 2}}));
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 1);
}

}  // namespace
}  // namespace qv::devices
