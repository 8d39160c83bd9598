// RollCallForm's logic: members, installed devices, actions and their messages.
// An action-less save, a tick without a name and an e-mail action are driven
// through the window (tests/ui/devices/roll_call_window_test.cpp).

#include "features/devices/roll_call_editor.h"
#include "devices_support.h"
#include "features/devices/messages.h"
#include "support/case_names.h"

namespace qv::devices {
namespace {

class RollCallEditorTest : public test::DataFolderTest {
protected:
    RollCallEditorTest() : editor(*main) {
        run(*main, "INSERT INTO DeviceTypes (Device_ID, Device, DeviceOpCode) VALUES (1, 'Dimmer', '20')");
    }
    int count(const QString& table) { return scalar(*main, "SELECT count(*) FROM " + table).toInt(); }

    RollCallEditor editor;
};

struct ActionsCase {
    const char* name;
    bool macroCheck;
    const char* macro;
    bool emailCheck;
    const char* recipients;
    const QString* message;  // nullptr: saved
};

void PrintTo(const ActionsCase& row, std::ostream* os) {
    const bool blankMacro = QString::fromUtf8(row.macro).trimmed().isEmpty();
    *os << qv::test::caseName(row.name,
                              !row.macroCheck ? "nomacro"
                              : blankMacro    ? "blankmacro"
                                              : row.macro,
                              !row.emailCheck   ? "noemail"
                              : *row.recipients ? row.recipients
                                                : "blankemail");
}

class SaveActionsTest : public RollCallEditorTest, public ::testing::WithParamInterface<ActionsCase> {};

TEST_P(SaveActionsTest, ChecksInTheWindowsOrder) {
    const ActionsCase& c = GetParam();
    const store::Outcome outcome =
        editor.saveActions(QString::fromUtf8(c.name), c.macroCheck, QString::fromUtf8(c.macro), c.emailCheck,
                           QString::fromUtf8(c.recipients));
    if (c.message) {
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, *c.message);
        EXPECT_EQ(count("RollCallActions"), 0);
    } else {
        EXPECT_TRUE(outcome.ok) << outcome.message.toStdString();
        EXPECT_EQ(count("RollCallActions"), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Fields, SaveActionsTest,
                         ::testing::Values(ActionsCase{"", true, "Alarm", true, "ops",
                                                       &msg::kSelectRollCallName},
                                           ActionsCase{"Lobby", true, " ", true, "ops", &msg::kNoMacroChosen},
                                           ActionsCase{"Lobby", true, "Alarm", true, "", &msg::kNoRecipient},
                                           ActionsCase{"Lobby", true, "Alarm", false, "", nullptr}));

TEST_F(RollCallEditorTest, SavingActionsReplacesTheRowAndStoresUntickedActionsEmpty) {
    ASSERT_TRUE(editor.saveActions("Lobby", true, "Alarm", true, "ops@example.com").ok);
    ASSERT_TRUE(editor.saveActions("Lobby", false, "Alarm", true, "boss@example.com").ok);
    EXPECT_EQ(count("RollCallActions"), 1);
    const auto actions = editor.actions("Lobby");
    ASSERT_TRUE(actions);
    EXPECT_EQ(actions->emailRecipients, "boss@example.com");
    EXPECT_EQ(actions->MacrotoRun, "");
}

TEST_F(RollCallEditorTest, ActionsForANameThatCannotBeAFileAreRefused) {
    const store::Outcome outcome = editor.saveActions("../x", true, "Alarm", false, "");
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(outcome.message.contains("cannot be run"));
}

TEST_F(RollCallEditorTest, TickingTwiceKeepsOneRow) {
    ASSERT_TRUE(editor.setMember("Lobby", 1, 18, true).ok);
    ASSERT_TRUE(editor.setMember("Lobby", 1, 18, true).ok);
    ASSERT_TRUE(editor.setMember("Lobby", 1, 7, true).ok);
    EXPECT_EQ(editor.members("Lobby"), (std::vector<MemberKey>{{1, 18}, {1, 7}}));
    ASSERT_TRUE(editor.setMember("Lobby", 1, 18, false).ok);
    EXPECT_EQ(editor.members("Lobby"), (std::vector<MemberKey>{{1, 7}}));
}

TEST_F(RollCallEditorTest, InstalledDevicesAreCheckedAndDeletingOneTakesItOutOfRollCalls) {
    EXPECT_EQ(editor.addInstalledDevice(1, "256", "x").message, msg::kBoxRange);
    EXPECT_EQ(editor.addInstalledDevice(1, "ten", "x").message, msg::kBoxRange);
    EXPECT_EQ(editor.addInstalledDevice(9, "10", "x").message, msg::kNoSuchDeviceType);
    ASSERT_TRUE(editor.addInstalledDevice(1, "18", "Dimmer rack").ok);
    EXPECT_EQ(editor.addInstalledDevice(1, "18", "again").message, msg::kDeviceAlreadyInstalled);
    ASSERT_TRUE(editor.addInstalledDevice(1, "7", "Plant").ok);
    const auto devices = editor.installedDevices();
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].box, 7);
    EXPECT_EQ(devices[0].device, "Dimmer");

    ASSERT_TRUE(editor.setMember("Lobby", 1, 18, true).ok);
    ASSERT_TRUE(editor.setMember("Roof", 1, 18, true).ok);
    ASSERT_TRUE(editor.setMember("Roof", 1, 7, true).ok);
    ASSERT_TRUE(editor.deleteInstalledDevice(1, 18).ok);
    EXPECT_EQ(count("DevicesInstalled"), 1);
    EXPECT_TRUE(editor.members("Lobby").empty());
    EXPECT_EQ(editor.members("Roof"), (std::vector<MemberKey>{{1, 7}}));
}

TEST_F(RollCallEditorTest, DeletingARollCallRemovesItsMembersAndActionsOnly) {
    ASSERT_TRUE(editor.setMember("Lobby", 1, 18, true).ok);
    ASSERT_TRUE(editor.saveActions("Lobby", true, "Alarm", false, "").ok);
    ASSERT_TRUE(editor.setMember("Roof", 1, 18, true).ok);
    ASSERT_TRUE(editor.saveActions("Night", true, "Alarm", false, "").ok);
    EXPECT_EQ(editor.rollCallNames(), (QStringList{"Lobby", "Night", "Roof"}));
    ASSERT_TRUE(editor.deleteRollCall("Lobby").ok);
    EXPECT_EQ(editor.rollCallNames(), (QStringList{"Night", "Roof"}));
    EXPECT_EQ(count("RollCall"), 1);
    EXPECT_EQ(count("RollCallActions"), 1);
}

}  // namespace
}  // namespace qv::devices
