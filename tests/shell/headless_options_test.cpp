#include "shell/headless_options.h"

#include <gtest/gtest.h>

namespace qv::shell {
namespace {

using Outcome = ParsedOptions::Outcome;

ParsedOptions parse(QStringList args) {
    args.prepend("quorvel");
    return parseHeadlessOptions(args);
}

TEST(HeadlessOptions, AllOptionsTogether) {
    const ParsedOptions p =
        parse({"--headless", "--data-dir", "/tmp/q", "--serial", "/dev/ttyUSB0", "--send",
               "1C 05 32 02 00 00 FF", "--send", "1C 05 00 63 00 00 FF", "--exit-after", "2.5"});
    ASSERT_EQ(p.outcome, Outcome::Run) << p.text.toStdString();
    EXPECT_TRUE(p.options.headless);
    EXPECT_EQ(p.options.dataDir, "/tmp/q");
    EXPECT_EQ(p.options.serial, "/dev/ttyUSB0");
    ASSERT_EQ(p.options.send.size(), 2u);
    EXPECT_EQ(net::toHex(p.options.send[1]), "1C 05 00 63 00 00 FF 7D");
    EXPECT_DOUBLE_EQ(*p.options.exitAfterSeconds, 2.5);
}

TEST(HeadlessOptions, HelpIsAnAnswerNotAnError) {
    const ParsedOptions p = parse({"--help"});
    EXPECT_EQ(p.outcome, Outcome::Help);
    EXPECT_TRUE(p.text.startsWith("Usage: quorvel [options]\n")) << p.text.toStdString();
    EXPECT_TRUE(p.text.contains("--exit-after"));
}

TEST(HeadlessOptions, MistakesExitWithTwoAndSayWhy) {
    for (const QStringList& bad :
         {QStringList{"--nope"}, QStringList{"stray"}, QStringList{"--exit-after", "-1"},
          QStringList{"--send", "xyz"}, QStringList{"--simulate", "--serial", "/dev/x"},
          QStringList{"--sim-activity", "many"}}) {
        const ParsedOptions p = parse(bad);
        EXPECT_EQ(p.outcome, Outcome::Error) << bad.join(' ').toStdString();
        EXPECT_FALSE(p.text.isEmpty());
    }
}

}  // namespace
}  // namespace qv::shell
