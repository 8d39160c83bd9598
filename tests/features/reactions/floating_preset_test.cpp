#include "features/reactions/floating_preset.h"
#include "reactions_fixture.h"

#include <QSignalSpy>

namespace qv::reactions {
namespace {

using test::message;

class FloatingPresetTest : public ::testing::Test, protected test::Bench {
protected:
    FloatingPresetTest()
        : floating(main.db, network.state, network.names, network.clock, sent.sender(),
                   {200, 1000, 30, 1000}) {
        network.inbox.addReactions(&floating);
        indicator = main.exec("INSERT INTO PlanIndicators (\"Index\", Area) VALUES (1, 4)").toInt();
        for (const auto& [channel, switching] : {std::pair{5, 1}, {2, 1}, {3, 0}, {7, -1}})
            main.exec(
                "INSERT INTO PlanIndicatorChannels (PlanIndicator_ID, Channel, Switching) VALUES (?, ?, ?)",
                {indicator, channel, switching});
        main.exec("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (4, 2, 'Desk')");
    }

    FloatingPreset floating;
    int indicator = 0;
};

TEST_F(FloatingPresetTest, OpensWithTheSwitchingChannelsAndAsksTheirLevels) {
    ASSERT_TRUE(floating.open(indicator));
    EXPECT_EQ(floating.area(), 4);
    ASSERT_EQ(floating.channels().size(), 3u);
    EXPECT_EQ(floating.channels()[0].text, "Channel 2: Desk");
    EXPECT_EQ(floating.channels()[1].text, "Channel 5: ");
    EXPECT_EQ(floating.channels()[2].channel, 7);  // yes stored as -1 by older files
    EXPECT_EQ(floating.channels()[0].levelText, "--");
    EXPECT_EQ(sent.hex(), QStringList({test::hexOf(net::RequestlevelofChannel(4, 2)),
                                       test::hexOf(net::RequestlevelofChannel(4, 5)),
                                       test::hexOf(net::RequestlevelofChannel(4, 7))}));
    EXPECT_FALSE(floating.open(indicator + 100));
    EXPECT_EQ(floating.area(), 0);
}

TEST_F(FloatingPresetTest, OnOffAndLevelActOnTheSelectedChannel) {
    floating.open(indicator);
    sent.messages.clear();
    EXPECT_FALSE(floating.selectChannel(3));  // not a switching channel
    ASSERT_TRUE(floating.selectChannel(5));
    ASSERT_TRUE(floating.on());
    EXPECT_EQ(floating.channels()[1].levelText, "100%");
    ASSERT_TRUE(floating.off());
    EXPECT_EQ(floating.channels()[1].levelText, "0%");
    ASSERT_TRUE(floating.setLevelPercent(40));
    EXPECT_EQ(floating.channels()[1].levelText, "40%");
    EXPECT_EQ(sent.hex(),
              QStringList({test::hexOf(net::ChannelLevelMessage(4, 5, 0x00)),
                           test::hexOf(net::ChannelLevelMessage(4, 5, 0xFF)),
                           test::hexOf(net::ChannelLevelMessage(4, 5, net::levelFromPercent(40)))}));
}

TEST_F(FloatingPresetTest, FlashSwitchesOnAndOffEachTick) {
    floating.open(indicator);
    floating.selectChannel(2);
    sent.messages.clear();
    floating.setFlash(true);
    EXPECT_TRUE(floating.flashing());
    network.clock.advance(4000);
    floating.setFlash(false);
    EXPECT_FALSE(floating.flashing());
    const QString on = test::hexOf(net::ChannelLevelMessage(4, 2, 0x00));
    const QString off = test::hexOf(net::ChannelLevelMessage(4, 2, 0xFF));
    EXPECT_EQ(sent.hex(), QStringList({on, off, on, off}));
}

TEST_F(FloatingPresetTest, RefreshShowsDashesForChannelsThatDidNotAnswer) {
    network.hear(message({0x1C, 4, 6, 0x60, 0x80, 0, 0xFF}));  // channel 7 known from before
    floating.open(indicator);
    EXPECT_EQ(floating.channels()[2].levelText, "50%");
    QSignalSpy caption(&floating, &FloatingPreset::refreshCaptionChanged);
    floating.refresh();
    EXPECT_EQ(floating.refreshCaption(), "wait");
    network.hear(message({0x1C, 4, 1, 0x60, 0x01, 0, 0xFF}));  // channel 2 answers
    network.clock.advance(1000);
    EXPECT_EQ(floating.refreshCaption(), "Refresh");
    EXPECT_EQ(caption.count(), 2);
    EXPECT_EQ(floating.channels()[0].levelText, "100%");
    EXPECT_EQ(floating.channels()[1].levelText, "--");
    EXPECT_EQ(floating.channels()[2].levelText, "--");  // no reply this time
}

TEST_F(FloatingPresetTest, GoSaveAndThePresetCheck) {
    floating.open(indicator);
    sent.messages.clear();
    EXPECT_EQ(floating.presetCheckText(), "no response");
    ASSERT_TRUE(floating.go(3));
    ASSERT_TRUE(floating.savePreset(3));
    EXPECT_EQ(sent.hex(),
              QStringList({test::hexOf(net::GoAreaPreset(4, 3)), test::hexOf(net::SavePreset(4, 3))}));
    network.hear(message({0x1C, 4, 2, 0x62, 0, 0, 0xFF}));
    EXPECT_EQ(floating.presetCheckText(), "Preset 3");
    network.names.setPresetName(4, 3, "Evening");
    EXPECT_EQ(floating.presetCheckText(), "Evening");
}

TEST_F(FloatingPresetTest, LosingFocusClosesItUnlessFocusComesBack) {
    floating.open(indicator);
    QSignalSpy closing(&floating, &FloatingPreset::closeRequested);
    floating.focusLost();
    floating.focusGained();
    network.clock.advance(80);
    EXPECT_EQ(closing.count(), 0);
    floating.focusLost();
    network.clock.advance(30);
    ASSERT_EQ(closing.count(), 1);
    EXPECT_EQ(floating.area(), 0);
    EXPECT_FALSE(floating.on());  // closed: nothing is sent any more
}

}  // namespace
}  // namespace qv::reactions
