// Saving and opening macros: every kind of command line goes to its rows and
// comes back as the same line with its display text; saves replace all rows
// in one transaction and leave no orphans; lines that cannot be stored as
// written are reported without aborting the save.

#include "macro_fixture.h"

#include "macros/macro_lines.h"
#include "macros/macro_store.h"
#include "macros/stored_message.h"
#include "net/message.h"

namespace qv::macros::test {
namespace {

class MacroStoreTest : public MacroDbTest {
protected:
    void SetUp() override {
        MacroDbTest::SetUp();
        store.emplace(*db);
    }

    MacroLines linesOf(const QStringList& commands) {
        MacroLines lines;
        for (const QString& c : commands) lines.append(QString(), c, QStringLiteral("comment of ") + c);
        return lines;
    }

    MacroLines saveAndLoad(const QString& name, const MacroLines& lines, QStringList* messages = nullptr) {
        const SaveReport report = store->SaveMacroLines(name, lines);
        EXPECT_TRUE(report.saved) << report.messages.join(QLatin1Char('\n')).toStdString();
        if (messages) *messages = report.messages;
        const LoadResult loaded = store->LoadMacroLines(name);
        EXPECT_TRUE(loaded.ok()) << loaded.error.toStdString();
        return loaded.lines;
    }

    std::optional<MacroStore> store;
};

TEST_F(MacroStoreTest, SearchFindsMacrosByNameOrLineTextIgnoringCase) {
    const qint64 obrien = addMacro(QStringLiteral("O'Brien's Hall"));
    const qint64 night = addMacro(QStringLiteral("Night"));
    const qint64 plain = addMacro(QStringLiteral("Plain"));
    ASSERT_TRUE(
        store->SaveMacroLines(QStringLiteral("Night"), linesOf({"(ROLLCALL:)O'Brien's check"})).saved);
    ASSERT_TRUE(store->SaveMacroLines(QStringLiteral("Plain"), linesOf({"(DELAY:)5"})).saved);

    EXPECT_EQ(store->findMacros(QStringLiteral("o'brien")), (std::vector<qint64>{obrien, night}));
    EXPECT_EQ(store->findMacros(QStringLiteral("ROLLCALL: O")), std::vector<qint64>{night});
    EXPECT_EQ(store->findMacros(QStringLiteral("delay for 5")), std::vector<qint64>{plain});
    EXPECT_TRUE(store->findMacros(QStringLiteral("comment of")).empty());  // comments are not searched
    EXPECT_TRUE(store->findMacros(QString()).empty());
}

struct RoundTripRow {
    const char* name;
    QString line;
    QString display;
};

void PrintTo(const RoundTripRow& row, std::ostream* out) {
    *out << row.name;
}

class RoundTripTest : public MacroStoreTest, public ::testing::WithParamInterface<RoundTripRow> {
protected:
    void SetUp() override {
        MacroStoreTest::SetUp();
        addMacro(QStringLiteral("Lobby"));
        exec("INSERT INTO AreaNames (Area, AreaName) VALUES (5, 'Foyer')");
        exec("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (5, 2, 'Evening')");
        exec("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (5, 3, 'Downlights')");
        addEmail("Alarm", "a@example.org", "Alarm", "Body");  // Email_ID 1
        addCustomCode("Blinds up", bytes({0x1C, 1, 2, 3, 4, 5, 6, 0xD7}));
        addLightBoxLevel(3, 9, 10, "Colour", 40, "Red",
                         bytes({0x5C, 3, 9, 0x10, 40, 0, 0xFF, 0x1F}));  // level 1
        const qint64 project = addView("Project", 0);
        const qint64 floor = addView("Floor 2", project);
        EXPECT_EQ(floor, 2);
    }
};

TEST_P(RoundTripTest, SavesAndLoadsBackTheSameLineAndItsDisplayText) {
    const RoundTripRow& row = GetParam();
    MacroLines lines;
    lines.append(QString(), row.line, QStringLiteral("a comment with 'quotes'"));
    const MacroLines loaded = saveAndLoad(QStringLiteral("Lobby"), lines);
    ASSERT_EQ(loaded.size(), 1);
    EXPECT_EQ(loaded.commandLines.at(0), row.line);
    EXPECT_EQ(loaded.displayTexts.at(0), row.display);
    EXPECT_EQ(loaded.comments.at(0), QStringLiteral("a comment with 'quotes'"));

    // And saving what was loaded changes nothing.
    const MacroLines again = saveAndLoad(QStringLiteral("Lobby"), loaded);
    EXPECT_EQ(again, loaded);
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, RoundTripTest,
    ::testing::Values(RoundTripRow{"preset named", "(ORVANET:) (AREA:)5 (PRESET:)2 (FADE:)1.5",
                                   "Foyer to Evening over 1.5sec"},
                      RoundTripRow{"preset unnamed", "(ORVANET:) (AREA:)6 (PRESET:)9 (FADE:)10",
                                   "Area 6 to Preset 9 over 10.0sec"},
                      RoundTripRow{"channel named", "(ORVANET:) (AREA:)5 (CHANNEL:)3 (LEVEL:)40 (FADE:)2",
                                   "Foyer, Downlights to 40% over 2.0sec"},
                      RoundTripRow{"channel unnamed", "(ORVANET:) (AREA:)5 (CHANNEL:)4 (LEVEL:)0 (FADE:)0.02",
                                   "Foyer, Channel 4 to 0% over 0.0sec"},
                      RoundTripRow{"delay", "(DELAY:)5430", "Delay for 1 hours 30 mins 30.0 secs "},
                      RoundTripRow{"short delay", "(DELAY:)1.5", "Delay for 1.5 secs "},
                      RoundTripRow{"media", "(WAV:)/srv/sounds/it's (DELAY) time.wav",
                                   "play /srv/sounds/it's (DELAY) time.wav"},
                      RoundTripRow{"roll call", "(ROLLCALL:)Night check", "Rollcall: Night check"},
                      RoundTripRow{"custom code", "(CUSTOM:)Blinds up", "Custom Code:Blinds up"},
                      RoundTripRow{"run", "(SUBMACRO:)O'Brien's \"macro\"", "Run: O'Brien's \"macro\""},
                      RoundTripRow{"cancel", "(CANCELMACRO:)All Macros", "Cancel: All Macros"},
                      RoundTripRow{"enable", "(ENABLEMACRO:)Night", "Enable Macro: Night"},
                      RoundTripRow{"disable", "(DISABLEMACRO:)Night", "Disable Macro: Night"},
                      RoundTripRow{"e-mail", "(EMAIL:)1", "Email: Alarm"},
                      RoundTripRow{"light box", "(CORVALIN:) (LIGHTBOX:)3 (CHANNEL:)10 (LEVEL:)1",
                                   "lightbox #3: 'Colour' to Red"},
                      RoundTripRow{"plan view",
                                   "(PLANVIEW:)Project\\Floor 2(KEY:)2key(FULLPATH:)Project\\Floor 2",
                                   "PlanView Nav:Project\\Floor 2"}));

TEST_F(MacroStoreTest, PresetFadeZeroIsStoredAsOneUnit) {
    const MacroLines loaded = saveAndLoad(
        QStringLiteral("A"), linesOf({QStringLiteral("(ORVANET:) (AREA:)1 (PRESET:)1 (FADE:)0")}));
    EXPECT_DOUBLE_EQ(scalar("SELECT Fade FROM Orvanet").toDouble(), 0.02);
    EXPECT_TRUE(loaded.commandLines.at(0).endsWith(QStringLiteral(" (FADE:)0.02")));
}

TEST_F(MacroStoreTest, StoredMessageIsTheEightBytesOfTheLine) {
    saveAndLoad(QStringLiteral("A"),
                linesOf({QStringLiteral("(ORVANET:) (AREA:)5 (PRESET:)9 (FADE:)10"),
                         QStringLiteral("(ORVANET:) (AREA:)7 (CHANNEL:)3 (LEVEL:)100 (FADE:)2")}));
    QSqlQuery query(db->handle());
    ASSERT_TRUE(query.exec(
        QStringLiteral("SELECT OrvanetRS232, typeof(OrvanetRS232) FROM Orvanet ORDER BY Orvanet_ID")));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(1).toString(), QStringLiteral("blob"));
    EXPECT_EQ(query.value(0).toByteArray(), storedBytes(net::withChecksum({0x1C, 5, 244, 0x00, 1, 1, 0xFF})));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toByteArray(), storedBytes(net::withChecksum({0x1C, 7, 2, 0x72, 0, 2, 0xFF})));
}

