// The relay's command line: what it accepts, its defaults and what it refuses.

#include "server/relay_options.h"

#include "support/case_names.h"

#include <gtest/gtest.h>

namespace qv::server {
namespace {

using Outcome = ParsedRelayOptions::Outcome;

ParsedRelayOptions parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("quorvel-server"));
    return parseRelayOptions(arguments);
}

TEST(RelayOptionsTest, DefaultsServeThePrimaryPortOnLoopback) {
    const ParsedRelayOptions p = parse({"--serial", "/dev/ttyUSB0"});
    ASSERT_EQ(p.outcome, Outcome::Run) << qPrintable(p.text);
    EXPECT_EQ(p.options.serial.portName, "/dev/ttyUSB0");
    EXPECT_EQ(p.options.port, 1000);
    EXPECT_EQ(p.options.bind, QHostAddress(QHostAddress::LocalHost));
    EXPECT_EQ(p.options.serial.settingsText(), "9600,N,8,1");
    EXPECT_FALSE(p.options.simulate);
}

TEST(RelayOptionsTest, SecondaryMovesTheDefaultPortButAnExplicitPortWins) {
    EXPECT_EQ(parse({"--simulate", "--secondary"}).options.port, 1002);
    EXPECT_EQ(parse({"--simulate", "--secondary", "--port", "4002"}).options.port, 4002);
}

TEST(RelayOptionsTest, SimulatorOptionsAndSettingsAreTakenAsGiven) {
    const ParsedRelayOptions p =
        parse({"--simulate", "--sim-option=--activity=5", "--sim-option", "--seed=3", "--bind", "0.0.0.0",
               "--serial-settings", "19200,e,7,2", "--release-rate", "100", "--verbose"});
    ASSERT_EQ(p.outcome, Outcome::Run) << qPrintable(p.text);
    EXPECT_EQ(p.options.simOptions, (QStringList{"--activity=5", "--seed=3"}));
    EXPECT_EQ(p.options.bind, QHostAddress(QHostAddress::AnyIPv4));
    EXPECT_EQ(p.options.serial.settingsText(), "19200,E,7,2");
    EXPECT_EQ(p.options.releaseRate, 100);
    EXPECT_TRUE(p.options.verbose);
}

}  // namespace
}  // namespace qv::server

// Shows the refused command lines by their words.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QStringList& arguments, std::ostream* os) {
    *os << qv::test::caseName(arguments.join(' ').toStdString());
}
QT_END_NAMESPACE

namespace qv::server {
namespace {

class RefusedTest : public ::testing::TestWithParam<QStringList> {};

TEST_P(RefusedTest, SaysWhatIsWrong) {
    const ParsedRelayOptions p = parse(GetParam());
    EXPECT_EQ(p.outcome, Outcome::Error) << qPrintable(GetParam().join(' '));
    EXPECT_FALSE(p.text.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Rows, RefusedTest,
                         ::testing::Values(QStringList{}, QStringList{"--simulate", "--serial", "/dev/ttyS0"},
                                           QStringList{"--serial", "/dev/ttyS0", "--sim-option", "--seed=1"},
                                           QStringList{"--simulate", "--port", "0"},
                                           QStringList{"--simulate", "--port", "65536"},
                                           QStringList{"--simulate", "--port", "abc"},
                                           QStringList{"--simulate", "--bind", "server.local"},
                                           QStringList{"--simulate", "--serial-settings", "9600,N,8"},
                                           QStringList{"--simulate", "--serial-settings", "9600,X,8,1"},
                                           QStringList{"--simulate", "--serial-settings", "fast,N,8,1"},
                                           QStringList{"--simulate", "--serial-settings", "9600,N,9,1"},
                                           QStringList{"--simulate", "--release-rate", "5"},
                                           QStringList{"--simulate", "extra"},
                                           QStringList{"--simulate", "--no-such-option"}));

TEST(RelayOptionsTest, HelpNamesEveryOption) {
    const ParsedRelayOptions p = parse({"--help"});
    ASSERT_EQ(p.outcome, Outcome::Help);
    for (const char* option : {"--serial", "--simulate", "--port", "--secondary", "--bind", "--sim-option"})
        EXPECT_TRUE(p.text.contains(QLatin1String(option))) << option;
}

}  // namespace
}  // namespace qv::server
