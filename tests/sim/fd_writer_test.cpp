#include "sim/fd_writer.h"
#include "pty_client.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <csignal>

namespace qv::sim {
namespace {

// A pipe with the smallest buffer the kernel allows, so writes soon come
// back short or refused.
class FdWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(::pipe2(m_pipe, O_NONBLOCK | O_CLOEXEC), 0);
        ::fcntl(m_pipe[1], F_SETPIPE_SZ, 4096);
    }
    void TearDown() override {
        ::close(m_pipe[0]);
        ::close(m_pipe[1]);
    }
    QByteArray drain() {
        QByteArray got;
        char buffer[8192];
        ssize_t n;
        while ((n = ::read(m_pipe[0], buffer, sizeof buffer)) > 0) got.append(buffer, n);
        return got;
    }
    // Each write filled with its own byte value, to tell them apart.
    static QByteArray chunk(int index, int size) { return QByteArray(size, char(1 + index)); }

    int m_pipe[2] = {-1, -1};
};

TEST_F(FdWriterTest, ShortWritesAreFinishedLaterInOrder) {
    FdWriter writer;
    writer.setFd(m_pipe[1]);
    QByteArray expected;
    for (int i = 0; i < 40; ++i) {
        writer.write(chunk(i, 1000 + i));
        expected += chunk(i, 1000 + i);
    }
    EXPECT_GT(writer.queuedBytes(), 0u);  // the pipe could not take it all
    QByteArray got;
    ASSERT_TRUE(test::pumpUntil(
        [&] {
            got += drain();
            return got.size() >= expected.size();
        },
        5000));
    EXPECT_EQ(got, expected);
    EXPECT_EQ(writer.queuedBytes(), 0u);
    EXPECT_EQ(writer.droppedBytes(), 0u);
}

TEST_F(FdWriterTest, AReaderThatStopsLosesWholeWritesOnly) {
    FdWriter writer(3000);
    writer.setFd(m_pipe[1]);
    for (int i = 0; i < 30; ++i) writer.write(chunk(i, 700));
    EXPECT_LE(writer.queuedBytes(), 3000u + 700u);
    EXPECT_GT(writer.droppedBytes(), 0u);
    EXPECT_EQ(writer.droppedBytes() % 700, 0u);
    QByteArray got;
    test::pumpUntil(
        [&] {
            got += drain();
            return writer.queuedBytes() == 0;
        },
        5000);
    got += drain();
    // Whatever arrived is whole writes, oldest first, the last one included.
    ASSERT_EQ(got.size() % 700, 0);
    int previous = -1;
    for (qsizetype at = 0; at < got.size(); at += 700) {
        const QByteArray piece = got.mid(at, 700);
        EXPECT_EQ(piece.count(piece[0]), 700);
        const int index = piece[0] - 1;
        EXPECT_GT(index, previous);
        previous = index;
    }
    EXPECT_EQ(previous, 29);
}

TEST_F(FdWriterTest, ReportsADeadDescriptor) {
    FdWriter writer;
    writer.setFd(m_pipe[1]);
    ::close(m_pipe[0]);
    m_pipe[0] = ::open("/dev/null", O_RDONLY);  // keep TearDown simple
    int reported = 0;
    QObject::connect(&writer, &FdWriter::failed, [&](int error) { reported = error; });
    ::signal(SIGPIPE, SIG_IGN);
    writer.write("x");
    EXPECT_EQ(reported, EPIPE);
    EXPECT_EQ(writer.queuedBytes(), 0u);
}

}  // namespace
}  // namespace qv::sim
