// The program as a user runs it: quorvel --headless against quorvel-sim,
// and the clear refusals of bad command lines.

#include "support/qt_support.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ProcessRun {
    int exitCode = -1;
    QString out;
    QString err;
};

ProcessRun runQuorvel(const QStringList& arguments, int timeoutMs = 30000) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    static QTemporaryDir config;
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(QUORVEL_PATH), arguments);
    ProcessRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QStringList commentsOf(const QString& out) {
    QStringList comments;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split('\t');
        if (fields.size() == 9) comments << fields[4];
    }
    return comments;
}

TEST(Headless, SendsThroughTheSimulatorAndPrintsTheMonitor) {
    QTemporaryDir data;
    const ProcessRun run = runQuorvel({"--headless", "--simulate", "--data-dir", data.path(), "--send",
                                "1C 05 32 02 00 00 FF", "--send", "1C 05 00 63 00 00 FF", "--exit-after", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList comments = commentsOf(run.out);
    const auto select = comments.indexOf("Set area 5 to preset 3");
    const auto report = comments.indexOf("area 5 is in preset 3");
    ASSERT_GE(select, 0) << run.out.toStdString();
    EXPECT_GT(report, select);
    EXPECT_TRUE(QFile::exists(data.filePath("master/quorvel.db")));
    EXPECT_TRUE(QFile::exists(data.filePath("winrights.db")));
}

struct Refusal {
    QStringList arguments;
    const char* says;
};

class HeadlessRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(HeadlessRefuses, WithOneClearLineAndANonZeroExit) {
    QTemporaryDir data;
    QStringList arguments{"--headless"};
    for (const QString& a : GetParam().arguments) arguments << QString(a).replace("DATA", data.path());
    if (!GetParam().arguments.contains("--data-dir")) arguments << "--data-dir" << data.path();
    const ProcessRun run = runQuorvel(arguments);
    EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(GetParam().says)) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("Segmentation")) << run.err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, HeadlessRefuses,
    ::testing::Values(Refusal{{"--send", "1C 05 ZZ 02 00 00 FF"}, "'ZZ' is not a hex byte"},
                      Refusal{{"--send", "1C 05"}, "a message is 7 hex bytes"},
                      Refusal{{"--bogus"}, "Unknown option"},
                      Refusal{{"--exit-after", "soon"}, "--exit-after takes a number"},
                      Refusal{{"--serial", "/nonexistent/tty"}, "There is some problem with that port number"},
                      Refusal{{"--data-dir", "/proc/version/x"}, "can not be created"}));

TEST(Headless, HelpAndVersionExitCleanly) {
    const ProcessRun help = runQuorvel({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--simulate"));
    const ProcessRun version = runQuorvel({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("quorvel "));
}

}  // namespace
