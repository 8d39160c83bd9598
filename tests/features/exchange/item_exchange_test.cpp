// The item exchange on a real local socket: who may connect, requests over
// the wire, change notices to watchers, and clients that misbehave.

#include "features/exchange/item_exchange.h"
#include "features/exchange/exchange_client.h"
#include "features/exchange/exchange_fixture.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace qv::exchange {
namespace {

using test::ExchangeWorld;
using test::TestClient;

// A plain socket, as socat uses it: it can close its write side and read on.
struct RawClient {
    explicit RawClient(const QString& path) {
        fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, QFile::encodeName(path).constData(), sizeof(addr.sun_path) - 1);
        ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
    ~RawClient() { ::close(fd); }
    void send(const QByteArray& bytes) {
        for (qsizetype done = 0; done < bytes.size();) {
            const ssize_t n =
                ::send(fd, bytes.constData() + done, std::size_t(bytes.size() - done), MSG_DONTWAIT);
            if (n > 0)
                done += n;
            else
                qv::test::waitUntil([] { return false; }, 5);  // let the program read
        }
    }
    // Everything the program sends until it hangs up (or, given a size, until that much came).
    QByteArray readToEnd(qsizetype enough = -1) {
        QByteArray all;
        qv::test::waitUntil(
            [&] {
                char buf[4096];
                for (;;) {
                    const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
                    if (n == 0) return true;
                    if (n < 0) return false;
                    all.append(buf, n);
                    if (enough >= 0 && all.size() >= enough) return true;
                }
            },
            10000);
        return all;
    }
    int fd = -1;
    bool ok = false;
};

class ItemExchangeTest : public ::testing::Test {
protected:
    ItemExchangeTest() { qv::test::qtApp(); }

    ExchangeOptions options() const {
        ExchangeOptions o;
        o.socketPath = path;
        return o;
    }

    QTemporaryDir dir;
    QString path = dir.filePath("quorvel-exchange");
    ExchangeWorld world;
};

TEST_F(ItemExchangeTest, ListensAtThePathForTheUserOnly) {
    ItemExchange exchange(world.deps(), options());
    ASSERT_TRUE(exchange.start());
    EXPECT_TRUE(exchange.isListening());
    EXPECT_EQ(exchange.socketPath(), path);
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & (S_IRWXG | S_IRWXO), 0u);
    EXPECT_EQ(world.monitorCount("System", "open to other programs at " + path), 1);
    EXPECT_TRUE(exchange.items().isLoaded());
}

TEST_F(ItemExchangeTest, SetArea12Then0AgainOverTheWire) {
    ItemExchange exchange(world.deps(), options());
    ASSERT_TRUE(exchange.start());
    TestClient client(path);
    ASSERT_TRUE(client.connected());
    EXPECT_EQ(client.ask("TOPIC"), "OK Quorvel");
    EXPECT_EQ(client.ask("SET SetArea12 5"), "OK");
    EXPECT_EQ(world.sent.hex, std::vector<std::string>{test::kArea12Preset5});
    EXPECT_EQ(client.ask("GET SetArea12"), "OK 0");
    EXPECT_EQ(client.ask("RUN Lobby On"), "OK");
    EXPECT_EQ(world.runner.names, QStringList{"Lobby On"});
}

TEST_F(ItemExchangeTest, WatchersAndOnlyWatchersHearOfChanges) {
    ItemExchange exchange(world.deps(), options());
    ASSERT_TRUE(exchange.start());
    TestClient watcher(path), other(path);
    ASSERT_TRUE(watcher.connected());
    ASSERT_TRUE(other.connected());
    EXPECT_EQ(watcher.ask("WATCH StatusofAreaPreset"), "OK");
    EXPECT_EQ(watcher.ask("WATCH StatusArea12"), "OK");
    ASSERT_TRUE(qv::test::waitUntil([&] { return exchange.watchCount() == 2; }));

    exchange.items().statusHeard(12, 5);
    EXPECT_EQ(watcher.line(), "CHANGED StatusArea12 5");
    EXPECT_EQ(watcher.line(), "CHANGED StatusofAreaPreset 12,5");
    exchange.items().statusHeard(7, 1);
    EXPECT_EQ(watcher.line(), "CHANGED StatusofAreaPreset 7,1");
    // The other client's next line is the reply to its own request.
    EXPECT_EQ(other.ask("GET StatusofAreaPreset"), "OK 7,1");

    EXPECT_EQ(watcher.ask("UNWATCH StatusofAreaPreset"), "OK");
    exchange.items().statusHeard(9, 2);
    EXPECT_EQ(watcher.ask("GET StatusArea9"), "OK 2");
}

