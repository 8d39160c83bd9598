#include "editors/light_boxes.h"
#include "features/reactions/reactions_fixture.h"
#include "macros/stored_message.h"
#include "net/builders.h"

namespace qv::editors {
namespace {

class LightBoxesTest : public ::testing::Test {
protected:
    reactions::test::MainDb main;
    LightBoxStore boxes{main.db};
};

TEST_F(LightBoxesTest, ABoxOnSevenToNineBlocksAnotherFromSixToNine) {
    ASSERT_TRUE(boxes.saveBox(1, 5, 7, {"Red", "Green", "Blue"}).done);
    for (int first : {6, 7, 8, 9}) {
        const auto refused = boxes.checkFirstChannel(2, 5, first);
        EXPECT_FALSE(refused.done) << first;
        EXPECT_EQ(refused.icon, reactions::MessageIcon::Information);
    }
    EXPECT_TRUE(boxes.checkFirstChannel(2, 5, 6).message.startsWith(LightBoxStore::kNextTwo));
    EXPECT_TRUE(boxes.checkFirstChannel(2, 5, 8).message.startsWith(LightBoxStore::kUsedPrefix + "1"));
    EXPECT_FALSE(boxes.saveBox(2, 5, 5, {"a", "b", "c"}).done);
    EXPECT_TRUE(boxes.checkFirstChannel(2, 5, 10).done);
    EXPECT_TRUE(boxes.checkFirstChannel(2, 6, 7).done);  // another area
    EXPECT_TRUE(boxes.checkFirstChannel(1, 5, 8).done);  // the box itself may move
    EXPECT_EQ(boxes.boxes().size(), 3u);
}

TEST_F(LightBoxesTest, MovingABoxRewritesTheMessagesOfItsLevels) {
    ASSERT_TRUE(boxes.saveBox(1, 5, 12, {"Colour", "Speed", "Direction"}).done);
    const int third = boxes.boxes()[2].id;
    main.exec(
        "INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, ChannelLevel, ChannelLevelDesc) "
        "VALUES (?, 128, 'Clockwise')",
        {third});
    ASSERT_TRUE(boxes.saveBox(1, 5, 20, {"Colour", "Speed", "Direction"}).done);
    const auto rows = boxes.boxes();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[2].channel, 22);
    ASSERT_EQ(boxes.levels(third).size(), 1u);
    // 1C area channel-1 71 level 00 FF checksum, for channel 22 now.
    const QByteArray stored = main.exec("SELECT CorvalinRS232 FROM CorvalinChannelLevels").toByteArray();
    EXPECT_EQ(stored.left(7).toHex().toUpper(),
              "1C05157180"
              "00FF");
    EXPECT_EQ(stored, macros::storedBytes(*net::ChannelLevelMessage(5, 22, 128)));
}

TEST_F(LightBoxesTest, ALevelIsNamedOncePerChannelAndDeletedByItsLevel) {
    ASSERT_TRUE(boxes.saveBox(1, 5, 7, {"Colour", "Speed", "Direction"}).done);
    EXPECT_EQ(boxes.addLevel(5, 7, "", "Red").message, LightBoxStore::kNeedLevel);
    EXPECT_EQ(boxes.addLevel(5, 7, "256", "Red").message, LightBoxStore::kLevelRange);
    ASSERT_TRUE(boxes.addLevel(5, 7, "33", "O'Brien red").done);
    EXPECT_EQ(boxes.addLevel(5, 7, "33", "Blue").message, LightBoxStore::kLevelTaken);
    EXPECT_EQ(boxes.addLevel(5, 7, "40", "o'brien RED").message, LightBoxStore::kLevelTaken);
    EXPECT_TRUE(boxes.addLevel(5, 8, "33", "Slow").done);  // another channel
    const int id = boxes.channelId(5, 7);
    ASSERT_EQ(boxes.levels(id).size(), 1u);
    EXPECT_EQ(main.exec("SELECT CorvalinRS232 FROM CorvalinChannelLevels WHERE CorvalinLightBox_ID = ?", {id})
                  .toByteArray(),
              macros::storedBytes(*net::ChannelLevelMessage(5, 7, 33)));
    ASSERT_TRUE(boxes.deleteLevel(5, 7, 33).done);
    EXPECT_TRUE(boxes.levels(id).empty());
    EXPECT_EQ(boxes.levels(boxes.channelId(5, 8)).size(), 1u);
    ASSERT_TRUE(boxes.deleteBox(1).done);
    EXPECT_TRUE(boxes.boxes().empty());
}

}  // namespace
}  // namespace qv::editors
