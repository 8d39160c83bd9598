// The text rules of macro lines: the lenient numeric parse, the default and
// fixed number forms, the tag order and the fixed-width value slices.

#include "macro_fixture.h"

#include "macros/command_line.h"
#include "macros/display_text.h"
#include "macros/number_text.h"
#include "support/case_names.h"

#include <cmath>

namespace qv::macros::test {
namespace {

struct ParseRow {
    const char* text;
    double value;
};

void PrintTo(const ParseRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.text, row.value);
}

class LeadingNumberTest : public ::testing::TestWithParam<ParseRow> {};

TEST_P(LeadingNumberTest, ReadsTheLeadingNumber) {
    EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(GetParam().text)), GetParam().value)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Rows, LeadingNumberTest,
                         ::testing::Values(ParseRow{"5 (PRESET:)", 5}, ParseRow{"abc", 0}, ParseRow{"  7", 7},
                                           ParseRow{"1 2 3", 123}, ParseRow{"-4.5x", -4.5}, ParseRow{"+3", 3},
                                           ParseRow{".5", 0.5}, ParseRow{"1.2.3", 1.2}, ParseRow{"1e3", 1000},
                                           ParseRow{"12ekey", 12}, ParseRow{"0.02", 0.02},
                                           ParseRow{"1e999", 0}, ParseRow{"5430     ", 5430},
                                           ParseRow{"\xe9"
                                                    "5",
                                                    0}));

struct FormatRow {
    double value;
    int decimals;  // -1: default text form
    const char* text;
};

void PrintTo(const FormatRow& row, std::ostream* os) {
    const bool negativeZero = row.value == 0 && std::signbit(row.value);
    *os << (negativeZero ? qv::test::caseName("minus0", row.decimals)
                         : qv::test::caseName(row.value, row.decimals));
}

class NumberFormTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(NumberFormTest, WritesTheExpectedText) {
    const FormatRow& row = GetParam();
    const QString text = row.decimals < 0 ? defaultText(row.value) : fixedText(row.value, row.decimals);
    EXPECT_EQ(text, QString::fromLatin1(row.text));
}

INSTANTIATE_TEST_SUITE_P(Rows, NumberFormTest,
                         ::testing::Values(FormatRow{5430, -1, "5430"}, FormatRow{0.02, -1, "0.02"},
                                           FormatRow{1.5, -1, "1.5"}, FormatRow{0, -1, "0"},
                                           FormatRow{-0.0, -1, "0"}, FormatRow{356400, -1, "356400"},
                                           FormatRow{30, 1, "30.0"}, FormatRow{0.25, 1, "0.3"},
                                           FormatRow{0.15, 1, "0.2"}, FormatRow{2.5, 0, "3"},
                                           FormatRow{0.02, 1, "0.0"}, FormatRow{-0.01, 1, "0.0"}));

TEST(SingleDefaultText, CarriesSevenDigits) {
    EXPECT_EQ(defaultText(356400.1f), QStringLiteral("356400.1"));
    EXPECT_EQ(defaultText(5430.0f), QStringLiteral("5430"));
    EXPECT_EQ(defaultText(0.1f), QStringLiteral("0.1"));
}

struct KindRow {
    const char* line;
    LineKind kind;
};

void PrintTo(const KindRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.line);
}

class LineKindTest : public ::testing::TestWithParam<KindRow> {};

TEST_P(LineKindTest, FirstTagInTheFixedOrderWins) {
    EXPECT_EQ(lineKindOf(QString::fromLatin1(GetParam().line)), GetParam().kind) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LineKindTest,
    ::testing::Values(KindRow{"(ORVANET:) (AREA:)1 (PRESET:)2 (FADE:)1", LineKind::Orvanet},
                      KindRow{"(DELAY:)5", LineKind::Delay}, KindRow{"(WAV:)c:\\a.wav", LineKind::Wav},
                      // A media path holding a delay tag makes a delay line.
                      KindRow{"(WAV:)/x/(DELAY:)3.wav", LineKind::Delay},
                      KindRow{"(SUBMACRO:)(EMAIL:)", LineKind::SubMacro},
                      KindRow{"(EMAIL:)3 (CUSTOM:)x", LineKind::Custom},
                      KindRow{"(ENABLEMACRO:)a", LineKind::EnableMacro},
                      KindRow{"(DISABLEMACRO:)a", LineKind::DisableMacro},
                      KindRow{"(CANCELMACRO:)All Macros", LineKind::CancelMacro},
                      KindRow{"(CORVALIN:) (LIGHTBOX:)1 (CHANNEL:)2 (LEVEL:)3", LineKind::Corvalin},
                      KindRow{"(PLANVIEW:)P(KEY:)1key(FULLPATH:)P", LineKind::PlanView},
                      KindRow{"(ROLLCALL:)Night", LineKind::RollCall},
                      KindRow{"just a comment", LineKind::None}, KindRow{"(delay:)5", LineKind::None}));