TEST_F(ItemExchangeTest, OversizeAndGarbageGetErrorLinesAndTheServerGoesOn) {
    ItemExchange exchange(world.deps(), options());
    ASSERT_TRUE(exchange.start());
    TestClient client(path);
    ASSERT_TRUE(client.connected());

    client.send(QByteArray(100000, 'A'));
    EXPECT_EQ(client.line(), "ERR line too long (at most 1024 bytes)");
    client.send("still the same line\nGET SetArea1\n");
    EXPECT_EQ(client.line(), "OK 0");

    QByteArray garbage;
    for (int i = 0; i < 512; ++i) garbage += static_cast<char>((i * 131 + 7) % 256);
    garbage.replace('\n', 'x');
    client.send(garbage + "\n\n" + QByteArray("\0\0\0", 3) + "\nGET SetArea1\n");
    EXPECT_TRUE(client.line()->startsWith("ERR "));
    EXPECT_EQ(client.line(), "ERR empty line");
    EXPECT_EQ(client.line(), "ERR the line holds control characters");
    EXPECT_EQ(client.line(), "OK 0");

    EXPECT_TRUE(exchange.isListening());
    EXPECT_TRUE(world.sent.hex.empty());
    // Reported once per client, not once per line.
    EXPECT_EQ(world.monitorCount("Warning **", "sent a line that could not be used"), 1);
}

TEST_F(ItemExchangeTest, ClientsBeyondTheCapAreTurnedAway) {
    ExchangeOptions o = options();
    o.maxClients = 2;
    ItemExchange exchange(world.deps(), o);
    ASSERT_TRUE(exchange.start());
    auto first = std::make_unique<TestClient>(path);
    TestClient second(path);
    ASSERT_TRUE(first->connected());
    ASSERT_TRUE(second.connected());
    ASSERT_TRUE(qv::test::waitUntil([&] { return exchange.clientCount() == 2; }));

    TestClient third(path);
    EXPECT_EQ(third.line(), "ERR too many clients (at most 2)");
    world.clock.advance(1000);  // the refused socket is held a second for the refusal to be read
    EXPECT_TRUE(third.closedByServer());
    EXPECT_EQ(second.ask("GET SetArea1"), "OK 0");
    EXPECT_EQ(world.monitorCount("Warning **", "turned away"), 1);

    first.reset();
    ASSERT_TRUE(qv::test::waitUntil([&] { return exchange.clientCount() == 1; }));
    TestClient fourth(path);
    ASSERT_TRUE(fourth.connected());
    EXPECT_EQ(fourth.ask("GET SetArea1"), "OK 0");
}

TEST_F(ItemExchangeTest, WatcherThatDoesNotReadIsLetGo) {
    ExchangeOptions o = options();
    o.maxUnsentBytes = 2048;
    ItemExchange exchange(world.deps(), o);
    ASSERT_TRUE(exchange.start());
    TestClient sleeper(path), reader(path);
    ASSERT_TRUE(sleeper.connected());
    ASSERT_TRUE(reader.connected());
    EXPECT_EQ(sleeper.ask("WATCH StatusArea1"), "OK");
    ASSERT_TRUE(qv::test::waitUntil([&] { return exchange.watchCount() == 1; }));

    // A burst far beyond what may wait unsent, with no chance to deliver it.
    for (int i = 0; i < 200; ++i) exchange.items().statusHeard(1, 1 + i % 2);
    EXPECT_TRUE(sleeper.closedByServer());
    EXPECT_EQ(world.monitorCount("Warning **", "did not read its replies"), 1);
    EXPECT_EQ(reader.ask("GET StatusArea1"), "OK 2");
    EXPECT_TRUE(qv::test::waitUntil([&] { return exchange.clientCount() == 1; }));
}

TEST_F(ItemExchangeTest, RequestsOfAClientThatHangsUpAreStillDone) {
    ItemExchange exchange(world.deps(), options());
    ASSERT_TRUE(exchange.start());
    {
        TestClient client(path);
        ASSERT_TRUE(client.connected());
        client.send("SET SetArea12 5\nRUN Lobby On\n");
        client.socket.disconnectFromServer();
    }
    EXPECT_TRUE(qv::test::waitUntil([&] { return world.runner.names.size() == 1; }));
    EXPECT_EQ(world.sent.hex, std::vector<std::string>{test::kArea12Preset5});
    EXPECT_TRUE(qv::test::waitUntil([&] { return exchange.clientCount() == 0; }));
}

// Leaves a socket file with nobody behind it, as a crash would.
bool makeStaleSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::memcpy(addr.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return bound;
}

TEST_F(ItemExchangeTest, StaleSocketIsReplaced) {
    ASSERT_TRUE(makeStaleSocket(path));
    ItemExchange exchange(world.deps(), options());
    ASSERT_TRUE(exchange.start());
    TestClient client(path);
    ASSERT_TRUE(client.connected());
    EXPECT_EQ(client.ask("TOPIC"), "OK Quorvel");
}

