// Building lines from the editor's inputs: delay normalisation and its
// 99-hour limit, the fade and level clamps, refused values, list choices and
// the placement of a new line before the selected one.

#include "macro_fixture.h"

#include "macros/line_builder.h"
#include "macros/macro_lines.h"
#include "support/case_names.h"

namespace qv::macros::test {
namespace {

struct DelayRow {
    const char* hours;
    const char* minutes;
    const char* seconds;
    const char* line;   // nullptr: refused
    const char* boxes;  // the three boxes afterwards, "h|m|s"
};

void PrintTo(const DelayRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.hours, row.minutes, row.seconds);
}

class DelayEntryTest : public ::testing::TestWithParam<DelayRow> {};

TEST_P(DelayEntryTest, NormalisesOrRefuses) {
    const DelayRow& row = GetParam();
    const DelayEntry entry = buildDelayLine(row.hours, row.minutes, row.seconds);
    if (!row.line) {
        EXPECT_FALSE(entry.built.added());
        EXPECT_FALSE(entry.built.message.isEmpty());
        return;
    }
    ASSERT_TRUE(entry.built.added()) << entry.built.message.toStdString();
    EXPECT_EQ(entry.built.lines, QStringList{QString::fromLatin1(row.line)});
    EXPECT_EQ(QStringList({entry.hoursBox, entry.minutesBox, entry.secondsBox}).join(QLatin1Char('|')),
              QString::fromLatin1(row.boxes));
}

INSTANTIATE_TEST_SUITE_P(Rows, DelayEntryTest,
                         ::testing::Values(DelayRow{"0", "90", "30", "(DELAY:)5430", "1|30|30.0"},
                                           DelayRow{"99", "0", "0", "(DELAY:)356400", "99|0|0.0"},
                                           DelayRow{"0", "0", "356400", "(DELAY:)356400", "99|0|0.0"},
                                           DelayRow{"0", "0", "356400.1", nullptr, ""},
                                           DelayRow{"99", "0", "1", nullptr, ""},
                                           DelayRow{"", "", "1.5", "(DELAY:)1.5", "0|0|1.5"},
                                           DelayRow{"1h", "2 0", "x", "(DELAY:)4800", "1|20|0.0"},
                                           DelayRow{"0", "0", "-5", nullptr, ""}));

TEST(DelayEntry, TooLongGivesTheTwoLineMessage) {
    const DelayEntry entry = buildDelayLine("100", "0", "0");
    EXPECT_EQ(entry.built.message,
              QStringLiteral("You can not enter a total delay time longer than 99 hours\n"
                             "Please break your required delay into smaller multiples"));
    EXPECT_EQ(entry.hoursBox, QStringLiteral("100"));  // left as typed
}

TEST(FadeBoxes, PresetFadeAbove1000IsSetTo1000WithTheMessage) {
    EXPECT_EQ(checkPresetFade("1000").message, QString());
    const FadeBox over = checkPresetFade("1000.5");
    EXPECT_EQ(over.text, QStringLiteral("1000"));
    EXPECT_EQ(over.message, QStringLiteral("Fade times can not exceed 1000 secs"));
    const BuiltLines refused = buildPresetLine(1, 1, "2000");
    EXPECT_FALSE(refused.added());
    EXPECT_EQ(refused.message, QStringLiteral("Fade times can not exceed 1000 secs"));
}

struct ClampRow {
    const char* typed;
    const char* channelFade;
    const char* level;
};

void PrintTo(const ClampRow& row, std::ostream* os) {
    *os << qv::test::caseName(QString::fromLatin1(row.typed).replace(QLatin1Char('%'), " percent"));
}

class ClampTest : public ::testing::TestWithParam<ClampRow> {};

TEST_P(ClampTest, ChannelFadeAndLevelBoxes) {
    EXPECT_EQ(clampChannelFade(GetParam().typed), QString::fromLatin1(GetParam().channelFade));
    EXPECT_EQ(clampLevel(GetParam().typed), QString::fromLatin1(GetParam().level));
}

INSTANTIATE_TEST_SUITE_P(Rows, ClampTest,
                         ::testing::Values(ClampRow{"300", "255", "100"}, ClampRow{"-4", "0", "0"},
                                           ClampRow{"40", "40", "40"}, ClampRow{"40 %", "40 %", "40"},
                                           ClampRow{"abc", "abc", "0"}, ClampRow{"255", "255", "100"}));

TEST(NetworkLines, AreBuiltFromListNumbersAndBoxTexts) {
    EXPECT_EQ(buildPresetLine(12, 3, "1.5").lines,
              QStringList{QStringLiteral("(ORVANET:) (AREA:)12 (PRESET:)3 (FADE:)1.5")});
    // The boxes are clamped as on leaving them.
    EXPECT_EQ(buildChannelLine(12, 4, "150", "300").lines,
              QStringList{QStringLiteral("(ORVANET:) (AREA:)12 (CHANNEL:)4 (LEVEL:)100 (FADE:)255")});
}

TEST(NetworkLines, ValuesThatDoNotFitAMessageAreRefused) {
    for (const BuiltLines& built :
         {buildPresetLine(256, 1, "1"), buildPresetLine(1, 2049, "1"), buildPresetLine(-1, 1, "1"),
          buildChannelLine(1, 0, "50", "1"), buildChannelLine(1, 300, "50", "1")}) {
        EXPECT_FALSE(built.added());
        EXPECT_FALSE(built.message.isEmpty());
    }
}

TEST(ChoiceLines, NothingChosenAddsNothingWithoutAMessage) {
    for (const BuiltLines& built :
         {buildWavLine(QString()), buildRollCallLine(std::nullopt), buildCustomLine(std::nullopt),
          buildSubMacroLine(std::nullopt), buildCancelMacroLine(std::nullopt),
          buildEnableDisableLine(std::nullopt, std::nullopt), buildPlanViewLine(QString(), "3key")}) {
        EXPECT_FALSE(built.added());
        EXPECT_TRUE(built.message.isEmpty());
    }
    EXPECT_EQ(buildEmailLine(std::nullopt).message, QStringLiteral("You must select an email from the list"));
}

TEST(ChoiceLines, EnableChoiceWinsAndAllMacrosIsOffered) {
    EXPECT_EQ(buildEnableDisableLine(QStringLiteral("A"), QStringLiteral("B")).lines,
              QStringList{QStringLiteral("(ENABLEMACRO:)A")});
    EXPECT_EQ(buildEnableDisableLine(std::nullopt, QStringLiteral("B")).lines,
              QStringList{QStringLiteral("(DISABLEMACRO:)B")});
    EXPECT_EQ(buildCancelMacroLine(QStringLiteral("All Macros")).lines,
              QStringList{QStringLiteral("(CANCELMACRO:)All Macros")});
}

TEST(ChoiceLines, EachLightBoxChannelWithALevelGivesALineFirstChannelFirst) {
    const BuiltLines built = buildCorvalinLines(
        3, {CorvalinChoice{10, 7}, CorvalinChoice{11, std::nullopt}, CorvalinChoice{12, 9}});
    EXPECT_EQ(built.lines, QStringList({QStringLiteral("(CORVALIN:) (LIGHTBOX:)3 (CHANNEL:)10 (LEVEL:)7"),
                                        QStringLiteral("(CORVALIN:) (LIGHTBOX:)3 (CHANNEL:)12 (LEVEL:)9")}));
}

TEST(Placement, NewLineGoesBeforeTheSelectedOneOrAtTheEnd) {
    MacroLines lines;
    lines.append("a", "(DELAY:)1", "first");
    lines.append("b", "(DELAY:)2", "second");

    EXPECT_EQ(lines.insertLine("(DELAY:)9", 1), 1);
    EXPECT_EQ(lines.commandLines, QStringList({"(DELAY:)1", "(DELAY:)9", "(DELAY:)2"}));
    EXPECT_EQ(lines.comments, QStringList({"first", "<no comments>", "second"}));
    EXPECT_EQ(lines.displayTexts.size(), 3);

    EXPECT_EQ(lines.insertLine("(DELAY:)8"), 3);      // nothing selected
    EXPECT_EQ(lines.insertLine("(DELAY:)7", 99), 4);  // past the end
    EXPECT_EQ(lines.commandLines.last(), QStringLiteral("(DELAY:)7"));

    EXPECT_TRUE(lines.moveLine(4, 0));
    EXPECT_EQ(lines.commandLines.first(), QStringLiteral("(DELAY:)7"));
    EXPECT_TRUE(lines.removeLine(0));
    EXPECT_FALSE(lines.removeLine(10));
    EXPECT_EQ(lines.size(), 4);
}

}  // namespace
}  // namespace qv::macros::test
