// The built quorvel-sim, run as the program and the integration tests run it.

#include "messages.h"
#include "pty_client.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

using test::bytes;
using test::hexOf;
using test::PtyClient;

class SimProcess : public ::testing::Test {
protected:
    void TearDown() override {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    // Starts the simulator and returns the line it prints once listening.
    QString start(const QStringList& extra) {
        m_link = m_dir.filePath(QStringLiteral("gateway"));
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QStringLiteral(QUORVEL_SIM_PATH), QStringList{"--link", m_link, "--quiet"} + extra);
        const QDeadlineTimer deadline(10000);
        while (!m_process.canReadLine() && !deadline.hasExpired() &&
               m_process.state() != QProcess::NotRunning)
            m_process.waitForReadyRead(50);
        return QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }

    // SIGTERM, as the program's own launcher stops it.
    void stop() {
        m_process.terminate();
        ASSERT_TRUE(m_process.waitForFinished(5000));
        EXPECT_EQ(m_process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(m_process.exitCode(), 0);
    }

    QTemporaryDir m_dir;
    QString m_link;
    QProcess m_process;
};

TEST_F(SimProcess, ListensEchoesAndAnswersOverTheLink) {
    const QString line = start({"--seed", "1", "--devices", "20:12:2.0"});
    const QRegularExpression listening(
        QStringLiteral("^quorvel-sim: listening on (/dev/pts/\\d+) \\(link (.+)\\)$"));
    const auto match = listening.match(line);
    ASSERT_TRUE(match.hasMatch()) << line.toStdString();
    EXPECT_EQ(match.captured(2), m_link);
    EXPECT_EQ(QFileInfo(m_link).symLinkTarget(), match.captured(1));

    PtyClient client(m_link);
    ASSERT_TRUE(client.isOpen());
    const QByteArray request = bytes("5C 20 0C 80 00 00 00");
    ASSERT_TRUE(client.write(request));
    EXPECT_EQ(hexOf(client.read(16, 3000)), hexOf(request + bytes("5C 20 0C 00 02 00 00 76")));
    client.close();

    stop();
    EXPECT_FALSE(QFileInfo(m_link).isSymLink());
}

TEST_F(SimProcess, FloodReachesTwentyThousandMessagesASecond) {
    ASSERT_FALSE(start({"--flood", "20000", "--seed", "3"}).isEmpty());
    PtyClient client(m_link);
    ASSERT_TRUE(client.isOpen());
    // From the first batch on, one second's worth.
    QByteArray got = client.read(8, 3000);
    ASSERT_FALSE(got.isEmpty());
    QDeadlineTimer second(1000);
    while (!second.hasExpired()) got += client.read(1 << 20, int(second.remainingTime()));
    // Every message whole and valid, and most of the rate delivered even on
    // a loaded machine.
    std::size_t valid = 0;
    const auto* data = reinterpret_cast<const std::uint8_t*>(got.constData());
    for (qsizetype at = 0; at + 8 <= got.size(); at += 8) {
        net::RawMessage m;
        std::copy_n(data + at, 8, m.begin());
        if (net::isFramable(m)) ++valid;
    }
    EXPECT_EQ(valid, std::size_t(got.size() / 8));
    EXPECT_GT(valid, 10000u);
    stop();
}

TEST_F(SimProcess, DurationEndsTheRunAndRemovesTheLink) {
    ASSERT_FALSE(start({"--duration", "0.3"}).isEmpty());
    EXPECT_TRUE(QFileInfo(m_link).isSymLink());
    ASSERT_TRUE(m_process.waitForFinished(5000));
    EXPECT_EQ(m_process.exitCode(), 0);
    EXPECT_FALSE(QFileInfo(m_link).isSymLink());
}

TEST_F(SimProcess, BadOptionExitsWithAReason) {
    m_process.start(QStringLiteral(QUORVEL_SIM_PATH), {"--corrupt", "2"});
    ASSERT_TRUE(m_process.waitForFinished(5000));
    EXPECT_EQ(m_process.exitCode(), 2);
    EXPECT_TRUE(m_process.readAllStandardError().contains("--corrupt"));
}

}  // namespace
}  // namespace qv::sim
