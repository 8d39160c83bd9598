// Events fire from what the decoder hears, through the real in box.

#include "features/reactions/events.h"
#include "reactions_fixture.h"
#include "support/case_names.h"

namespace qv::reactions {
namespace {

using test::message;

class EventsTest : public ::testing::Test, protected test::Bench {
protected:
    EventsTest() : events(main.db, runner, monitor, network.clock) { network.inbox.addReactions(&events); }

    void load() {
        events.GetAreaPresetEvents();
        events.GetCustomCodeEvents();
    }
    int warnings() const {
        return monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "Warning **"; });
    }

    Events events;
};

struct HeardRow {
    const char* what;
    net::RawMessage heard;
    bool fires;
};

void PrintTo(const HeardRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.what);
}

class EventForms : public EventsTest, public ::testing::WithParamInterface<HeardRow> {};

TEST_P(EventForms, AreaFivePresetThreeFiresOnEveryRepeat) {
    main.addEvent("Lobby", 5, 3, main.addMacro("Lobby on"));
    load();
    network.hear(GetParam().heard);
    network.hear(GetParam().heard);
    EXPECT_EQ(runner.runs, GetParam().fires ? QStringList({"Lobby on", "Lobby on"}) : QStringList())
        << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EventForms,
    ::testing::Values(HeardRow{"preset report", message({0x1C, 5, 2, 0x62, 0, 0, 0xFF}), true},
                      HeardRow{"linear preset", message({0x1C, 5, 2, 0x65, 0, 0, 0xFF}), true},
                      HeardRow{"preset select", message({0x1C, 5, 0x32, 0x02, 0, 0, 0xFF}), true},
                      HeardRow{"preset 3 of another area", message({0x1C, 6, 2, 0x62, 0, 0, 0xFF}), false},
                      HeardRow{"another preset", message({0x1C, 5, 3, 0x62, 0, 0, 0xFF}), false},
                      // Bank 1 of opcode 02 is preset 11, not 3.
                      HeardRow{"preset select bank 1", message({0x1C, 5, 0x32, 0x02, 0, 1, 0xFF}), false},
                      HeardRow{"level report", message({0x1C, 5, 2, 0x60, 0x80, 0, 0xFF}), false}));

TEST_F(EventsTest, AreaZeroSelectFiresOnlyTheAreaZeroEvent) {
    main.addEvent("Everything", 0, 3, main.addMacro("All on"));
    main.addEvent("Lobby", 5, 3, main.addMacro("Lobby on"));
    load();
    network.hear(message({0x1C, 0, 0x32, 0x02, 0, 0, 0xFF}));
    EXPECT_EQ(runner.runs, QStringList({"All on"}));
    EXPECT_EQ(network.state.GetPresetforArea(5), 3);  // the area did change ...
    network.hear(message({0x1C, 5, 2, 0x62, 0, 0, 0xFF}));
    EXPECT_EQ(runner.runs, QStringList({"All on", "Lobby on"}));  // ... and fires when it reports itself
}

TEST_F(EventsTest, CustomCodeStoredInLowerCaseFiresOnUpperCaseBytes) {
    const net::RawMessage code = message({0x1C, 0x0A, 0xBC, 0xDE, 0, 0, 0xFF});
    const QString lower = QString::fromStdString(net::toHex(code)).toLower();
    ASSERT_NE(lower, lower.toUpper());
    main.addEvent("Scene key", test::null(), test::null(), main.addMacro("Scene"),
                  main.addCustomCode("key", "  " + lower + " "));
    load();
    network.hear(code);
    network.hear(code);
    EXPECT_EQ(runner.runs, QStringList({"Scene", "Scene"}));
}

TEST_F(EventsTest, CustomCodeFiresEvenWithABadChecksum) {
    main.addEvent("Odd", test::null(), test::null(), main.addMacro("Odd macro"),
                  main.addCustomCode("odd", "1c 01 02 03 04 05 06 07"));
    load();
    network.hearHex("1C 01 02 03 04 05 06 07 ");
    EXPECT_EQ(runner.runs, QStringList({"Odd macro"}));
}

TEST_F(EventsTest, OneLineFiresTheAreaPresetMacroBeforeTheCustomCodeMacro) {
    const net::RawMessage report = message({0x1C, 5, 2, 0x62, 0, 0, 0xFF});
    main.addEvent("By code", test::null(), test::null(), main.addMacro("Second"),
                  main.addCustomCode("report", QString::fromStdString(net::toHex(report))));
    main.addEvent("By preset", 5, 3, main.addMacro("First"));
    load();
    network.hear(report);
    EXPECT_EQ(runner.runs, QStringList({"First", "Second"}));
}

