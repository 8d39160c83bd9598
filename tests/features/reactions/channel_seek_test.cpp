// The channel seek against a simulated network that answers level queries
// for its channels only.

#include "features/reactions/light_levels.h"
#include "reactions_fixture.h"

#include <QSignalSpy>

namespace qv::reactions {
namespace {

class ChannelSeekTest : public ::testing::Test, protected test::Bench {
protected:
    ChannelSeekTest()
        : answering(network, sim::NetworkLayout{4, 5, {}, {}}),
          levels(main.db, network.state, monitor, network.clock, answering.sender(),
                 LightLevels::Intervals{}) {
        network.inbox.addReactions(&levels);
    }

    // One step of the seek's timer, letting the network answer the request.
    void step() {
        network.clock.advance(ChannelSeek::kStepMs);
        answering.deliver();
    }
    void runSeek() {
        for (int n = 0; n < 300 && levels.seeking(); ++n) step();
    }
    std::vector<AreaChannel> stored(int area) { return loadAreaChannels(main.db, area); }

    test::AnsweringNetwork answering;
    LightLevels levels;
};

TEST_F(ChannelSeekTest, StoresExactlyTheChannelsThatAnswer) {
    ASSERT_EQ(levels.chooseArea(2), LightLevels::Loaded::NoChannels);
    QSignalSpy progress(&levels, &LightLevels::seekProgress);
    QSignalSpy seeking(&levels, &LightLevels::seekingChanged);
    QSignalSpy finished(&levels.seek(), &ChannelSeek::finished);
    ASSERT_TRUE(levels.startSeek());
    EXPECT_FALSE(levels.choosePreset(3));  // the choices are disabled while seeking
    runSeek();

    ASSERT_EQ(finished.count(), 1);
    EXPECT_EQ(finished.at(0).at(0).value<QList<int>>(), QList<int>({1, 2, 3, 4, 5}));
    EXPECT_TRUE(stored(1).empty());  // what is stored for area 2: ChannelsAlreadyKnownAreNotStoredTwice

    // One request per channel 1..255, with its progress text; the channels
    // found are asked once more when their rows are loaded.
    for (int channel = 1; channel <= 255; ++channel)
        ASSERT_EQ(answering.sent.count(*net::RequestlevelofChannel(2, channel)), channel <= 5 ? 2 : 1)
            << channel;
    ASSERT_EQ(progress.count(), 255);
    EXPECT_EQ(progress.at(0).at(1).toString(), "seeking channel 1 of 255 channels");
    EXPECT_EQ(progress.at(254).at(1).toString(), "seeking channel 255 of 255 channels");

    // The rows are loaded and the choices come back.
    EXPECT_EQ(levels.channels().size(), 5u);
    ASSERT_EQ(seeking.count(), 2);
    EXPECT_FALSE(seeking.at(1).at(0).toBool());
    EXPECT_TRUE(levels.choosePreset(3));
}

TEST_F(ChannelSeekTest, AnAreaWithoutAnsweringChannelsStaysWithoutAndAsksAgain) {
    ASSERT_EQ(levels.chooseArea(9), LightLevels::Loaded::NoChannels);  // the network has areas 1..4
    ASSERT_TRUE(levels.startSeek());
    runSeek();
    EXPECT_FALSE(levels.seeking());
    EXPECT_TRUE(stored(9).empty());
    EXPECT_EQ(levels.chooseArea(9), LightLevels::Loaded::NoChannels);
}

TEST_F(ChannelSeekTest, StoppingEarlyStoresNothing) {
    levels.chooseArea(2);
    QSignalSpy stopped(&levels.seek(), &ChannelSeek::stopped);
    ASSERT_TRUE(levels.startSeek());
    for (int n = 0; n < 10; ++n) step();
    levels.stopSeek();
    EXPECT_EQ(stopped.count(), 1);
    EXPECT_FALSE(levels.seeking());
    const auto sentBefore = answering.sent.messages.size();
    step();
    EXPECT_EQ(answering.sent.messages.size(), sentBefore);
    EXPECT_TRUE(stored(2).empty());
}

TEST_F(ChannelSeekTest, ChannelsAlreadyKnownAreNotStoredTwice) {
    main.exec("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (2, 3, 'Desk')");
    ASSERT_EQ(levels.chooseArea(2), LightLevels::Loaded::Channels);
    ASSERT_TRUE(levels.startSeek());
    runSeek();
    const std::vector<AreaChannel> expected = {{1, " "}, {2, " "}, {3, "Desk"}, {4, " "}, {5, " "}};
    EXPECT_EQ(stored(2), expected);
}

TEST_F(ChannelSeekTest, AStoreThatRefusesIsSaidAndTheSeekStillEnds) {
    levels.chooseArea(2);
    ASSERT_TRUE(levels.startSeek());
    main.exec("DROP TABLE AreaChannels");
    runSeek();
    EXPECT_FALSE(levels.seeking());
    EXPECT_GE(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 1);
}

}  // namespace
}  // namespace qv::reactions