TEST_F(ItemExchangeTest, LiveSocketOfAnotherCopyIsLeftAlone) {
    ItemExchange first(world.deps(), options());
    ASSERT_TRUE(first.start());
    ItemExchange second(world.deps(), options());
    EXPECT_FALSE(second.start());
    EXPECT_EQ(world.monitorCount("ERROR ***", "another program is already answering there"), 1);
    TestClient client(path);
    ASSERT_TRUE(client.connected());
    EXPECT_EQ(client.ask("TOPIC"), "OK Quorvel");
}

TEST_F(ItemExchangeTest, FilesInTheWayAreNeverRemoved) {
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("precious");
    }
    ItemExchange exchange(world.deps(), options());
    EXPECT_FALSE(exchange.start());
    EXPECT_EQ(world.monitorCount("ERROR ***", "not a socket is in the way"), 1);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "precious");
}

TEST_F(ItemExchangeTest, MissingFolderIsAClearError) {
    ExchangeOptions o = options();
    o.socketPath = dir.filePath("no/such/folder/quorvel-exchange");
    ItemExchange exchange(world.deps(), o);
    EXPECT_FALSE(exchange.start());
    EXPECT_EQ(world.monitorCount("ERROR ***", "does not exist"), 1);
}

TEST_F(ItemExchangeTest, StopLetsClientsGoAndStartServesAgain) {
    ItemExchange exchange(world.deps(), options());
    ASSERT_TRUE(exchange.start());
    TestClient client(path);
    ASSERT_TRUE(client.connected());
    EXPECT_EQ(client.ask("TOPIC"), "OK Quorvel");
    exchange.stop();
    EXPECT_TRUE(client.closedByServer());
    EXPECT_FALSE(QFileInfo::exists(path));
    // The items stay loaded: what is heard meanwhile is there after a restart.
    exchange.items().statusHeard(12, 5);
    ASSERT_TRUE(exchange.start());
    TestClient again(path);
    ASSERT_TRUE(again.connected());
    EXPECT_EQ(again.ask("GET StatusArea12"), "OK 5");
}

TEST_F(ItemExchangeTest, DefaultPathIsInTheRuntimeDirectory) {
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    ASSERT_TRUE(QFile::setPermissions(
        dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    ItemExchange exchange(world.deps(), ExchangeOptions{});
    const bool started = exchange.start();
    const QString where = exchange.socketPath();
    exchange.stop();
    if (saved.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
    EXPECT_TRUE(started);
    EXPECT_EQ(where, dir.filePath("quorvel-exchange"));
}

}  // namespace
}  // namespace qv::exchange

namespace qv::exchange {
namespace {

TEST_F(ItemExchangeTest, HalfClosedAndPipelinedClientsGetEveryReplyInOrder) {
    ItemExchange exchange(world.deps(), options());
    ASSERT_TRUE(exchange.start());
    {
        RawClient socat(path);
        ASSERT_TRUE(socat.ok);
        socat.send("TOPIC\nSET SetArea12 5\nGET SetArea12\n");
        ::shutdown(socat.fd, SHUT_WR);
        EXPECT_EQ(socat.readToEnd(), "OK Quorvel\nOK\nOK 0\n");
    }
    // Thousands pipelined, with replies the size of an error: each one answered, in order.
    RawClient piped(path);
    QByteArray requests, expected;
    for (int i = 0; i < 5000; ++i) {
        requests += i % 2 ? "SET SetArea12 97\n" : "TOPIC\n";
        expected += i % 2 ? "ERR SetArea12 takes a preset 0-96, not \"97\"\n" : "OK Quorvel\n";
    }
    piped.send(requests);
    EXPECT_EQ(piped.readToEnd(expected.size()), expected);
}

TEST_F(ItemExchangeTest, SilentClientsAreLetGoButWatchersStay) {
    ExchangeOptions o = options();
    o.idleTimeoutMs = 100;
    o.maxClients = 2;
    ItemExchange exchange(world.deps(), o);
    ASSERT_TRUE(exchange.start());
    RawClient halfLine(path);
    halfLine.send("GET Stat");
    TestClient watcher(path);
    EXPECT_EQ(watcher.ask("WATCH StatusArea1"), "OK");
    world.clock.advance(o.idleTimeoutMs);
    EXPECT_EQ(halfLine.readToEnd(), "");
    TestClient late(path);
    EXPECT_EQ(late.ask("TOPIC"), "OK Quorvel");
    exchange.items().statusHeard(1, 4);
    EXPECT_EQ(watcher.line(), "CHANGED StatusArea1 4");
}

}  // namespace
}  // namespace qv::exchange
