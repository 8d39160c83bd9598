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
    // One second of the file's timers, then the request timer until the queue is empty.
    void secondPasses() {
        file.comparetimer();
        file.Checkarraytimer();
        while (file.pendingRequests() > 0) file.RequestsTimer();
    }
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
    file.start();
    file.stop();
    typeRequest(12, "5");
    secondPasses();
    EXPECT_EQ(world.sent.hex, std::vector<std::string>{test::kArea12Preset5});
    EXPECT_EQ(rowOf(12), "12,unknown,");
    EXPECT_TRUE(world.runner.names.isEmpty());
}

TEST_F(StatusFileTest, OtherTextRunsThatMacro) {
    file.start();
    file.stop();
    typeRequest(40, "\"Lobby On, \"\"late\"\"\"");
    typeRequest(41, "0");  // not a preset 1-96: a macro name
    secondPasses();
    EXPECT_EQ(world.runner.names, (QStringList{"Lobby On, \"late\"", "0"}));
    EXPECT_TRUE(world.sent.hex.empty());
}

TEST_F(StatusFileTest, TwoRequestsForOneAreaBeforeTheRequestTimerLeaveTheLater) {
    file.start();
    file.stop();
    typeRequest(12, "5");
    file.comparetimer();
    file.Checkarraytimer();
    typeRequest(12, "Lobby On");
    file.comparetimer();
    file.Checkarraytimer();
    EXPECT_EQ(file.pendingRequests(), 1u);
    file.RequestsTimer();
    EXPECT_EQ(world.runner.names, QStringList{"Lobby On"});
    EXPECT_TRUE(world.sent.hex.empty());
}

TEST_F(StatusFileTest, OneRequestPerRequestTick) {
    file.start();
    file.stop();
    typeRequest(1, "Hall");
    typeRequest(2, "Stairs");
    file.comparetimer();
    file.RequestsTimer();
    EXPECT_EQ(world.runner.names, QStringList{"Hall"});
    file.RequestsTimer();
    file.RequestsTimer();
    EXPECT_EQ(world.runner.names, (QStringList{"Hall", "Stairs"}));
}

TEST_F(StatusFileTest, SameRequestTypedAgainIsCarriedOutAgain) {
    file.start();
    file.stop();
    typeRequest(12, "5");
    secondPasses();
    secondPasses();  // the cleared cell is seen empty
    typeRequest(12, "5");
    secondPasses();
    EXPECT_EQ(world.sent.hex.size(), 2u);
}

TEST_F(StatusFileTest, RewritesOnlyWhenSomethingChanged) {
    file.start();
    file.stop();
    const qint64 before = inode();
    secondPasses();
    EXPECT_EQ(inode(), before);  // nothing new: the file is left alone
    world.state.setPreset(200, 7);
    secondPasses();
    EXPECT_EQ(rowOf(200), "200,7,");
    EXPECT_NE(inode(), before);
}

TEST_F(StatusFileTest, EditSavedAfterTheReadIsNotOverwritten) {
    file.start();
    file.stop();
    world.state.setPreset(3, 2);  // the file is out of date and will be written
    file.comparetimer();
    typeRequest(12, "Lobby On");  // saved between the read and the write
    file.Checkarraytimer();
    EXPECT_EQ(rowOf(12), "12,unknown,Lobby On");
    secondPasses();
    EXPECT_EQ(world.runner.names, QStringList{"Lobby On"});
    EXPECT_EQ(rowOf(12), "12,unknown,");
    EXPECT_EQ(rowOf(3), "3,2,");
}

TEST_F(StatusFileTest, DamagedRowsAreReportedOnceAndTheFileMended) {
    setContents("Area,Preset,Request\n5,1,Hall\nrubbish;here\n6,1,4\n");
    secondPasses();
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
    secondPasses();
    EXPECT_TRUE(world.runner.names.isEmpty());
    EXPECT_EQ(world.monitorCount("Warning **", "larger than 1 MiB"), 1);
    EXPECT_EQ(contents().split('\n').size(), 257);
}

TEST_F(StatusFileTest, MissingFolderIsReportedOnceAndRecovers) {
    const QString sub = dir.filePath("later");
    StatusFile inMissing(world.deps(), sub + "/areastatus.csv");
    inMissing.comparetimer();
    inMissing.Checkarraytimer();
    inMissing.comparetimer();
    inMissing.Checkarraytimer();
    EXPECT_EQ(world.monitorCount("ERROR ***", "could not be written"), 1);
    ASSERT_TRUE(QDir().mkpath(sub));
    inMissing.comparetimer();
    inMissing.Checkarraytimer();
    EXPECT_TRUE(QFile::exists(sub + "/areastatus.csv"));
}

TEST_F(StatusFileTest, UnreadablePathIsReportedAndNeverReplaced) {
    ASSERT_TRUE(QDir().mkpath(path));  // a folder where the file should be
    secondPasses();
    secondPasses();
    EXPECT_EQ(world.monitorCount("ERROR ***", "could not be read"), 1);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(StatusFileTest, TimersCarryOutAnEditByThemselves) {
    file.start();
    typeRequest(12, "5");
    world.clock.advance(StatusFile::kCheckMs + StatusFile::kRequestMs);
    EXPECT_FALSE(world.sent.hex.empty());
    world.clock.advance(StatusFile::kCheckMs);
    EXPECT_EQ(rowOf(12), "12,unknown,");
    file.stop();
}

}  // namespace
}  // namespace qv::exchange
