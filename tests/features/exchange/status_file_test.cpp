// The area status file on disk: written at start, kept up to date, requests
// typed into it carried out one per tick, and damaged or unusable files
// reported without losing an edit.

#include "features/exchange/status_file.h"
#include "features/exchange/exchange_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace qv::exchange {
namespace {

using test::ExchangeWorld;

class StatusFileTest : public ::testing::Test {
protected:
    StatusFileTest() { qv::test::qtApp(); }

    QByteArray contents() const {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void setContents(const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // Types a request into the area's row, as a person in an editor would.
    void typeRequest(int area, const QString& request) {
        QList<QByteArray> lines = contents().split('\n');
        for (QByteArray& line : lines)
            if (line.startsWith(QByteArray::number(area) + ',')) {
                const qsizetype lastComma = line.lastIndexOf(',');
                line = line.left(lastComma + 1) + request.toUtf8();
            }
        setContents(lines.join('\n'));
    }
    QByteArray rowOf(int area) const {
        for (const QByteArray& line : contents().split('\n'))
            if (line.startsWith(QByteArray::number(area) + ',')) return line;
        return {};
    }
    // Starts the timers and stops just before the next check.
    void run() {
        file.start();
        world.clock.advance(StatusFile::kCheckMs - StatusFile::kRequestMs);
    }
    // One second: the check reads and writes the file, then the request
    // timer carries out what it queued, one a tick.
    void secondPasses() { world.clock.advance(StatusFile::kCheckMs); }
    qint64 inode() const {
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? static_cast<qint64>(info.st_ino)
                                                                       : -1;
    }

    QTemporaryDir dir;
    QString path = dir.filePath("areastatus.csv");
    ExchangeWorld world;
    StatusFile file{world.deps(), path};
};

TEST_F(StatusFileTest, StartWritesEveryArea) {
    world.state.setPreset(12, 5);
    file.start();
    EXPECT_TRUE(file.isRunning());
    const QList<QByteArray> lines = contents().split('\n');
    ASSERT_EQ(lines.size(), 257);
    EXPECT_EQ(lines.at(0), "Area,Preset,Request");
    EXPECT_EQ(rowOf(12), "12,5,");
    EXPECT_EQ(rowOf(13), "13,unknown,");
    file.stop();
    EXPECT_FALSE(file.isRunning());
}

TEST_F(StatusFileTest, PresetTypedSetsTheAreaAndTheCellIsCleared) {
    run();
    typeRequest(12, "5");
    secondPasses();
    EXPECT_EQ(world.sent.hex, std::vector<std::string>{test::kArea12Preset5});
    EXPECT_EQ(rowOf(12), "12,unknown,");
    EXPECT_TRUE(world.runner.names.isEmpty());
}

TEST_F(StatusFileTest, OtherTextRunsThatMacro) {
    run();
    typeRequest(40, "\"Lobby On, \"\"late\"\"\"");
    typeRequest(41, "0");  // not a preset 1-96: a macro name
    secondPasses();
    EXPECT_EQ(world.runner.names, (QStringList{"Lobby On, \"late\"", "0"}));
    EXPECT_TRUE(world.sent.hex.empty());
}

TEST_F(StatusFileTest, OneRequestPerRequestTick) {
    run();
    typeRequest(1, "Hall");
    typeRequest(2, "Stairs");
    world.clock.advance(StatusFile::kRequestMs);
    EXPECT_EQ(world.runner.names, QStringList{"Hall"});
    EXPECT_EQ(file.pendingRequests(), 1u);
    world.clock.advance(StatusFile::kRequestMs);
    EXPECT_EQ(world.runner.names, (QStringList{"Hall", "Stairs"}));
}

TEST_F(StatusFileTest, SameRequestTypedAgainIsCarriedOutAgain) {
    run();
    typeRequest(12, "5");
    secondPasses();
    secondPasses();  // the cleared cell is seen empty
    typeRequest(12, "5");
    secondPasses();
    EXPECT_EQ(world.sent.hex.size(), 2u);
}

TEST_F(StatusFileTest, RewritesOnlyWhenSomethingChanged) {
    run();
    const qint64 before = inode();
    secondPasses();
    EXPECT_EQ(inode(), before);  // nothing new: the file is left alone
    world.state.setPreset(200, 7);
    secondPasses();
    EXPECT_EQ(rowOf(200), "200,7,");
    EXPECT_NE(inode(), before);
}

TEST_F(StatusFileTest, EditSavedAfterTheReadIsNotOverwritten) {
    // The edit is saved between the read and the write: while the read's
    // report of a damaged row is made.
    struct EditingMonitor final : store::MonitorSink {
        std::function<void()> edit;
        void MonitorAdditem(const store::MonitorRecord&) override {
            if (auto once = std::exchange(edit, {})) once();
        }
    } monitor;
    StatusFile editedFile{ExchangeDeps{world.sent.sender(), world.runner, world.state, monitor, world.clock},
                          path};
    setContents("Area,Preset,Request\nrubbish\n");  // out of date: it will be written
    monitor.edit = [&] { setContents("Area,Preset,Request\n12,unknown,Lobby On\n"); };
    editedFile.start();
    EXPECT_EQ(rowOf(12), "12,unknown,Lobby On");
    world.clock.advance(StatusFile::kCheckMs + StatusFile::kRequestMs);
    EXPECT_EQ(world.runner.names, QStringList{"Lobby On"});
    EXPECT_EQ(rowOf(12), "12,unknown,");
}

TEST_F(StatusFileTest, DamagedRowsAreReportedOnceAndTheFileMended) {
    setContents("Area,Preset,Request\n5,1,Hall\nrubbish;here\n6,1,4\n");
    run();
    EXPECT_EQ(world.runner.names, QStringList{"Hall"});
    EXPECT_EQ(world.sent.hex.size(), 1u);
    EXPECT_EQ(world.monitorCount("Warning **", "row 3: \"rubbish;here\" is not an area 1-255"), 1);
    EXPECT_EQ(contents().split('\n').size(), 257);
    secondPasses();
    secondPasses();
    EXPECT_EQ(world.monitorCount("Warning **", "rows that could not be used"), 1);
}

TEST_F(StatusFileTest, OversizeFileIsNotReadButReplaced) {
    setContents("12,1,Hall\n" + QByteArray(StatusFile::kMaxFileBytes, 'x'));
    run();
    EXPECT_TRUE(world.runner.names.isEmpty());
    EXPECT_EQ(world.monitorCount("Warning **", "larger than 1 MiB"), 1);
    EXPECT_EQ(contents().split('\n').size(), 257);
}

TEST_F(StatusFileTest, MissingFolderIsReportedOnceAndRecovers) {
    const QString sub = dir.filePath("later");
    StatusFile inMissing(world.deps(), sub + "/areastatus.csv");
    inMissing.start();
    world.clock.advance(StatusFile::kCheckMs);
    EXPECT_EQ(world.monitorCount("ERROR ***", "could not be written"), 1);
    ASSERT_TRUE(QDir().mkpath(sub));
    world.clock.advance(StatusFile::kCheckMs);
    EXPECT_TRUE(QFile::exists(sub + "/areastatus.csv"));
}

TEST_F(StatusFileTest, UnreadablePathIsReportedAndNeverReplaced) {
    ASSERT_TRUE(QDir().mkpath(path));  // a folder where the file should be
    run();
    secondPasses();
    EXPECT_EQ(world.monitorCount("ERROR ***", "could not be read"), 1);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

}  // namespace
}  // namespace qv::exchange
