#include "features/reactions/button_panel.h"
#include "reactions_fixture.h"

#include <QSignalSpy>

namespace qv::reactions {
namespace {

using test::message;

net::RawMessage presetReport(int area, int preset) {
    return message(
        {0x1C, static_cast<std::uint8_t>(area), static_cast<std::uint8_t>(preset - 1), 0x62, 0, 0, 0xFF});
}

class ButtonPanelTest : public ::testing::Test, protected test::Bench {
protected:
    ButtonPanelTest() : panel(main.db, runner, network.state, monitor, network.clock, sent.sender(), 8) {
        network.inbox.addReactions(&panel);
    }

    void addButton(int index, const QString& label, const QVariant& macroId, bool invisible = false) {
        main.exec("INSERT INTO Buttons (ButtonIndex, Buttonlabel, Macro_ID, Invisible) VALUES (?, ?, ?, ?)",
                  {index, label, macroId, invisible ? 1 : 0});
    }
    void addRule(int index, const QVariant& area, const QVariant& preset, const QString& label, int macroId,
                 int colour, const QVariant& customCodeId = test::null()) {
        main.exec(
            "INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, CustomCode_ID, ButtonLabel, Macro_ID,"
            " Colour) VALUES (?, ?, ?, ?, ?, ?, ?)",
            {index, area, preset, customCodeId, label, macroId, colour});
    }
    void start() {
        panel.GetButtonLabels();
        panel.GetButtonChanges();
    }

    ButtonPanel panel;
};

TEST(ButtonCount, FollowsTheConfiguredLayout) {
    for (int n : {4, 8, 12, 18, 24}) EXPECT_EQ(ButtonPanel::buttonCountFor(n), n);
    for (int n : {0, -4, 5, 25, 100}) EXPECT_EQ(ButtonPanel::buttonCountFor(n), 8) << n;
}

TEST_F(ButtonPanelTest, LabelsComeFromTheStoredRowsWithinTheLayout) {
    const int lights = main.addMacro("Lights");
    addButton(1, "Lights", lights);
    addButton(3, "Hidden", lights, true);
    addButton(9, "Beyond the eight", lights);
    addButton(0, "Place zero", lights);
    start();
    EXPECT_EQ(panel.count(), 8);
    EXPECT_EQ(panel.button(1), (ButtonFace{"Lights", std::nullopt, "Lights", false}));
    EXPECT_TRUE(panel.button(3).hidden);
    EXPECT_TRUE(panel.menuItemVisible(1));
    EXPECT_FALSE(panel.menuItemVisible(2));
    EXPECT_EQ(panel.button(9).caption, "");
    EXPECT_EQ(panel.button(0).caption, "");
}

TEST_F(ButtonPanelTest, ARuleChangesTheButtonAndAPressRunsTheRulesMacro) {
    addButton(1, "Start", main.addMacro("Start macro"));
    addRule(1, 3, 2, "Evening", main.addMacro("Evening macro"), 0x0000FF);
    start();
    QSignalSpy changed(&panel, &ButtonPanel::changed);

    network.hear(presetReport(3, 2));
    EXPECT_EQ(panel.button(1), (ButtonFace{"Evening", 0x0000FF, "Evening macro", false}));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(panel.press(1), QString());
    EXPECT_EQ(runner.runs, QStringList({"Evening macro"}));

    // Preset 1 has no rule: the button keeps the rule's state.
    network.hear(presetReport(3, 1));
    EXPECT_EQ(panel.button(1).caption, "Evening");
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ButtonPanelTest, ACustomCodeRuleMatchesWhateverTheCaseAndOthersChangeNothing) {
    addButton(2, "Start", main.addMacro("Start macro"));
    const int code = main.addCustomCode("Doorbell", "1c 0a bc de 00 00 ff 59");
    addRule(2, test::null(), test::null(), "Rang", main.addMacro("Answer"), 0x00FF00, code);
    start();
    QSignalSpy changed(&panel, &ButtonPanel::changed);

    network.hearHex("1C 0A BC DE 00 00 FF 5A");  // a code no rule uses
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(panel.button(2).caption, "Start");

    network.hearHex("1C 0A BC DE 00 00 FF 59");
    EXPECT_EQ(panel.button(2), (ButtonFace{"Rang", 0x00FF00, "Answer", false}));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(ButtonPanelTest, StartUpAsksOncePerTriggerOfAreasNotHeardAndAppliesTheKnownOnes) {
    const int m = main.addMacro("M");
    addButton(1, "One", m);
    addButton(2, "Two", m);
    addRule(1, 3, 1, "3 on", m, 1);
    addRule(1, 3, 2, "3 off", m, 2);
    addRule(2, 3, 2, "3 off too", m, 3);  // the same trigger: no extra request
    addRule(2, 4, 7, "4 seven", m, 4);
    addRule(2, 5, 2, "5 two", m, 5);
    network.hear(presetReport(5, 2));  // heard before the rules were loaded
    start();
    const QStringList expected = {test::hexOf(net::AskforCurrentPreset(3)),
                                  test::hexOf(net::AskforCurrentPreset(3)),
                                  test::hexOf(net::AskforCurrentPreset(4))};
    EXPECT_EQ(sent.hex(), expected);
    EXPECT_EQ(panel.button(2).caption, "5 two");
    EXPECT_EQ(panel.button(1).caption, "One");
    EXPECT_TRUE(panel.isRuleTrigger(3, 1));
    EXPECT_FALSE(panel.isRuleTrigger(3, 3));
}

TEST_F(ButtonPanelTest, WithinOneTriggerTheLastRuleWins) {
    const int m = main.addMacro("M");
    addButton(1, "One", m);
    addRule(1, 3, 2, "first", m, 1);
    addRule(1, 3, 2, "second", main.addMacro("Second"), 2);
    start();
    network.hear(presetReport(3, 2));
    EXPECT_EQ(panel.button(1), (ButtonFace{"second", 2, "Second", false}));
}

TEST_F(ButtonPanelTest, ARuleWhoseMacroIsGoneStillChangesTheCaption) {
    addButton(1, "Start", main.addMacro("Start macro"));
    const int gone = main.addMacro("Gone");
    addRule(1, 3, 2, "Orphan", gone, 0);
    main.exec("DELETE FROM Macros WHERE Macro_ID = ?", {gone});
    start();
    network.hear(presetReport(3, 2));
    EXPECT_EQ(panel.button(1).caption, "Orphan");
    EXPECT_EQ(panel.press(1), ButtonPanel::kNoMacro);
}

TEST_F(ButtonPanelTest, BadRuleRowsAreSkippedWithAWarning) {
    const int m = main.addMacro("M");
    addButton(1, "One", m);
    addRule(1, 999, 2, "far area", m, 0);
    addRule(1, 3, 0, "preset zero", m, 0);
    addRule(30, 3, 2, "beyond the panel", m, 0);
    addRule(1, 3, 2, "fine", m, -5);  // a colour that is no colour: the designed one stays
    start();
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "Warning **"; }), 2);
    network.hear(presetReport(3, 2));
    EXPECT_EQ(panel.button(1), (ButtonFace{"fine", std::nullopt, "M", false}));
    EXPECT_FALSE(panel.isRuleTrigger(3, 0));
    // A level report (preset 0) in area 3 changes nothing.
    network.hear(message({0x1C, 3, 0, 0x60, 0x10, 0, 0xFF}));
    EXPECT_EQ(panel.button(1).caption, "fine");
}

