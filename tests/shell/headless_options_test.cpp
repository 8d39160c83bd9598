#include "shell/headless_options.h"

#include <gtest/gtest.h>

namespace qv::shell {
namespace {

ParsedOptions parse(QStringList args) {
    args.prepend("quorvel");
    return parseHeadlessOptions(args);
}

TEST(HeadlessOptions, AllOptionsTogether) {
    const ParsedOptions p = parse({"--headless", "--data-dir", "/tmp/q", "--serial", "/dev/ttyUSB0", "--send",
                                   "1C 05 32 02 00 00 FF", "--send", "1C 05 00 63 00 00 FF", "--exit-after", "2.5"});
    ASSERT_TRUE(p.options) << p.output.toStdString();
    EXPECT_TRUE(p.options->headless);
    EXPECT_EQ(p.options->dataDir, "/tmp/q");
    EXPECT_EQ(p.options->serial, "/dev/ttyUSB0");
    ASSERT_EQ(p.options->send.size(), 2u);
    EXPECT_EQ(net::toHex(p.options->send[1]), "1C 05 00 63 00 00 FF 7D");
    EXPECT_DOUBLE_EQ(*p.options->exitAfterSeconds, 2.5);
}

TEST(HeadlessOptions, HelpIsAnAnswerNotAnError) {
    const ParsedOptions p = parse({"--help"});
    EXPECT_FALSE(p.options);
    EXPECT_EQ(p.exitCode, 0);
    EXPECT_TRUE(p.output.startsWith("Usage: quorvel [options]\n")) << p.output.toStdString();
    EXPECT_TRUE(p.output.contains("--exit-after"));
}

TEST(HeadlessOptions, MistakesExitWithTwoAndSayWhy) {
    for (const QStringList& bad : {QStringList{"--nope"}, QStringList{"stray"}, QStringList{"--exit-after", "-1"},
                                   QStringList{"--send", "xyz"}, QStringList{"--simulate", "--serial", "/dev/x"},
                                   QStringList{"--sim-activity", "many"}}) {
        const ParsedOptions p = parse(bad);
        EXPECT_FALSE(p.options) << bad.join(' ').toStdString();
        EXPECT_EQ(p.exitCode, 2);
        EXPECT_FALSE(p.output.isEmpty());
    }
}

}  // namespace
}  // namespace qv::shell
