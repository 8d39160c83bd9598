#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using Outcome = ParsedOptions::Outcome;

ParsedOptions parse(QStringList arguments) {
    arguments.prepend(QStringLiteral("quorvel-sim"));
    return parseSimOptions(arguments);
}

TEST(SimOptions, Defaults) {
    const ParsedOptions parsed = parse({});
    ASSERT_EQ(parsed.outcome, Outcome::Run) << parsed.text.toStdString();
    const SimOptions& o = parsed.options;
    EXPECT_EQ(o.layout.areas, 32);
    EXPECT_EQ(o.layout.channels, 8);
    EXPECT_TRUE(o.gateway.echo);
    EXPECT_EQ(o.gateway.replyDelayMs, 5);
    EXPECT_FALSE(o.seed.has_value());
    EXPECT_TRUE(o.link.isEmpty());
    EXPECT_EQ(o.activityPerSecond, 0.0);
    EXPECT_EQ(o.durationSeconds, 0.0);
}

TEST(SimOptions, EverythingSet) {
    const ParsedOptions parsed = parse({"--link",        "/tmp/gw",  "--areas",    "4",
                                        "--channels",    "12",       "--sensors",  "7,9=120",
                                        "--devices",     "A5:7:1.4", "--activity", "2.5",
                                        "--flood",       "20000",    "--seed",     "18446744073709551615",
                                        "--reply-delay", "0",        "--no-echo",  "--corrupt",
                                        "0.1",           "--split",  "--coalesce", "--duration",
                                        "1.5",           "--quiet",  "--verbose"});
    ASSERT_EQ(parsed.outcome, Outcome::Run) << parsed.text.toStdString();
    const SimOptions& o = parsed.options;
    EXPECT_EQ(o.link, QStringLiteral("/tmp/gw"));
    EXPECT_EQ(o.layout.areas, 4);
    EXPECT_EQ(o.layout.channels, 12);
    ASSERT_EQ(o.layout.sensors.size(), 2u);
    EXPECT_EQ(o.layout.sensors[1].lux, 120);
    ASSERT_EQ(o.layout.devices.size(), 1u);
    EXPECT_EQ(o.layout.devices[0].minor, 4);
    EXPECT_EQ(o.activityPerSecond, 2.5);
    EXPECT_EQ(o.floodPerSecond, 20000.0);
    EXPECT_EQ(o.seed, UINT64_MAX);
    EXPECT_EQ(o.gateway.replyDelayMs, 0);
    EXPECT_FALSE(o.gateway.echo);
    EXPECT_EQ(o.gateway.corruptFraction, 0.1);
    EXPECT_TRUE(o.gateway.split);
    EXPECT_TRUE(o.gateway.coalesce);
    EXPECT_EQ(o.durationSeconds, 1.5);
    EXPECT_TRUE(o.quiet);
    EXPECT_TRUE(o.verbose);
}

class BadOptions : public ::testing::TestWithParam<std::vector<const char*>> {};

TEST_P(BadOptions, AreRefusedWithAReason) {
    QStringList arguments;
    for (const char* each : GetParam()) arguments << QString::fromLatin1(each);
    const ParsedOptions parsed = parse(arguments);
    EXPECT_EQ(parsed.outcome, Outcome::Error);
    EXPECT_FALSE(parsed.text.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    SimOptions, BadOptions,
    ::testing::Values(std::vector<const char*>{"--areas", "0"}, std::vector<const char*>{"--areas", "256"},
                      std::vector<const char*>{"--channels", "x"},
                      std::vector<const char*>{"--corrupt", "1.5"},
                      std::vector<const char*>{"--activity", "-1"}, std::vector<const char*>{"--seed", "-3"},
                      std::vector<const char*>{"--sensors", "0"},
                      std::vector<const char*>{"--devices", "A5:7"}, std::vector<const char*>{"--bogus"},
                      std::vector<const char*>{"stray"}, std::vector<const char*>{"--link"}));

TEST(SimOptions, HelpDocumentsTheListSyntax) {
    const ParsedOptions parsed = parse({"--help"});
    ASSERT_EQ(parsed.outcome, Outcome::Help);
    EXPECT_TRUE(parsed.text.contains(QStringLiteral("TYPE:BOX:MAJOR.MINOR")));
    EXPECT_TRUE(parsed.text.contains(QStringLiteral("BOX=LUX")));
}

}  // namespace
}  // namespace qv::sim