TEST_F(MacroStoreTest, SavingTwiceKeepsContentAndOrderAndLeavesNoOrphans) {
    const MacroLines lines = linesOf({QStringLiteral("(ORVANET:) (AREA:)1 (PRESET:)1 (FADE:)1"),
                                      QStringLiteral("(WAV:)/a.wav"), QStringLiteral("(DELAY:)2"),
                                      QStringLiteral("(ORVANET:) (AREA:)1 (CHANNEL:)2 (LEVEL:)50 (FADE:)1"),
                                      QStringLiteral("(WAV:)/b.wav")});
    const MacroLines first = saveAndLoad(QStringLiteral("A"), lines);
    const MacroLines second = saveAndLoad(QStringLiteral("A"), first);

    EXPECT_EQ(second, first);
    EXPECT_EQ(second.commandLines, lines.commandLines);
    EXPECT_EQ(count("MacrosDetails"), 5);
    EXPECT_EQ(count("Orvanet"), 2);
    EXPECT_EQ(count("WAVfiles"), 2);
    EXPECT_EQ(scalar("SELECT count(*) FROM Orvanet WHERE Orvanet_ID NOT IN "
                     "(SELECT Orvanet_ID FROM MacrosDetails WHERE Orvanet_ID IS NOT NULL)")
                  .toInt(),
              0);
    EXPECT_EQ(scalar("SELECT count(*) FROM WAVfiles WHERE WAVfile_ID NOT IN "
                     "(SELECT WAVfile_ID FROM MacrosDetails WHERE WAVfile_ID IS NOT NULL)")
                  .toInt(),
              0);
}