TEST_F(EventsTest, SharedCustomCodeKeepsTheFirstEventAndWarnsOnce) {
    const int code = main.addCustomCode("key", "1C 0A BC DE 00 00 FF 59");
    const int codeAgain = main.addCustomCode("same key", "1c 0a bc de 00 00 ff 59");
    main.addEvent("First event", test::null(), test::null(), main.addMacro("One"), code);
    main.addEvent("Second event", test::null(), test::null(), main.addMacro("Two"), codeAgain);
    load();
    ASSERT_EQ(warnings(), 1);
    const QString comment = monitor.records.back().comment;
    EXPECT_TRUE(comment.contains("First event") && comment.contains("Second event")) << comment.toStdString();
    EXPECT_EQ(events.customCodeMacro("1C 0A BC DE 00 00 FF 59"), "One");
}

TEST_F(EventsTest, TwoEventsOnOnePresetTheLastReadWins) {
    main.addEvent("Old", 5, 3, main.addMacro("Old macro"));
    main.addEvent("New", 5, 3, main.addMacro("New macro"));
    load();
    EXPECT_EQ(events.areaPresetMacro(5, 3), "New macro");
}

struct BadRow {
    QVariant area;
    QVariant preset;
};

void PrintTo(const BadRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.area, row.preset);
}

class BadEventRows : public EventsTest, public ::testing::WithParamInterface<BadRow> {};

TEST_P(BadEventRows, AreSkippedWithAWarningAndTheRestStillLoad) {
    const int macro = main.addMacro("M");
    main.addEvent("Good before", 1, 1, macro);
    main.addEvent("Bad", GetParam().area, GetParam().preset, macro);
    main.addEvent("Good after", 255, 255, macro);
    load();
    EXPECT_EQ(warnings(), 1);
    EXPECT_TRUE(monitor.records.back().comment.contains("\"Bad\""));
    EXPECT_EQ(events.areaPresetMacro(1, 1), "M");
    EXPECT_EQ(events.areaPresetMacro(255, 255), "M");
    // No stray event anywhere a wrapped number could land.
    EXPECT_EQ(events.areaPresetMacro(0, 0), "");
    EXPECT_EQ(events.areaPresetMacro(44, 0), "");
}

INSTANTIATE_TEST_SUITE_P(Rows, BadEventRows,
                         ::testing::Values(BadRow{300, 3}, BadRow{5, 256}, BadRow{-1, 3}, BadRow{5, 0},
                                           BadRow{QStringLiteral("five"), 3}, BadRow{5, 2.5},
                                           BadRow{70000, 3}));

TEST_F(EventsTest, AnEventWhoseMacroIsGoneFiresNothing) {
    const int gone = main.addMacro("Gone");
    main.addEvent("Orphan preset", 5, 3, gone);
    main.addEvent("Orphan code", test::null(), test::null(), gone,
                  main.addCustomCode("c", "1C 01 02 03 04 05 06 D7"));
    main.exec("DELETE FROM Macros WHERE Macro_ID = ?", {gone});
    load();
    network.hear(message({0x1C, 5, 2, 0x62, 0, 0, 0xFF}));
    network.hearHex("1C 01 02 03 04 05 06 D7");
    EXPECT_TRUE(runner.runs.isEmpty());
    EXPECT_EQ(warnings(), 0);
}

TEST_F(EventsTest, AnUnreadableTableKeepsTheEventsThatWereRunning) {
    main.addEvent("Lobby", 5, 3, main.addMacro("Lobby on"));
    main.addEvent("Key", test::null(), test::null(), main.addMacro("Key macro"),
                  main.addCustomCode("k", "1C 01 02 03 04 05 06 D7"));
    load();
    main.exec("DROP TABLE Events");
    load();
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) { return r.MsgType == "ERROR ***"; }), 2);
    network.hear(message({0x1C, 5, 2, 0x62, 0, 0, 0xFF}));
    network.hearHex("1C 01 02 03 04 05 06 D7");
    EXPECT_EQ(runner.runs, QStringList({"Lobby on", "Key macro"}));
}

}  // namespace
}  // namespace qv::reactions
