// The pure rules of the configuration: limits of the number boxes, the IP
// check of the server fields, the hemisphere signs, the comms lists, the
// password rule and the cleaning of imported names.

#include "config_fixture.h"

#include "shell/config/choice_lists.h"
#include "shell/config/limits.h"
#include "shell/config/messages.h"
#include "shell/config/name_cleaning.h"
#include "shell/config/name_import.h"
#include "shell/config/password.h"
#include "shell/config/position.h"
#include "support/case_names.h"

namespace qv::config {
namespace {

// The number boxes' limits, each function on its edges.
struct LimitRow {
    const char* name;
    int (*limit)(int);
    int in;
    int out;
};

void PrintTo(const LimitRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.name, row.in);
}

class Limits : public ::testing::TestWithParam<LimitRow> {};
TEST_P(Limits, KeepTheNumberBoxesInRange) {
    EXPECT_EQ(GetParam().limit(GetParam().in), GetParam().out);
}
INSTANTIATE_TEST_SUITE_P(
    Rows, Limits,
    ::testing::Values(  // the out box's release rate: 50 to 300 ms
        LimitRow{"ReleaseRate", limitReleaseRate, -5, 50}, LimitRow{"ReleaseRate", limitReleaseRate, 49, 50},
        LimitRow{"ReleaseRate", limitReleaseRate, 50, 50},
        LimitRow{"ReleaseRate", limitReleaseRate, 300, 300},
        LimitRow{"ReleaseRate", limitReleaseRate, 301, 300},
        // the records read back from the monitor log: 0 to 10,000
        LimitRow{"ReadBack", limitLoadFromMonitorLog, -1, 0},
        LimitRow{"ReadBack", limitLoadFromMonitorLog, 100, 100},
        LimitRow{"ReadBack", limitLoadFromMonitorLog, 10001, 10000},
        // the USB delay: below 1 becomes 25
        LimitRow{"UsbDelay", limitUsbDelay, 0, 25}, LimitRow{"UsbDelay", limitUsbDelay, -3, 25},
        LimitRow{"UsbDelay", limitUsbDelay, 1, 1},
        // only the five button layouts exist
        LimitRow{"Buttons", limitButtonVersion, 4, 4}, LimitRow{"Buttons", limitButtonVersion, 12, 12},
        LimitRow{"Buttons", limitButtonVersion, 18, 18}, LimitRow{"Buttons", limitButtonVersion, 24, 24},
        LimitRow{"Buttons", limitButtonVersion, 0, 8}, LimitRow{"Buttons", limitButtonVersion, 16, 8},
        LimitRow{"Buttons", limitButtonVersion, 25, 8}));

struct IpRow {
    const char* text;
    bool valid;
};

void PrintTo(const IpRow& row, std::ostream* os) {
    *os << qv::test::caseName(QString::fromLatin1(row.text).replace(QLatin1Char(' '), " blank "));
}
class IpQuad : public ::testing::TestWithParam<IpRow> {};
TEST_P(IpQuad, FourDecimalNumbersUpTo255) {
    EXPECT_EQ(CheckValidIPQuad(GetParam().text), GetParam().valid);
}
INSTANTIATE_TEST_SUITE_P(Rows, IpQuad,
                         ::testing::Values(IpRow{"192.168.1.20", true}, IpRow{"0.0.0.0", true},
                                           IpRow{"255.255.255.255", true}, IpRow{"256.1.1.1", false},
                                           IpRow{"1.2.3", false}, IpRow{"1.2.3.4.5", false},
                                           IpRow{"1..3.4", false}, IpRow{"a.b.c.d", false},
                                           IpRow{"-1.2.3.4", false}, IpRow{" 1.2.3.4", false},
                                           IpRow{"1.2.3.4 ", false}, IpRow{"0001.2.3.4", false},
                                           IpRow{"lights-server", false}, IpRow{"", false}));

TEST(PositionSign, ShownWithoutSignBesideTheHemisphereAndSavedUnchanged) {
    const Latitude south = latitudeField(-33.9);
    EXPECT_DOUBLE_EQ(south.degrees, 33.9);
    EXPECT_EQ(south.hemisphere, NorthSouth::South);
    EXPECT_DOUBLE_EQ(storedLatitude(south), -33.9);
    EXPECT_EQ(latitudeField(51.5).hemisphere, NorthSouth::North);
    EXPECT_EQ(latitudeField(0.0).hemisphere, NorthSouth::North);
    // Negative longitude is east, positive west.
    const Longitude east = longitudeField(-115.95);
    EXPECT_DOUBLE_EQ(east.degrees, 115.95);
    EXPECT_EQ(east.hemisphere, EastWest::East);
    EXPECT_DOUBLE_EQ(storedLongitude(east), -115.95);
    EXPECT_EQ(longitudeField(0.12).hemisphere, EastWest::West);
}

TEST(PositionSign, TheChosenHemisphereDecidesTheStoredSign) {
    EXPECT_DOUBLE_EQ(storedLatitude({33.9, NorthSouth::North}), 33.9);  // -33.9 shown South, saved North
    EXPECT_DOUBLE_EQ(storedLatitude({33.9, NorthSouth::South}), -33.9);
    EXPECT_DOUBLE_EQ(storedLatitude({-33.9, NorthSouth::North}), 33.9);  // a typed sign does not count
    EXPECT_DOUBLE_EQ(storedLongitude({115.95, EastWest::East}), -115.95);
    EXPECT_DOUBLE_EQ(storedLongitude({-115.95, EastWest::West}), 115.95);
}

TEST(ChoiceLists, EntriesInTheWindowsOrder) {
    EXPECT_EQ(baudRateChoices(), QStringList({"115200", "57600", "38400", "19200", "9600", "4800", "2400",
                                              "1200", "300", "110"}));
    EXPECT_EQ(dataBitsChoices(), QStringList({"8", "7", "6", "5", "4"}));
    EXPECT_EQ(parityChoices(), QStringList({"even", "odd", "none", "mark", "space"}));
    EXPECT_EQ(stopBitsChoices(), QStringList({"1", "1.5", "2"}));
    EXPECT_EQ(choiceIndex(parityChoices(), "None"), 2);  // stored files write it capitalised
    EXPECT_EQ(choiceIndex(baudRateChoices(), "14400"), -1);
}

TEST(ChoiceLists, PortsThatCanNotBeOpenedAreMarked) {
    const QStringList ports = serialPortChoices([](int port) { return port != 2 && port != 16; });
    ASSERT_EQ(ports.size(), 16);
    EXPECT_EQ(ports[0], "1");
    EXPECT_EQ(ports[1], "2 x");
    EXPECT_EQ(ports[15], "16 x");
    EXPECT_EQ(serialPortFromChoice("2 x"), 2);
    EXPECT_EQ(serialPortFromChoice("16"), 16);
    EXPECT_EQ(serialPortFromChoice(""), 0);
    EXPECT_EQ(serialPortFromChoice("17"), 0);
    EXPECT_EQ(serialPortFromChoice("COM3"), 0);
}

TEST(ChoiceLists, LocalAddressesStartWithLoopbackWithoutRepeats) {
    EXPECT_EQ(localAddressChoices({"10.0.0.5", "127.0.0.1", " 10.0.0.5", ""}),
              QStringList({"127.0.0.1", "10.0.0.5"}));
}

struct PasswordRow {
    const char* text;
    bool accepted;
};

void PrintTo(const PasswordRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.text);
}
class NewPasswordRule : public ::testing::TestWithParam<PasswordRow> {};
TEST_P(NewPasswordRule, LettersAndDigitsNotBeginningWithADigit) {
    const auto refusal = checkNewPassword(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(!refusal.has_value(), GetParam().accepted);
    if (refusal) {
        EXPECT_EQ(*refusal, msg::kPasswordRule);
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, NewPasswordRule,
                         ::testing::Values(PasswordRow{"Lights42", true}, PasswordRow{"a", true},
                                           PasswordRow{"", true},  // no new password
                                           PasswordRow{"4Lights", false}, PasswordRow{"my pass", false},
                                           PasswordRow{"o'brien", false}, PasswordRow{"pass-word", false},
                                           PasswordRow{"caf\xc3\xa9", false}));

struct NameRow {
    const char* in;
    const char* out;
};

void PrintTo(const NameRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.in);
}
class NameCleaning : public ::testing::TestWithParam<NameRow> {};
TEST_P(NameCleaning, KeepsWhatTheEditorsAccept) {
    EXPECT_EQ(cleanName(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}
INSTANTIATE_TEST_SUITE_P(Rows, NameCleaning,
                         ::testing::Values(NameRow{"Fred's Office", "Freds Office"},
                                           NameRow{"Board Room 2", "Board Room 2"},
                                           NameRow{"  Lobby  ", "Lobby"}, NameRow{"2nd Floor", "nd Floor"},
                                           NameRow{"12 34 Hall", "Hall"},
                                           NameRow{"\"Quoted\"; DROP", "Quoted DROP"},
                                           NameRow{"Caf\xc3\xa9 Bar", "Caf Bar"}, NameRow{"---", ""},
                                           NameRow{"Stage  Left", "Stage  Left"}));

struct NumberRow {
    const char* text;
    bool ok;
    int value;
};

void PrintTo(const NumberRow& row, std::ostream* os) {
    *os << qv::test::caseName(QString::fromLatin1(row.text).replace(QLatin1Char(' '), " blank "));
}
class WholeNumbers : public ::testing::TestWithParam<NumberRow> {};
TEST_P(WholeNumbers, SheetNumbersAreTakenAsWholeNumbers) {
    int value = -999;
    EXPECT_EQ(parseWholeNumber(GetParam().text, &value), GetParam().ok);
    if (GetParam().ok) {
        EXPECT_EQ(value, GetParam().value);
    }
}
INSTANTIATE_TEST_SUITE_P(Rows, WholeNumbers,
                         ::testing::Values(NumberRow{"12", true, 12}, NumberRow{" 12 ", true, 12},
                                           NumberRow{"12.0", true, 12}, NumberRow{"12.7", true, 12},
                                           NumberRow{"-3", true, -3}, NumberRow{"Area", false, 0},
                                           NumberRow{"12abc", false, 0}, NumberRow{"", false, 0},
                                           NumberRow{"1e12", false, 0}, NumberRow{"nan", false, 0}));

}  // namespace
}  // namespace qv::config