TEST_F(ButtonPanelTest, AnUnreadableRuleTableKeepsTheButtonsAsTheyAre) {
    addButton(1, "One", main.addMacro("M"));
    addRule(1, 3, 2, "rule", main.addMacro("R"), 0);
    start();
    main.exec("DROP TABLE ButtonMultiState");
    main.exec("DROP TABLE Buttons");
    start();
    EXPECT_EQ(panel.button(1).caption, "One");
    EXPECT_TRUE(panel.isRuleTrigger(3, 2));
    network.hear(presetReport(3, 2));  // the rules can not be read: said, not crashed
    EXPECT_EQ(panel.button(1).caption, "One");
    EXPECT_GE(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 3);
}

// A two-state toggle against a simulated network: the button follows what
// the area reports, whoever changed it.
TEST_F(ButtonPanelTest, ATwoStateToggleFollowsTheAreasReports) {
    test::AnsweringNetwork answering(network, sim::NetworkLayout{});
    ButtonPanel toggle(main.db, runner, network.state, monitor, network.clock, answering.sender(), 8);
    network.inbox.addReactions(&toggle);
    const int on = main.addMacro("On");
    const int off = main.addMacro("Off");
    addButton(1, "On", on);
    addRule(1, 3, 1, "Off", off, 0x0000FF);
    addRule(1, 3, 4, "On", on, 0x00FF00);

    toggle.GetButtonLabels();
    toggle.GetButtonChanges();
    EXPECT_EQ(answering.sent.hex(), QStringList({test::hexOf(net::AskforCurrentPreset(3)),
                                                 test::hexOf(net::AskforCurrentPreset(3))}));
    EXPECT_EQ(toggle.button(1).caption, "On");  // nothing heard yet
    answering.deliver();                        // the simulated areas start in preset 1
    EXPECT_EQ(toggle.button(1), (ButtonFace{"Off", 0x0000FF, "Off", false}));

    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(toggle.press(1), QString());
        ASSERT_EQ(runner.runs.back(), "Off");
        answering.sender()(*net::GoAreaPreset(3, 4));  // what the macro "Off" does
        answering.deliver();
        EXPECT_EQ(toggle.button(1), (ButtonFace{"On", 0x00FF00, "On", false}));

        ASSERT_EQ(toggle.press(1), QString());
        ASSERT_EQ(runner.runs.back(), "On");
        answering.sender()(*net::GoAreaPreset(3, 1));
        answering.deliver();
        EXPECT_EQ(toggle.button(1), (ButtonFace{"Off", 0x0000FF, "Off", false}));
    }
}

}  // namespace
}  // namespace qv::reactions
