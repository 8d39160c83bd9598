#include "features/reactions/direct_control.h"
#include "reactions_fixture.h"

#include <QSignalSpy>

namespace qv::reactions {
namespace {

class DirectControlTest : public ::testing::Test, protected test::Bench {
protected:
    DirectControlTest()
        : control(main.db, network.state, network.names, monitor, network.clock, runner, sent.sender(),
                  [this](const QString& name, bool on) { enabled.emplace_back(name, on); }) {}

    const store::MonitorRecord* directRecord() const {
        for (const auto& r : monitor.records)
            if (r.MsgType == "Direct Control") return &r;
        return nullptr;
    }

    std::vector<std::pair<QString, bool>> enabled;
    DirectControl control;
};

TEST_F(DirectControlTest, ChoosingAnAreaAsksItForItsPreset) {
    QSignalSpy status(&control, &DirectControl::statusTextChanged);
    ASSERT_TRUE(control.chooseArea(5));
    EXPECT_EQ(sent.hex(), QStringList({test::hexOf(net::AskforCurrentPreset(5))}));
    EXPECT_EQ(control.statusText(), "...requesting");
    EXPECT_EQ(status.count(), 1);
    EXPECT_FALSE(control.chooseArea(256));
    EXPECT_EQ(sent.messages.size(), 1u);
}

TEST_F(DirectControlTest, ThePresetCheckNamesWhatItCan) {
    control.chooseArea(5);
    network.clock.advance(DirectControl::kCheckPresetMs);
    EXPECT_EQ(control.statusText(), "no response...");

    network.hear(test::message({0x1C, 5, 2, 0x62, 0, 0, 0xFF}));
    network.clock.advance(DirectControl::kCheckPresetMs);
    EXPECT_EQ(control.statusText(), "Area 5 is currently in preset 3\nArea 5 is set to Preset 3");

    network.names.setAreaName(5, "Lobby");
    network.names.setPresetName(5, 3, "Evening");
    network.clock.advance(DirectControl::kCheckPresetMs);
    EXPECT_EQ(control.statusText(), "Area 5 is currently in preset 3\nLobby is set to Evening");
}

TEST_F(DirectControlTest, SendingLeavesARecordThenSelectsThePreset) {
    EXPECT_FALSE(control.send(3));  // no area yet
    EXPECT_TRUE(sent.messages.empty());
    EXPECT_EQ(directRecord(), nullptr);

    control.chooseArea(5);
    ASSERT_TRUE(control.send(3));
    ASSERT_EQ(sent.messages.size(), 2u);
    EXPECT_EQ(sent.messages.back(), *net::GoAreaPreset(5, 3));
    const store::MonitorRecord* record = directRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->comment, "Direct Control issues Area/Preset");
    EXPECT_EQ(record->area, "5");
    EXPECT_EQ(record->Preset, "3");
    EXPECT_EQ(record->DateTime, "2024-03-05 10:30:00");
    EXPECT_FALSE(control.send(0));
    EXPECT_EQ(sent.messages.size(), 2u);
}

TEST_F(DirectControlTest, RunningAMacroLeavesARecordAndCuesIt) {
    control.runMacro("Night");
    EXPECT_EQ(runner.runs, QStringList({"Night"}));
    const store::MonitorRecord* record = directRecord();
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->comment, "Direct Control issues Macro");
    EXPECT_EQ(record->Macro, "Night");
}

TEST_F(DirectControlTest, TheEnabledMarkIsReadFromTheStoreAndChangedThroughTheMacroEngine) {
    main.addMacro("Night");
    main.exec("INSERT INTO Macros (Macro, Enabled) VALUES ('Off duty', 0)");
    EXPECT_EQ(control.macroEnabled("night"), true);
    EXPECT_EQ(control.macroEnabled("Off duty"), false);
    EXPECT_EQ(control.macroEnabled("O'Brien"), std::nullopt);
    control.setMacroEnabled("Night", false);
    ASSERT_EQ(enabled.size(), 1u);
    EXPECT_EQ(enabled[0], std::make_pair(QStringLiteral("Night"), false));
}

TEST_F(DirectControlTest, PresetsAreListedWithOneSpaceBeforeTheName) {
    main.exec("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (5, 3, 'Evening')");
    const auto presets = control.presets(5);
    ASSERT_EQ(presets.size(), 96u);
    EXPECT_EQ(presets[2].text, "3 Evening");
    EXPECT_EQ(presets[3].text, "4");
}

}  // namespace
}  // namespace qv::reactions
