// The pieces of the program's life: the single copy, the up-time record,
// the debug list and the script console.

#include "shell/debug_log.h"
#include "shell/instance_lock.h"
#include "shell/script_console.h"
#include "shell/up_time.h"
#include "support/case_names.h"
#include "support/qt_support.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::shell {
namespace {

struct UpTimeRow {
    qint64 seconds;
    const char* text;
};

void PrintTo(const UpTimeRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.seconds);
}

class UpTime : public ::testing::TestWithParam<UpTimeRow> {};

TEST_P(UpTime, HoursAndMinutesWithAtLeastTwoDigits) {
    EXPECT_EQ(shutdownText(GetParam().seconds), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UpTime,
    ::testing::Values(UpTimeRow{0, "Quorvel is ShutDown  after Up time of: 00 hrs, 00 mins"},
                      UpTimeRow{59, "Quorvel is ShutDown  after Up time of: 00 hrs, 00 mins"},
                      UpTimeRow{3900, "Quorvel is ShutDown  after Up time of: 01 hrs, 05 mins"},
                      UpTimeRow{100 * 3600 + 59 * 60 + 59,
                                "Quorvel is ShutDown  after Up time of: 100 hrs, 59 mins"},
                      UpTimeRow{-5, "Quorvel is ShutDown  after Up time of: 00 hrs, 00 mins"}));

TEST(InstanceLockTest, SecondCopyIsRefusedUntilTheFirstLetsGo) {
    QTemporaryDir dir;
    InstanceLock first, second;
    ASSERT_TRUE(first.acquire(dir.path()));
    EXPECT_FALSE(second.acquire(dir.path()));
    first.release();
    EXPECT_TRUE(second.acquire(dir.path()));
}

TEST(InstanceLockTest, LockOfACopyThatDiedIsTakenOver) {
    QTemporaryDir dir;
    // A lock file naming a process that no longer exists.
    QProcess gone;
    gone.start("/bin/sleep", {"30"});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    gone.kill();
    gone.waitForFinished();
    QByteArray contents;
    {
        // What a real lock says, with the owner swapped for the dead process.
        QLockFile model(dir.filePath("model.lock"));
        ASSERT_TRUE(model.tryLock(0));
        QFile file(dir.filePath("model.lock"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        contents = file.readAll();
        model.unlock();
    }
    contents = QByteArray::number(deadPid) + contents.mid(contents.indexOf('\n'));
    QFile lock(dir.filePath("quorvel.lock"));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(contents);
    lock.close();
    InstanceLock again;
    EXPECT_TRUE(again.acquire(dir.path()));
}

TEST(DebugLogTest, LinesBeforeOpeningAreKeptAndWritten) {
    QTemporaryDir dir;
    DebugLog log;
    log.AddDebug("#### compacting failed");
    ASSERT_TRUE(log.open(dir.path()));
    log.AddDebug("Create \\Planview Drawings Folder");
    QFile file(dir.filePath("debug.log"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains("#### compacting failed"));
    EXPECT_TRUE(text.contains("Create \\Planview Drawings Folder"));
    EXPECT_EQ(log.lines().size(), 2);
}

class TestApi : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void RunMacro(const QString& name) { ran << name; }
    Q_INVOKABLE int GetPresetforArea(int area) { return area == 5 ? 3 : 0; }
    QStringList ran;
};

class ScriptConsoleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { test::qtApp(); }
    TestApi api;
    ScriptConsole console{&api};
};

TEST_F(ScriptConsoleTest, MainIsCalledWithTheProgramAsQv) {
    const auto outcome = console.run(
        "function main() { if (qv.GetPresetforArea(5) == 3) qv.RunMacro(\"Lobby On\"); return 'done'; }");
    EXPECT_TRUE(outcome.ok) << outcome.error.toStdString();
    EXPECT_EQ(outcome.result, "done");
    EXPECT_EQ(api.ran, QStringList{"Lobby On"});
}

TEST_F(ScriptConsoleTest, CodeWithoutMainStillRuns) {
    EXPECT_TRUE(console.run("qv.RunMacro('a'); qv.RunMacro('b')").ok);
    EXPECT_EQ(api.ran, (QStringList{"a", "b"}));
}

TEST_F(ScriptConsoleTest, ErrorsComeBackAsTheScriptingErrorText) {
    const auto syntax = console.run("function main( {");
    EXPECT_FALSE(syntax.ok);
    EXPECT_TRUE(syntax.error.startsWith("Scripting Error ")) << syntax.error.toStdString();
    EXPECT_TRUE(syntax.error.contains(":   SyntaxError")) << syntax.error.toStdString();

    const auto missing = console.run("function main() { qv.NoSuchThing(); }");
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains("TypeError")) << missing.error.toStdString();

    // One failed run leaves nothing behind for the next.
    EXPECT_TRUE(console.run("function main() { qv.RunMacro('x'); }").ok);
    EXPECT_EQ(api.ran, QStringList{"x"});
}

}  // namespace
}  // namespace qv::shell

#include "lifecycle_test.moc"
