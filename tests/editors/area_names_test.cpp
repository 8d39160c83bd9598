#include "editors/area_names.h"
#include "features/reactions/reactions_fixture.h"

namespace qv::editors {
namespace {

class AreaNamesTest : public ::testing::Test {
protected:
    reactions::test::MainDb main;
    AreaNames names{main.db};
};

TEST_F(AreaNamesTest, TheNameCheckFollowsTheRuleAndItsTwoMessages) {
    EXPECT_EQ(AreaNames::checkName("Foyer 2"), QString());
    EXPECT_EQ(AreaNames::checkName("O'Brien's \"big\" Office"), QString());
    EXPECT_EQ(AreaNames::checkName("2nd Floor"), AreaNames::kBadName);
    EXPECT_EQ(AreaNames::checkName("Board-room"), AreaNames::kBadName);
    EXPECT_EQ(AreaNames::checkName("   "), AreaNames::kBlankName);
    EXPECT_EQ(AreaNames::checkName(""), AreaNames::kBlankName);
    // A refused name stores nothing.
    EXPECT_FALSE(names.nameArea(4, "Board-room").done);
    EXPECT_TRUE(names.areas().empty());
}

TEST_F(AreaNamesTest, NamingAddsThenRenamesOneRowAndPresetsNeedANamedArea) {
    auto refused = names.namePreset(6, 1, "On Full");
    EXPECT_FALSE(refused.done);
    EXPECT_EQ(refused.message, AreaNames::kNameAreaFirst);
    ASSERT_TRUE(names.nameArea(6, "Freds Office  ").done);
    ASSERT_TRUE(names.nameArea(6, "O'Brien's Office").done);
    EXPECT_EQ(names.areas(), (std::vector<NameRow>{{6, "O'Brien's Office"}}));
    ASSERT_TRUE(names.namePreset(6, 1, "On Full").done);
    ASSERT_TRUE(names.namePreset(6, 1, "Fred's \"big\" room").done);
    EXPECT_EQ(names.presets(6), (std::vector<NameRow>{{1, "Fred's \"big\" room"}}));
    // Deleting the area's name keeps its preset names.
    ASSERT_TRUE(names.deleteArea(6).done);
    EXPECT_TRUE(names.areas().empty());
    EXPECT_EQ(names.presets(6).size(), 1u);
    ASSERT_TRUE(names.deletePreset(6, 1).done);
    EXPECT_TRUE(names.presets(6).empty());
}

TEST_F(AreaNamesTest, ApplyToAllFillsOnlyNamedAreasThatLackThePreset) {
    for (int area : {1, 2, 3}) ASSERT_TRUE(names.nameArea(area, "Room " + QString::number(area)).done);
    ASSERT_TRUE(names.namePreset(1, 1, "On Full").done);
    ASSERT_TRUE(names.namePreset(2, 1, "Bright").done);
    main.exec(
        "INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (9, 2, 'Dim')");  // area 9 is unnamed
    ASSERT_TRUE(names.applyToAll(1, 1).done);
    EXPECT_EQ(names.presets(1), (std::vector<NameRow>{{1, "On Full"}}));
    EXPECT_EQ(names.presets(2), (std::vector<NameRow>{{1, "Bright"}}));
    EXPECT_EQ(names.presets(3), (std::vector<NameRow>{{1, "On Full"}}));
    EXPECT_EQ(names.presets(9), (std::vector<NameRow>{{2, "Dim"}}));
    EXPECT_EQ(names.presets(4), std::vector<NameRow>{});
    EXPECT_EQ(main.count("SELECT count(*) FROM PresetNames"), 4);
}

}  // namespace
}  // namespace qv::editors