TEST_F(MacroStoreTest, SavingOneMacroLeavesTheOthersAlone) {
    saveAndLoad(QStringLiteral("Other"),
                linesOf({QStringLiteral("(WAV:)/keep.wav"), QStringLiteral("(DELAY:)1")}));
    saveAndLoad(QStringLiteral("A"), linesOf({QStringLiteral("(WAV:)/a.wav")}));
    saveAndLoad(QStringLiteral("A"), linesOf({}));
    EXPECT_EQ(store->LoadMacroLines(QStringLiteral("Other")).lines.commandLines,
              QStringList({QStringLiteral("(WAV:)/keep.wav"), QStringLiteral("(DELAY:)1")}));
    EXPECT_EQ(count("WAVfiles"), 1);
}

TEST_F(MacroStoreTest, NamesAreFoundWhateverTheirLetterCase) {
    addMacro(QStringLiteral("Evening Scene"));
    saveAndLoad(QStringLiteral("EVENING SCENE"), linesOf({QStringLiteral("(DELAY:)3")}));
    EXPECT_EQ(count("Macros"), 1);
    EXPECT_EQ(store->LoadMacroLines(QStringLiteral("evening scene")).lines.size(), 1);
}

TEST_F(MacroStoreTest, UnknownNameGetsANewEnabledMacroAndEmptyNameSavesNothing) {
    saveAndLoad(QStringLiteral("Brand new"), linesOf({QStringLiteral("(DELAY:)1")}));
    EXPECT_EQ(scalar("SELECT Enabled FROM Macros WHERE Macro = 'Brand new'").toInt(), 1);
    EXPECT_EQ(scalar("SELECT SortOrder = Macro_ID FROM Macros WHERE Macro = 'Brand new'").toInt(), 1);

    const SaveReport nothing = store->SaveMacroLines(QString(), linesOf({QStringLiteral("(DELAY:)1")}));
    EXPECT_FALSE(nothing.saved);
    EXPECT_EQ(count("Macros"), 1);
    EXPECT_TRUE(store->LoadMacroLines(QStringLiteral("nobody")).lines.isEmpty());
}