TEST(ParseCommandLine, CutsEachValueToItsWidthBeforeParsing) {
    // Area 5 characters, preset 3, fade 5.
    const ParsedLine preset = parseCommandLine(presetLine("1234567", "98765", "123456"));
    EXPECT_DOUBLE_EQ(preset.area, 12345);
    EXPECT_DOUBLE_EQ(preset.preset, 987);
    EXPECT_DOUBLE_EQ(preset.fade, 12345);
    EXPECT_FALSE(preset.channelLine);

    // Channel 3, level 4.
    const ParsedLine channel = parseCommandLine(channelLine("7", "12345", "123456", "2"));
    EXPECT_TRUE(channel.channelLine);
    EXPECT_DOUBLE_EQ(channel.area, 7);
    EXPECT_DOUBLE_EQ(channel.channel, 123);
    EXPECT_DOUBLE_EQ(channel.level, 1234);
    EXPECT_DOUBLE_EQ(channel.fade, 2);

    // Delay 9.
    EXPECT_DOUBLE_EQ(parseCommandLine(delayLine("12345678901")).delay, 123456789);

    // Names 50, as they stand (blanks kept); the rest of the line for paths.
    const QString longName = QString(60, QLatin1Char('m'));
    EXPECT_EQ(parseCommandLine(subMacroLine(longName)).text, QString(50, QLatin1Char('m')));
    EXPECT_EQ(parseCommandLine(cancelMacroLine(" padded ")).text, QStringLiteral(" padded "));
    const QString path = QStringLiteral("/media/") + QString(80, QLatin1Char('p')) + QStringLiteral(".wav");
    EXPECT_EQ(parseCommandLine(wavLine(path)).text, path);
}

TEST(ParseCommandLine, ShortValuesStopAtTheNextTag) {
    const ParsedLine line = parseCommandLine(QStringLiteral("(ORVANET:) (AREA:)5 (PRESET:)9 (FADE:)0"));
    EXPECT_DOUBLE_EQ(line.area, 5);  // "5 (PR" reads 5
    EXPECT_DOUBLE_EQ(line.preset, 9);
    EXPECT_DOUBLE_EQ(line.fade, 0);
}

TEST(ParseCommandLine, NumbersOfReferenceLines) {
    EXPECT_DOUBLE_EQ(parseCommandLine(emailLine("42")).number, 42);
    EXPECT_DOUBLE_EQ(parseCommandLine(corvalinLine("3", "4", "17")).number, 17);
    EXPECT_DOUBLE_EQ(parseCommandLine(planViewLine("Project\\Floor 2", planViewKey(12))).number, 12);
    EXPECT_DOUBLE_EQ(parseCommandLine(planViewLine("Project", "key12")).number, 0);
}

struct DelayDisplayRow {
    double seconds;
    const char* text;
};

void PrintTo(const DelayDisplayRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.seconds);
}

class DelayDisplayTest : public ::testing::TestWithParam<DelayDisplayRow> {};

TEST_P(DelayDisplayTest, ShowsOnlyTheNonZeroParts) {
    EXPECT_EQ(delayDisplay(GetParam().seconds), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Rows, DelayDisplayTest,
                         ::testing::Values(DelayDisplayRow{3600, "Delay for 1 hours "},
                                           DelayDisplayRow{120, "Delay for 2 mins "},
                                           DelayDisplayRow{356400, "Delay for 99 hours "},
                                           DelayDisplayRow{0, "Delay for "}));

}  // namespace
}  // namespace qv::macros::test
