// The keep-alive against a fake service manager: a datagram socket named by
// NOTIFY_SOCKET, with WATCHDOG_USEC set and no per-user setting.

#include "shell/watchdog.h"

#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <cstdlib>
#include <cstring>

namespace qv::shell {
namespace {

TEST(Watchdog, SystemdsIntervalAloneStartsThePingsAfterReady) {
    test::qtApp();
    QTemporaryDir dir;
    const QByteArray path = dir.filePath(QStringLiteral("notify")).toUtf8();
    const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::setenv("NOTIFY_SOCKET", path.constData(), 1);
    ::setenv("WATCHDOG_USEC", "300000", 1);  // 300 ms: pings every 150 ms
    ::unsetenv("WATCHDOG_PID");

    EXPECT_EQ(Watchdog::refreshMs(false), 150);
    Watchdog::notifyReady();
    test::ManualClock clock;
    Watchdog watchdog(clock);
    ASSERT_TRUE(watchdog.start(false));
    clock.advance(500);
    watchdog.stop();

    QStringList said;
    char buffer[256];
    for (ssize_t n; (n = ::recv(fd, buffer, sizeof(buffer), 0)) > 0;)
        said << QString::fromUtf8(buffer, static_cast<int>(n));
    ::close(fd);
    ::unsetenv("NOTIFY_SOCKET");
    ::unsetenv("WATCHDOG_USEC");
    ASSERT_FALSE(said.isEmpty());
    EXPECT_EQ(said.first(), QStringLiteral("READY=1"));
    // one at start, then every 150 ms
    EXPECT_EQ(said.count(QStringLiteral("WATCHDOG=1")), 4) << said.join(' ').toStdString();
    EXPECT_EQ(said.last(), QStringLiteral("STOPPING=1"));
    // Without systemd's interval, only the per-user setting asks for pings.
    EXPECT_EQ(Watchdog::refreshMs(false), 0);
}

}  // namespace
}  // namespace qv::shell
