// The reactions over the real serial path: the program's serial link, out box
// and in box on one side of a pseudo-terminal, quorvel-sim on the other.

#include "comms/serial_comms.h"
#include "comms/serial_link.h"
#include "features/reactions/button_panel.h"
#include "features/reactions/light_levels.h"
#include "reactions_fixture.h"
#include "support/simulator_link.h"

#include <QEventLoop>
#include <QSettings>
#include <QTimer>

namespace qv::reactions {
namespace {

const QStringList kSmallNetwork = {"--areas", "4", "--channels", "3", "--reply-delay", "1", "--quiet"};

class SimPathTest : public ::testing::Test {
protected:
    SimPathTest()
        : ready(),
          settings(dir.filePath("user.ini"), QSettings::IniFormat),
          inbox(clock, names, state, monitor),
          comms(clock, monitor, inbox, comms::SerialLink::factory(), settings) {
        comms.setReleaseRate(10);
    }

    SendRS232 sender() {
        return [this](const net::RawMessage& m) { comms.sendRS232(m); };
    }

    test::QtAppReady ready;
    QTemporaryDir dir;
    QSettings settings;
    qv::SystemClock clock;
    net::NameTables names;
    net::AreaState state;
    qv::test::RecordingMonitor monitor;
    comms::InBox inbox;
    comms::SerialComms comms;
    test::MainDb main;
    test::FakeRunner runner;
    process::SimulatorProcess sim{QStringLiteral(QUORVEL_SIM_PATH)};
};

// One simulator for both: opening the port takes the program's settling time.
TEST_F(SimPathTest, AToggleButtonFollowsTheAreaAndASeekFindsExactlyItsChannels) {
    ASSERT_TRUE(qv::test::openOnSimulator(sim, comms, kSmallNetwork));

    // A two-state toggle button: starting macro "On"; in preset 1 the area is
    // on, so the button offers "Off"; in preset 4 it offers "On" again.
    ButtonPanel panel(main.db, runner, state, monitor, clock, sender(), 8);
    inbox.addReactions(&panel);
    const int on = main.addMacro("On");
    const int off = main.addMacro("Off");
    main.exec("INSERT INTO Buttons (ButtonIndex, Buttonlabel, Macro_ID) VALUES (1, 'On', ?)", {on});
    main.exec(
        "INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, ButtonLabel, Macro_ID, Colour)"
        " VALUES (1, 3, 1, 'Off', ?, 255), (1, 3, 4, 'On', ?, 65280)",
        {off, on});
    panel.GetButtonLabels();
    panel.GetButtonChanges();  // area 3 is asked; the simulator has it in preset 1
    ASSERT_TRUE(qv::test::waitUntil([&] { return panel.button(1).caption == "Off"; }));
    EXPECT_EQ(panel.button(1).macro, "Off");

    ASSERT_EQ(panel.press(1), QString());
    ASSERT_EQ(runner.runs.back(), "Off");
    comms.sendRS232(*net::GoAreaPreset(3, 4));  // what the macro "Off" sends
    ASSERT_TRUE(qv::test::waitUntil([&] { return panel.button(1).caption == "On"; }));
    EXPECT_EQ(panel.button(1).colour, 65280);

    // Someone else switches the area back on: the button follows.
    comms.sendRS232(*net::GoAreaPreset(3, 1));
    ASSERT_TRUE(qv::test::waitUntil([&] { return panel.button(1).caption == "Off"; }));
    ASSERT_EQ(panel.press(1), QString());
    EXPECT_EQ(runner.runs, QStringList({"Off", "Off"}));

    // The seek of area 2 stores the simulator's three channels and no others.
    LightLevels levels(main.db, state, monitor, clock, sender(), {100, 200, 200, 4});
    inbox.addReactions(&levels);
    ASSERT_EQ(levels.chooseArea(2), LightLevels::Loaded::NoChannels);
    // Run by the event loop itself, as in the program, until the seek ends.
    QEventLoop loop;
    QObject::connect(&levels, &LightLevels::seekingChanged, &loop, [&](bool seeking) {
        if (!seeking) loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit);
    ASSERT_TRUE(levels.startSeek());
    loop.exec();
    ASSERT_FALSE(levels.seeking());
    const std::vector<AreaChannel> expected = {{1, " "}, {2, " "}, {3, " "}};
    EXPECT_EQ(loadAreaChannels(main.db, 2), expected);
    EXPECT_EQ(levels.channels().size(), 3u);
}

}  // namespace
}  // namespace qv::reactions