TEST_F(MacroStoreTest, MissingCustomCodeIsStoredWithoutACodeAndReported) {
    QStringList messages;
    const MacroLines loaded =
        saveAndLoad(QStringLiteral("A"),
                    linesOf({QStringLiteral("(CUSTOM:)Gone"), QStringLiteral("(DELAY:)1")}), &messages);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.at(0).contains(QStringLiteral("'Gone'")));
    ASSERT_EQ(loaded.size(), 2);  // the line keeps its place and comment
    EXPECT_EQ(loaded.commandLines.at(0), QString());
    EXPECT_EQ(loaded.comments.at(0), QStringLiteral("comment of (CUSTOM:)Gone"));
    EXPECT_EQ(loaded.commandLines.at(1), QStringLiteral("(DELAY:)1"));
    EXPECT_TRUE(scalar("SELECT CustomCode_ID IS NULL FROM MacrosDetails ORDER BY MacroDetails_ID").toBool());
}

TEST_F(MacroStoreTest, MissingEmailOrLightBoxLevelSkipsThatLineWithTheRelatedRecordMessage) {
    QStringList messages;
    const MacroLines loaded =
        saveAndLoad(QStringLiteral("A"),
                    linesOf({QStringLiteral("(EMAIL:)77"), QStringLiteral("(DELAY:)1"),
                             QStringLiteral("(CORVALIN:) (LIGHTBOX:)1 (CHANNEL:)1 (LEVEL:)99")}),
                    &messages);
    EXPECT_EQ(messages,
              QStringList(2, QStringLiteral("A related record is missing or has been deleted, can not "
                                            "save this macro")));
    EXPECT_EQ(loaded.commandLines, QStringList{QStringLiteral("(DELAY:)1")});
}

TEST_F(MacroStoreTest, ValuesThatDoNotFitAMessageAreRefusedAndTheRestIsSaved) {
    QStringList messages;
    const MacroLines loaded =
        saveAndLoad(QStringLiteral("A"),
                    linesOf({QStringLiteral("(ORVANET:) (AREA:)300 (PRESET:)1 (FADE:)1"),
                             QStringLiteral("(ORVANET:) (AREA:)1 (PRESET:)0 (FADE:)1"),
                             QStringLiteral("(ORVANET:) (AREA:)-1 (CHANNEL:)1 (LEVEL:)5 (FADE:)1"),
                             QStringLiteral("(ORVANET:) (AREA:)1 (CHANNEL:)1 (LEVEL:)-5 (FADE:)1"),
                             QStringLiteral("(DELAY:)-3"), QStringLiteral("(DELAY:)4")}),
                    &messages);
    ASSERT_EQ(messages.size(), 5);
    EXPECT_TRUE(messages.at(0).startsWith(QStringLiteral("Line 1 was not saved: Area 300")));
    EXPECT_TRUE(messages.at(1).startsWith(QStringLiteral("Line 2 was not saved: Preset 0")));
    EXPECT_TRUE(messages.at(2).startsWith(QStringLiteral("Line 3 was not saved: Area -1")));
    EXPECT_TRUE(messages.at(3).startsWith(QStringLiteral("Line 4 was not saved: Level -5")));
    EXPECT_TRUE(messages.at(4).startsWith(QStringLiteral("Line 5 was not saved")));
    EXPECT_EQ(loaded.commandLines, QStringList{QStringLiteral("(DELAY:)4")});
    EXPECT_EQ(count("Orvanet"), 0);
}

