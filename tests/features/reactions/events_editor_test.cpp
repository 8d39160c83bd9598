#include "features/reactions/events_editor.h"
#include "features/reactions/events.h"
#include "reactions_fixture.h"
#include "support/case_names.h"

namespace qv::reactions {
namespace {

using test::message;

class EventsEditorTest : public ::testing::Test, protected test::Bench {
protected:
    EventsEditorTest() : events(main.db, runner, monitor, network.clock), editor(main.db, events) {
        network.inbox.addReactions(&events);
        lobbyOn = main.addMacro("Lobby on");
        keyCode = main.addCustomCode("Key", "1c 0a bc de 00 00 ff 59");
    }
    int eventRows() { return main.count("SELECT count(*) FROM Events"); }

    Events events;
    EventsEditor editor;
    int lobbyOn = 0;
    int keyCode = 0;
};

struct SaveRow {
    const char* what;
    EventDraft draft;  // a macro id of -1 stands for the real one
    bool saved;
    const QString* message;
    MessageIcon icon;
};

void PrintTo(const SaveRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.what);
}

class SaveChecks : public EventsEditorTest, public ::testing::WithParamInterface<SaveRow> {};

TEST_P(SaveChecks, RefuseWithTheRightMessageAndStoreNothing) {
    EventDraft draft = GetParam().draft;
    if (draft.macroId == -1) draft.macroId = lobbyOn;
    if (draft.customCodeId == -1) draft.customCodeId = keyCode;
    const EditorResult result = editor.save(draft);
    EXPECT_EQ(result.done, GetParam().saved) << GetParam().what;
    EXPECT_EQ(result.message, GetParam().message ? *GetParam().message : QString()) << GetParam().what;
    EXPECT_EQ(result.icon, GetParam().icon) << GetParam().what;
    EXPECT_EQ(eventRows(), GetParam().saved ? 1 : 0) << GetParam().what;
}

const QString* const kName = &EventsEditor::kNeedName;
const QString* const kChoices = &EventsEditor::kNeedChoices;

INSTANTIATE_TEST_SUITE_P(
    Rows, SaveChecks,
    ::testing::Values(
        SaveRow{"no name", {"", 5, 3, -1, {}}, false, kName, MessageIcon::Information},
        SaveRow{"blank name", {"   ", 5, 3, -1, {}}, false, kName, MessageIcon::Information},
        SaveRow{"no macro", {"E", 5, 3, {}, {}}, false, kChoices, MessageIcon::Critical},
        SaveRow{"area without preset", {"E", 5, {}, -1, {}}, false, kChoices, MessageIcon::Critical},
        SaveRow{"preset without area", {"E", {}, 3, -1, {}}, false, kChoices, MessageIcon::Critical},
        SaveRow{"area out of range", {"E", 256, 3, -1, {}}, false, kChoices, MessageIcon::Critical},
        SaveRow{"custom code without macro", {"E", {}, {}, {}, -1}, false, kChoices, MessageIcon::Critical},
        SaveRow{"area 0", {"E", 0, 3, -1, {}}, true, nullptr, MessageIcon::None},
        SaveRow{"custom code only", {"E", {}, {}, -1, -1}, true, nullptr, MessageIcon::None}));

TEST_F(EventsEditorTest, SavedEventFiresAtOnceAndAnEditReplacesIt) {
    ASSERT_TRUE(editor.save({"Lobby", 5, 3, lobbyOn, {}}).done);
    network.hear(message({0x1C, 5, 2, 0x62, 0, 0, 0xFF}));
    EXPECT_EQ(runner.runs, QStringList({"Lobby on"}));

    // The same name in other letters is the same event.
    ASSERT_TRUE(editor.save({"LOBBY", 5, 4, lobbyOn, {}}).done);
    EXPECT_EQ(eventRows(), 1);
    network.hear(message({0x1C, 5, 2, 0x62, 0, 0, 0xFF}));
    network.hear(message({0x1C, 5, 3, 0x62, 0, 0, 0xFF}));
    EXPECT_EQ(runner.runs, QStringList({"Lobby on", "Lobby on"}));
}

TEST_F(EventsEditorTest, HalfAnAreaPresetIsStoredAsNeither) {
    ASSERT_TRUE(editor.save({"Key", 5, {}, lobbyOn, keyCode}).done);
    EXPECT_EQ(editor.choose("KEY"), (EventDraft{"Key", {}, {}, lobbyOn, keyCode}));
    EXPECT_EQ(editor.choose("Nobody"), std::nullopt);
    EXPECT_EQ(main.count("SELECT count(*) FROM Events WHERE Area IS NULL AND Preset IS NULL"), 1);
}

TEST_F(EventsEditorTest, DeletingTheLastEventOfACodeStopsItAtOnce) {
    const QString name = "Bob's \"key\"; DROP TABLE Events; --";
    ASSERT_TRUE(editor.save({name, {}, {}, lobbyOn, keyCode}).done);
    ASSERT_TRUE(editor.save({"Other", 5, 3, lobbyOn, {}}).done);
    network.hearHex("1C 0A BC DE 00 00 FF 59");
    ASSERT_EQ(runner.runs.size(), 1);

    ASSERT_TRUE(editor.remove(name).done);
    network.hearHex("1C 0A BC DE 00 00 FF 59");
    EXPECT_EQ(runner.runs.size(), 1);
    EXPECT_EQ(editor.eventNames(), QStringList({"Other"}));
}

TEST_F(EventsEditorTest, ListsShowNumbersAndNames) {
    main.exec("INSERT INTO AreaNames (Area, AreaName) VALUES (5, 'Lobby')");
    main.exec("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (5, 3, 'Evening')");
    main.addMacro("Alpha");
    const auto areas = editor.areas();
    ASSERT_EQ(areas.size(), 256u);
    EXPECT_EQ(areas[0], (Choice{"0", 0}));
    EXPECT_EQ(areas[5], (Choice{"5  Lobby", 5}));
    const auto presets = editor.presets(5);
    ASSERT_EQ(presets.size(), 96u);
    EXPECT_EQ(presets[2], (Choice{"3  Evening", 3}));
    EXPECT_EQ(editor.presets(6)[2], (Choice{"3", 3}));
    const auto macros = editor.macros();
    ASSERT_EQ(macros.size(), 2u);
    EXPECT_EQ(macros[0].text, "Alpha");
    EXPECT_EQ(editor.customCodes(), (std::vector<Choice>{{"Key", keyCode}}));
}

TEST_F(EventsEditorTest, AStoreFailureIsACriticalMessageNotACrash) {
    ASSERT_TRUE(editor.save({"Lobby", 5, 3, lobbyOn, {}}).done);
    main.exec("DROP TABLE Events");
    const EditorResult saved = editor.save({"Lobby", 5, 4, lobbyOn, {}});
    EXPECT_FALSE(saved.done);
    EXPECT_EQ(saved.icon, MessageIcon::Critical);
    EXPECT_TRUE(saved.message.startsWith("The event could not be saved")) << saved.message.toStdString();
    EXPECT_FALSE(editor.remove("Lobby").done);
    EXPECT_THROW(editor.eventNames(), store::StoreError);
}

}  // namespace
}  // namespace qv::reactions
