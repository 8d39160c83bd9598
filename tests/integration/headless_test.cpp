// The program as a user runs it: quorvel --headless against quorvel-sim,
// and the clear refusals of bad command lines.

#include "macros/line_builder.h"
#include "macros/macro_store.h"
#include "store/store.h"
#include "support/qt_support.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include "support/case_names.h"

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
    // Each run gets its own item-exchange socket, so runs side by side do not meet.
    QTemporaryDir runtime;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
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
    const ProcessRun run =
        runQuorvel({"--headless", "--simulate", "--data-dir", data.path(), "--send", "1C 05 32 02 00 00 FF",
                    "--send", "1C 05 00 63 00 00 FF", "--exit-after", "4"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList comments = commentsOf(run.out);
    const auto select = comments.indexOf("Set area 5 to preset 3");
    const auto report = comments.indexOf("area 5 is in preset 3");
    ASSERT_GE(select, 0) << run.out.toStdString();
    EXPECT_GT(report, select);
    EXPECT_TRUE(QFile::exists(data.filePath("master/quorvel.db")));
    EXPECT_TRUE(QFile::exists(data.filePath("winrights.db")));
}

QStringList linesOf(const QString& out) {
    return out.split('\n', Qt::SkipEmptyParts);
}

TEST(Headless, StoredMacroRunsFromAScriptWithItsDelay) {
    QTemporaryDir data;
    {
        auto db =
            qv::store::Database::open(qv::store::DataPaths{data.path()}.mainDb(), qv::store::DbKind::Main);
        qv::macros::MacroLines lines;
        for (const QString& line : qv::macros::buildPresetLine(5, 3, "1").lines) lines.append(line, line, "");
        for (const QString& line : qv::macros::buildDelayLine("0", "0", "1.5").built.lines)
            lines.append(line, line, "");
        for (const QString& line : qv::macros::buildChannelLine(5, 2, "50", "0").lines)
            lines.append(line, line, "");
        ASSERT_EQ(lines.size(), 3);
        qv::macros::MacroStore(db).SaveMacroLines("Lobby On", lines);
        db.close();
    }
    const ProcessRun run = runQuorvel({"--headless", "--simulate", "--data-dir", data.path(), "--eval",
                                       "qv.RunMacro(\"Lobby On\")", "--exit-after", "5"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QStringList comments = commentsOf(run.out);
    const auto started = comments.indexOf("Macro Started !");
    const auto preset = comments.indexOf("Set area 5 to preset 3");
    const auto channel = comments.indexOf("Set Area 5 Channel 2 to 50%");
    const auto ended = comments.indexOf("Macro Ended !");
    ASSERT_GE(started, 0) << run.out.toStdString();
    EXPECT_GT(preset, started);
    EXPECT_GT(channel, preset);
    // The run ends once its last message is handed to the out box; the echo
    // may be heard just before or after.
    EXPECT_GT(ended, preset);
    // The channel line waits for the delay: at least a second on the clock.
    QDateTime presetAt, channelAt;
    for (const QString& line : linesOf(run.out)) {
        const QStringList f = line.split('\t');
        if (f.size() != 9) continue;
        if (f[4] == "Set area 5 to preset 3") presetAt = QDateTime::fromString(f[3], "yyyy-MM-dd HH:mm:ss");
        if (f[4] == "Set Area 5 Channel 2 to 50%")
            channelAt = QDateTime::fromString(f[3], "yyyy-MM-dd HH:mm:ss");
    }
    EXPECT_GE(presetAt.secsTo(channelAt), 1);
}

TEST(Headless, SecondCopyOnOneDataDirectoryIsRefused) {
    QTemporaryDir data;
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTemporaryDir runtime;
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(QUORVEL_PATH),
                {"--headless", "--simulate", "--data-dir", data.path(), "--exit-after", "6"});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(first.waitForReadyRead(10000));  // the first record: it holds the data directory
    const ProcessRun second =
        runQuorvel({"--headless", "--simulate", "--data-dir", data.path(), "--exit-after", "1"});
    EXPECT_EQ(second.exitCode, 3);
    EXPECT_TRUE(
        second.err.contains("Quorvel is already running on this computer, you can not run two sessions"));
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(first.readAllStandardOutput()).contains("Quorvel is ShutDown"));
}

TEST(Headless, MonitorLogKeepsTheSessionForTheNextStart) {
    QTemporaryDir data;
    ASSERT_EQ(runQuorvel({"--headless", "--simulate", "--data-dir", data.path(), "--exit-after", "1",
                          "--eval", "qv.MonitorAdditem('System', '', '', '', 'Fred\\'s \"big\" room')"})
                  .exitCode,
              0);
    auto log = qv::store::Database::open(qv::store::DataPaths{data.path()}.monitorLog(),
                                         qv::store::DbKind::MonitorLog);
    QSqlQuery q = log.prepare("SELECT Comments FROM EventLog ORDER BY ID");
    log.exec(q);
    QStringList comments;
    while (q.next()) comments << q.value(0).toString();
    log.close();
    EXPECT_TRUE(comments.contains("Quorvel has started"));
    EXPECT_TRUE(comments.contains("Fred's \"big\" room"));
    EXPECT_TRUE(comments.last().startsWith("Quorvel is ShutDown  after Up time of: 00 hrs, 00 mins"));
}

TEST(Headless, MainDatabaseFromANewerProgramEndsTheStartWithItsMessage) {
    QTemporaryDir data;
    {
        auto db =
            qv::store::Database::open(qv::store::DataPaths{data.path()}.mainDb(), qv::store::DbKind::Main);
        db.exec(QStringLiteral("PRAGMA user_version = 999"));
        db.close();
    }
    const ProcessRun run =
        runQuorvel({"--headless", "--simulate", "--data-dir", data.path(), "--exit-after", "5"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("written by a newer version of Quorvel")) << run.err.toStdString();
}

struct Refusal {
    QStringList arguments;
    const char* says;
};

void PrintTo(const Refusal& row, std::ostream* os) {
    *os << qv::test::caseName(row.arguments);
}

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

INSTANTIATE_TEST_SUITE_P(BadInput, HeadlessRefuses,
                         ::testing::Values(Refusal{{"--send", "1C 05 ZZ 02 00 00 FF"},
                                                   "'ZZ' is not a hex byte"},
                                           Refusal{{"--send", "1C 05"}, "a message is 7 hex bytes"},
                                           Refusal{{"--bogus"}, "Unknown option"},
                                           Refusal{{"--exit-after", "soon"}, "--exit-after takes a number"},
                                           Refusal{{"--data-dir", "/proc/version/x"}, "can not be created"}));

TEST(Headless, AMissingGatewayIsReportedAndTheProgramGoesOn) {
    QTemporaryDir data;
    const ProcessRun run = runQuorvel(
        {"--headless", "--serial", "/nonexistent/tty", "--data-dir", data.path(), "--exit-after", "3"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("There is some problem with that port number")) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("Quorvel is ShutDown")) << run.out.toStdString();
}

TEST(Headless, HelpAndVersionExitCleanly) {
    const ProcessRun help = runQuorvel({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--simulate"));
    const ProcessRun version = runQuorvel({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith("quorvel "));
}

}  // namespace