TEST_F(MacroStoreTest, LongMacroNamesAreCutToFiftyAndOverlongNumbersToTheirWidth) {
    const QString longName = QString(60, QLatin1Char('N'));
    const MacroLines loaded = saveAndLoad(
        QStringLiteral("A"), linesOf({QStringLiteral("(SUBMACRO:)") + longName,
                                      QStringLiteral("(ORVANET:) (AREA:)0012345 (PRESET:)0017 (FADE:)1")}));
    EXPECT_EQ(loaded.commandLines.at(0), QStringLiteral("(SUBMACRO:)") + QString(50, QLatin1Char('N')));
    // "00123" and "001": area 123, preset 1.
    EXPECT_EQ(loaded.commandLines.at(1), QStringLiteral("(ORVANET:) (AREA:)123 (PRESET:)1 (FADE:)1"));
}

TEST_F(MacroStoreTest, PlanViewKeyWithoutANumberStoresNodeZero) {
    saveAndLoad(QStringLiteral("A"), linesOf({QStringLiteral("(PLANVIEW:)X(KEY:)key5(FULLPATH:)X")}));
    EXPECT_EQ(scalar("SELECT TreeView_ID FROM MacrosDetails").toInt(), 0);
}

TEST_F(MacroStoreTest, LinesWithoutATagKeepOnlyTheirComment) {
    const MacroLines loaded = saveAndLoad(QStringLiteral("A"), linesOf({QStringLiteral("just words")}));
    ASSERT_EQ(loaded.size(), 1);
    EXPECT_EQ(loaded.commandLines.at(0), QString());
    EXPECT_EQ(loaded.displayTexts.at(0), QStringLiteral("(no action)"));
    EXPECT_EQ(loaded.comments.at(0), QStringLiteral("comment of just words"));
}

TEST_F(MacroStoreTest, CommentOfOneLineIsWrittenStraightIntoItsRow) {
    saveAndLoad(QStringLiteral("A"), linesOf({QStringLiteral("(DELAY:)1"), QStringLiteral("(DELAY:)2")}));
    EXPECT_EQ(store->updateLineComment(QStringLiteral("a"), 1, QStringLiteral("it's the second")), QString());
    EXPECT_EQ(store->LoadMacroLines(QStringLiteral("A")).lines.comments,
              QStringList({QStringLiteral("comment of (DELAY:)1"), QStringLiteral("it's the second")}));
    EXPECT_FALSE(store->updateLineComment(QStringLiteral("A"), 2, QStringLiteral("x")).isEmpty());
    EXPECT_FALSE(store->updateLineComment(QStringLiteral("A"), -1, QStringLiteral("x")).isEmpty());
    EXPECT_FALSE(store->updateLineComment(QStringLiteral("nobody"), 0, QStringLiteral("x")).isEmpty());
}

TEST_F(MacroStoreTest, FailedSaveRollsBackAndKeepsTheStoredLines) {
    saveAndLoad(QStringLiteral("A"),
                linesOf({QStringLiteral("(WAV:)/keep.wav"), QStringLiteral("(DELAY:)1")}));
    // A damaged file: the table the preset line needs is gone.
    exec("DROP TABLE Orvanet");
    const SaveReport report = store->SaveMacroLines(
        QStringLiteral("A"),
        linesOf({QStringLiteral("(DELAY:)9"), QStringLiteral("(ORVANET:) (AREA:)1 (PRESET:)1 (FADE:)1")}));
    EXPECT_FALSE(report.saved);
    ASSERT_EQ(report.messages.size(), 1);
    EXPECT_TRUE(report.messages.at(0).contains(QStringLiteral("unchanged")));
    EXPECT_EQ(count("WAVfiles"), 1);
    EXPECT_EQ(scalar("SELECT group_concat(Delay) FROM MacrosDetails").toString(), QStringLiteral("1.0"));
}

TEST_F(MacroStoreTest, DeletedSharedRowsLoadAsEmptyLines) {
    const qint64 email = addEmail("Gone soon", "a@b", "s", "m");
    saveAndLoad(QStringLiteral("A"), linesOf({QStringLiteral("(EMAIL:)%1").arg(email)}));
    exec("DELETE FROM Emails");
    const LoadResult loaded = store->LoadMacroLines(QStringLiteral("A"));
    ASSERT_EQ(loaded.lines.size(), 1);
    EXPECT_EQ(loaded.lines.commandLines.at(0), QString());
}

}  // namespace
}  // namespace qv::macros::test
