#include "features/reactions/button_editor.h"
#include "features/reactions/button_panel.h"
#include "reactions_fixture.h"
#include "support/case_names.h"

namespace qv::reactions {
namespace {

class ButtonEditorTest : public ::testing::Test, protected test::Bench {
protected:
    ButtonEditorTest()
        : panel(main.db, runner, network.state, monitor, network.clock, sent.sender(), 8),
          editor(main.db, panel) {
        network.inbox.addReactions(&panel);
        macro = main.addMacro("Lights");
    }
    int rows(const QString& table) { return main.count("SELECT count(*) FROM " + table); }

    ButtonPanel panel;
    ButtonEditor editor;
    int macro = 0;
};

TEST_F(ButtonEditorTest, SaveAddsThenUpdatesOneRowAndThePanelFollows) {
    ASSERT_TRUE(editor.save(2, {"Lights", false, macro}).done);
    EXPECT_EQ(panel.button(2).caption, "Lights");
    ASSERT_TRUE(editor.save(2, {"Lamps", true, std::nullopt}).done);
    EXPECT_EQ(rows("Buttons"), 1);
    EXPECT_EQ(editor.load(2), (ButtonDraft{"Lamps", true, std::nullopt}));
    EXPECT_EQ(panel.button(2), (ButtonFace{"Lamps", std::nullopt, "", true}));
    EXPECT_EQ(editor.load(3), std::nullopt);
}

TEST_F(ButtonEditorTest, SavingAppliesTheRulesOfPresetsAlreadyHeard) {
    network.hear(test::message({0x1C, 3, 1, 0x62, 0, 0, 0xFF}));  // area 3 in preset 2
    ASSERT_TRUE(editor.addRule(1, {"Evening", macro, 3, 2, std::nullopt, 0x123456}).done);
    EXPECT_EQ(panel.button(1).caption, "");  // rules take effect when the button is saved
    ASSERT_TRUE(editor.save(1, {"Day", false, macro}).done);
    EXPECT_EQ(panel.button(1), (ButtonFace{"Evening", 0x123456, "Lights", false}));
    EXPECT_TRUE(sent.messages.empty());  // area 3 has been heard: nothing to ask
}

struct RuleRow {
    const char* what;
    RuleDraft draft;
    const QString* message;
};

void PrintTo(const RuleRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.what);
}

class RuleChecks : public ButtonEditorTest, public ::testing::WithParamInterface<RuleRow> {};

TEST_P(RuleChecks, RefuseWithTheRightMessage) {
    RuleDraft draft = GetParam().draft;
    if (draft.macroId == -1) draft.macroId = macro;
    const EditorResult result = editor.addRule(1, draft);
    EXPECT_EQ(result.done, GetParam().message == nullptr) << GetParam().what;
    EXPECT_EQ(result.message, GetParam().message ? *GetParam().message : QString()) << GetParam().what;
    EXPECT_EQ(rows("ButtonMultiState"), GetParam().message ? 0 : 1) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RuleChecks,
    ::testing::Values(RuleRow{"no label", {"", -1, 3, 2, {}, 0}, &ButtonEditor::kNeedLabel},
                      RuleRow{"blank label", {"  ", -1, 3, 2, {}, 0}, &ButtonEditor::kNeedLabel},
                      RuleRow{"no macro", {"Off", {}, 3, 2, {}, 0}, &ButtonEditor::kNeedMacro},
                      RuleRow{"no trigger", {"Off", -1, 3, {}, {}, 0}, &ButtonEditor::kNeedTrigger},
                      RuleRow{"preset out of range", {"Off", -1, 3, 300, {}, 0}, &ButtonEditor::kNeedTrigger},
                      RuleRow{"area and preset", {"Off", -1, 3, 2, {}, 0}, nullptr},
                      RuleRow{"custom code", {"Off", -1, {}, {}, 7, 0}, nullptr}));

TEST_F(ButtonEditorTest, TheGridNamesTriggersAndDeletesByLine) {
    main.exec("INSERT INTO AreaNames (Area, AreaName) VALUES (3, 'Hall')");
    main.exec("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (3, 2, 'Evening')");
    const int code = main.addCustomCode("Doorbell", "1C 0A BC DE 00 00 FF 59");
    ASSERT_TRUE(editor.addRule(1, {"A", macro, 3, 2, std::nullopt, 1}).done);
    ASSERT_TRUE(editor.addRule(1, {"B", macro, 4, 7, std::nullopt, 2}).done);
    ASSERT_TRUE(editor.addRule(1, {"C", macro, std::nullopt, std::nullopt, code, 3}).done);
    ASSERT_TRUE(editor.addRule(2, {"Other button", macro, 3, 2, std::nullopt, 4}).done);

    const std::vector<RuleLine> lines = editor.rules(1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].trigger, "Area 3 (Hall) to Preset 2 (Evening)");
    EXPECT_EQ(lines[1].trigger, "Area 4 to Preset 7");
    EXPECT_EQ(lines[2].trigger, "Custom Code: Doorbell");
    EXPECT_EQ(lines[0].label, "A");
    EXPECT_EQ(lines[0].macro, "Lights");
    EXPECT_EQ(lines[2].colour, 3);

    ASSERT_TRUE(editor.deleteRule(lines[1].id).done);
    EXPECT_EQ(editor.rules(1).size(), 2u);
    EXPECT_EQ(editor.rules(2).size(), 1u);
}

TEST_F(ButtonEditorTest, RemovingAButtonTakesItsRulesAndNoOthers) {
    ASSERT_TRUE(editor.save(1, {"One", false, macro}).done);
    ASSERT_TRUE(editor.save(2, {"Two", false, macro}).done);
    ASSERT_TRUE(editor.addRule(1, {"A", macro, 3, 2, std::nullopt, 0}).done);
    ASSERT_TRUE(editor.addRule(2, {"B", macro, 3, 2, std::nullopt, 0}).done);
    ASSERT_TRUE(editor.removeButton(1).done);
    EXPECT_EQ(panel.button(1).caption, "");
    EXPECT_EQ(panel.button(2).caption, "Two");
    EXPECT_EQ(rows("ButtonMultiState"), 1);
    EXPECT_EQ(editor.rules(2).size(), 1u);
}

TEST_F(ButtonEditorTest, PlacesOutsideThePanelAndStoreFailuresAreRefused) {
    EXPECT_FALSE(editor.save(0, {"X", false, macro}).done);
    EXPECT_FALSE(editor.save(25, {"X", false, macro}).done);
    EXPECT_EQ(rows("Buttons"), 0);
    ASSERT_TRUE(editor.save(1, {"One", false, macro}).done);
    main.exec("DROP TABLE ButtonMultiState");
    const EditorResult result = editor.addRule(1, {"A", macro, 3, 2, std::nullopt, 0});
    EXPECT_FALSE(result.done);
    EXPECT_EQ(result.icon, MessageIcon::Critical);
    EXPECT_FALSE(editor.removeButton(1).done);
    EXPECT_EQ(rows("Buttons"), 1);  // half a delete is rolled back
}

}  // namespace
}  // namespace qv::reactions
