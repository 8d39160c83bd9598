#include "features/reactions/light_levels.h"
#include "reactions_fixture.h"

#include <QSignalSpy>

namespace qv::reactions {
namespace {

using test::message;

net::RawMessage levelReport(int area, int channel, int level) {
    return message({0x1C, static_cast<std::uint8_t>(area), static_cast<std::uint8_t>(channel - 1), 0x60,
                    static_cast<std::uint8_t>(level), 0, 0xFF});
}

class LightLevelsTest : public ::testing::Test, protected test::Bench {
protected:
    LightLevelsTest()
        : levels(main.db, network.state, monitor, network.clock, sent.sender(), LightLevels::Intervals{}) {
        network.inbox.addReactions(&levels);
    }
    void addChannel(int area, int channel, const QString& name) {
        main.exec("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (?, ?, ?)",
                  {area, channel, name});
    }

    LightLevels levels;
};

TEST_F(LightLevelsTest, AnAreaWithoutChannelsAsksForASeek) {
    EXPECT_EQ(levels.chooseArea(7), LightLevels::Loaded::NoChannels);
    EXPECT_TRUE(levels.channels().empty());
    EXPECT_TRUE(sent.messages.empty());
    EXPECT_EQ(levels.chooseArea(0), LightLevels::Loaded::Failed);
    EXPECT_EQ(levels.chooseArea(256), LightLevels::Loaded::Failed);
}

TEST_F(LightLevelsTest, KnownChannelsAreLoadedInOrderAndAskedForTheirLevels) {
    addChannel(2, 5, "Spots");
    addChannel(2, 1, "Downlights");
    addChannel(3, 1, "Elsewhere");
    QSignalSpy loading(&levels, &LightLevels::loadingChannel);
    ASSERT_EQ(levels.chooseArea(2), LightLevels::Loaded::Channels);
    ASSERT_EQ(levels.channels().size(), 2u);
    EXPECT_EQ(levels.channels()[0].channel, 1);
    EXPECT_EQ(levels.channels()[1].name, "Spots");
    EXPECT_EQ(sent.hex(), QStringList({test::hexOf(net::RequestlevelofChannel(2, 1)),
                                       test::hexOf(net::RequestlevelofChannel(2, 5))}));
    ASSERT_EQ(loading.count(), 2);
    EXPECT_EQ(loading.at(1).at(0).toString(), "Loading Channel: 5");
}

TEST_F(LightLevelsTest, ReportsMoveTheRowsOfTheChosenAreaOnly) {
    addChannel(2, 1, "A");
    addChannel(2, 2, "B");
    levels.chooseArea(2);
    network.hear(levelReport(2, 1, 0x80));
    const ChannelRow* row = levels.channel(1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->percent, 50);
    EXPECT_TRUE(row->sliderVisible);
    EXPECT_FALSE(row->queryVisible);

    network.hear(levelReport(2, 2, 0x00));  // level byte 0 hides the slider
    EXPECT_FALSE(levels.channel(2)->sliderVisible);

    network.hear(levelReport(3, 1, 0xFF));  // another area
    EXPECT_EQ(levels.channel(1)->percent, 50);

    levels.setAdjusting(true);  // the user holds a slider: reports leave it alone
    network.hear(levelReport(2, 1, 0x01));
    EXPECT_EQ(levels.channel(1)->percent, 50);
    levels.setAdjusting(false);
    network.hear(levelReport(2, 1, 0x01));
    EXPECT_EQ(levels.channel(1)->percent, 100);
}

TEST_F(LightLevelsTest, AReportMovingASliderIsNotSentBack) {
    addChannel(2, 1, "A");
    levels.chooseArea(2);
    sent.messages.clear();
    bool echoed = true;
    // A window that forwards its slider's change straight back.
    QObject::connect(&levels, &LightLevels::channelChanged, [&](int channel) {
        echoed = levels.setSliderPercent(channel, levels.channel(channel)->percent);
    });
    network.hear(levelReport(2, 1, 0x80));
    EXPECT_FALSE(echoed);
    EXPECT_TRUE(sent.messages.empty());
    EXPECT_TRUE(levels.okToSendLevelChange());
}

TEST_F(LightLevelsTest, ASliderSendsTheChannelLevelMessage) {
    addChannel(2, 4, "A");
    levels.chooseArea(2);
    sent.messages.clear();
    // The byte of each percentage is net::levelFromPercent's (tests/net/encodings_test.cpp).
    ASSERT_TRUE(levels.setSliderPercent(4, 100));
    EXPECT_EQ(sent.hex(), QStringList({test::hexOf(net::ChannelLevelMessage(2, 4, 1))}));
}

TEST_F(LightLevelsTest, SliderChangesArePacedAndTheLastOneAlwaysGoes) {
    addChannel(2, 1, "A");
    levels.chooseArea(2);
    sent.messages.clear();
    levels.setSliderPercent(1, 10);
    levels.setSliderPercent(1, 20);
    levels.setSliderPercent(1, 30);
    EXPECT_EQ(sent.messages.size(), 1u);  // the first at once
    network.clock.advance(100);
    ASSERT_EQ(sent.messages.size(), 2u);
    EXPECT_EQ(sent.messages.back(), *net::ChannelLevelMessage(2, 1, net::levelFromPercent(30)));
    network.clock.advance(250);
    EXPECT_EQ(sent.messages.size(), 2u);           // 20 % never went
    EXPECT_FALSE(levels.setSliderPercent(9, 30));  // not a channel of the area
}

TEST_F(LightLevelsTest, SavingToThreeOtherPresetsSendsThreeSavesSpacedApart) {
    const auto& clock = network.clock;
    std::vector<qint64> at;
    LightLevels spaced(main.db, network.state, monitor, network.clock,
                       [&](const net::RawMessage& m) {
                           sent.messages.push_back(m);
                           at.push_back(clock.monotonicMs());
                       },
                       {100, 200, 40, 150});
    addChannel(2, 1, "A");
    spaced.chooseArea(2);
    sent.messages.clear();
    at.clear();
    qint64 clearedAt = -1;
    QObject::connect(&spaced, &LightLevels::otherPresetsSaved, [&] { clearedAt = clock.monotonicMs(); });

    ASSERT_TRUE(spaced.saveToOtherPresets({4, 6, 9}));
    EXPECT_FALSE(spaced.saveToOtherPresets({5}));  // one at a time
    network.clock.advance(1000);
    ASSERT_EQ(sent.hex(), QStringList({test::hexOf(net::SavePreset(2, 4)), test::hexOf(net::SavePreset(2, 6)),
                                       test::hexOf(net::SavePreset(2, 9))}));
    ASSERT_EQ(at.size(), 3u);
    EXPECT_EQ(at[1] - at[0], 40);
    EXPECT_EQ(at[2] - at[1], 40);
    EXPECT_EQ(clearedAt - at[2], 40);  // the selection clears after the last wait
}

TEST_F(LightLevelsTest, SavingCanBeCancelled) {
    addChannel(2, 1, "A");
    levels.chooseArea(2);
    sent.messages.clear();
    QSignalSpy saved(&levels, &LightLevels::otherPresetsSaved);
    ASSERT_TRUE(levels.saveToOtherPresets({4, 6, 9}));
    levels.cancelSaveToOtherPresets();
    network.clock.advance(500);
    EXPECT_EQ(sent.messages.size(), 1u);
    EXPECT_EQ(saved.count(), 0);
    EXPECT_FALSE(levels.savingToOtherPresets());
}

TEST_F(LightLevelsTest, SavePresetUsesThePresetTheAreaIsIn) {
    addChannel(2, 1, "A");
    levels.chooseArea(2);
    EXPECT_FALSE(levels.savePreset());  // no preset known yet
    ASSERT_TRUE(levels.choosePreset(6));
    ASSERT_TRUE(levels.savePreset());
    EXPECT_EQ(sent.messages.back(), *net::SavePreset(2, 6));
}

TEST_F(LightLevelsTest, SavingAndSeekingTurnedOffInTheConfigurationSendNothing) {
    addChannel(2, 1, "A");
    levels.chooseArea(2);
    ASSERT_TRUE(levels.choosePreset(6));
    sent.messages.clear();
    levels.setPermissions({.savePresets = false, .seekChannels = false});
    EXPECT_FALSE(levels.savePreset());
    EXPECT_FALSE(levels.saveToOtherPresets({4, 6}));
    EXPECT_FALSE(levels.startSeek());
    EXPECT_FALSE(levels.seeking());
    EXPECT_TRUE(sent.messages.empty());
    EXPECT_EQ(monitor.countComment(LightLevels::kSaveNote), 0);
    levels.setPermissions({.savePresets = true, .seekChannels = false});
    EXPECT_TRUE(levels.savePreset());
}

TEST_F(LightLevelsTest, ChoosingAPresetSelectsItAndRefreshesWhenAsked) {
    addChannel(2, 1, "A");
    levels.chooseArea(2);
    sent.messages.clear();
    levels.choosePreset(3);
    EXPECT_EQ(sent.hex(), QStringList({test::hexOf(net::GoAreaPreset(2, 3))}));
    EXPECT_EQ(net::toHex(*net::GoAreaPreset(2, 3)).substr(6, 2), "32");  // fade byte 50
    levels.setAutoRefresh(true);
    levels.choosePreset(4);
    EXPECT_EQ(sent.hex().mid(1), QStringList({test::hexOf(net::GoAreaPreset(2, 4)),
                                              test::hexOf(net::RequestlevelofChannel(2, 1))}));
}

TEST_F(LightLevelsTest, ThePresetChoiceFollowsTheArea) {
    addChannel(2, 1, "A");
    levels.chooseArea(2);
    QSignalSpy followed(&levels, &LightLevels::presetChanged);
    network.hear(message({0x1C, 2, 4, 0x62, 0, 0, 0xFF}));
    network.clock.advance(2 * LightLevels::Intervals{}.followPresetMs);
    ASSERT_EQ(followed.count(), 1);
    EXPECT_EQ(followed.at(0).at(0).toInt(), 5);
    EXPECT_EQ(levels.preset(), 5);
}

TEST_F(LightLevelsTest, ChannelDescriptionsReplaceTheRowAndSurviveQuotes) {
    addChannel(2, 1, "Old");
    addChannel(2, 1, "Duplicate");
    levels.chooseArea(2);
    QSignalSpy named(&levels, &LightLevels::channelNamed);
    ASSERT_TRUE(levels.setChannelDescription(1, "Bob's \"desk\""));
    EXPECT_EQ(main.count("SELECT count(*) FROM AreaChannels WHERE Area = 2 AND Channel = 1"), 1);
    EXPECT_EQ(main.exec("SELECT Channelname FROM AreaChannels WHERE Area = 2").toString(), "Bob's \"desk\"");
    EXPECT_EQ(levels.channel(1)->name, "Bob's \"desk\"");
    EXPECT_EQ(named.count(), 1);
    ASSERT_TRUE(levels.setChannelDescription(3, "New"));  // a channel not stored yet is added
    EXPECT_EQ(main.count("SELECT count(*) FROM AreaChannels WHERE Area = 2"), 2);
}

TEST_F(LightLevelsTest, AnUnreadableChannelTableIsSaid) {
    main.exec("DROP TABLE AreaChannels");
    EXPECT_EQ(levels.chooseArea(2), LightLevels::Loaded::Failed);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 1);
    EXPECT_FALSE(levels.setChannelDescription(1, "X"));
}

}  // namespace
}  // namespace qv::reactions
