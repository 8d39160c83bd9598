// The whole relay in one process, its gateway played by the test: a client's
// message reaches the gateway and is written until its echo comes back; what
// the gateway hears reaches the client; status requests report what was
// heard; a lost gateway makes the relay fall silent so clients fail over.

#include "server/relay_service.h"

#include "comms/client_link.h"
#include "comms/fake_link.h"
#include "net/builders.h"

#include <gtest/gtest.h>

#include <optional>

namespace qv::server {
namespace {

QByteArray bytesOf(const net::RawMessage& m) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), 8);
}

class RelayServiceTest : public ::testing::Test, protected test::ClientLink {
protected:
    RelayServiceTest() {
        QObject::connect(service.get(), &RelayService::ready, [this] { ready = true; });
        QObject::connect(service.get(), &RelayService::failed, [this](const QString& why) { failure = why; });
    }
    static RelayOptions options() {
        RelayOptions o;
        o.serial.portName = QStringLiteral("/dev/fake0");
        o.port = 0;
        o.releaseRate = 20;
        return o;
    }

    comms::LinkFactory factory() {
        return [this](const comms::LinkSettings&) -> std::unique_ptr<comms::Link> {
            auto made = std::make_unique<test::FakeLink>(openResult);
            gateway = made.get();
            return made;
        };
    }

    void connectClient() {
        makeLink({}, comms::ServerPorts{service->server().port(), 0, 9, 0});
        link->start({QStringLiteral("127.0.0.1"), QString(), QStringLiteral("127.0.0.1")});
        ASSERT_TRUE(test::runUntil(clock, [&] { return link->primaryConnected(); }));
    }

    int writes(const net::RawMessage& m) const {
        return static_cast<int>(std::count(gateway->written.begin(), gateway->written.end(), bytesOf(m)));
    }

    test::RecordingMonitor relayLog;
    comms::Link::OpenError openResult = comms::Link::OpenError::None;
    test::FakeLink* gateway = nullptr;
    std::unique_ptr<RelayService> service =
        std::make_unique<RelayService>(options(), clock, relayLog, factory());
    bool ready = false;
    std::optional<QString> failure;
};

TEST_F(RelayServiceTest, ClientMessagesWaitForTheirEchoAndWhatIsHeardIsRelayed) {
    QString error;
    ASSERT_TRUE(service->start(&error)) << qPrintable(error);
    ASSERT_TRUE(test::runUntil(clock, [&] { return ready; }));
    connectClient();

    const net::RawMessage message = *net::GoAreaPreset(5, 3);
    link->sendRS232(message);
    // Written again on every out-box tick while no echo comes.
    ASSERT_TRUE(test::runUntil(clock, [&] { return writes(message) >= 2; }));

    gateway->inject(bytesOf(message));
    const std::string hex = net::toHex(message);
    ASSERT_TRUE(test::runUntil(clock, [&] { return heard(hex) == 1; }));
    const int written = writes(message);
    test::runUntil(
        clock, [] { return false; }, 1000);
    EXPECT_EQ(writes(message), written);
    EXPECT_EQ(service->areaState().GetPresetforArea(5), 3);

    // The report, not the relayed echo, is what reaches the button hook.
    state.reset();
    ASSERT_TRUE(link->AreaPresetStatusRequest());
    ASSERT_TRUE(test::runUntil(clock, [&] { return state.GetPresetforArea(5) == 3; }));
    EXPECT_EQ(presetReports, (std::vector<std::pair<int, int>>{{5, 3}}));
}

TEST_F(RelayServiceTest, ALostGatewaySilencesTheRelaySoClientsFailOver) {
    QString error;
    ASSERT_TRUE(service->start(&error));
    ASSERT_TRUE(test::runUntil(clock, [&] { return ready; }));
    connectClient();

    gateway->close();
    emit gateway->errorOccurred(QStringLiteral("device removed"));
    ASSERT_TRUE(failure.has_value());
    EXPECT_EQ(*failure, "the gateway link was lost");
    EXPECT_TRUE(test::runUntil(clock, [&] { return !link->primaryConnected(); }));
}

TEST_F(RelayServiceTest, AGatewayThatCannotBeOpenedEndsTheRelayWithTheReason) {
    openResult = comms::Link::OpenError::NoSuchPort;
    QString error;
    ASSERT_TRUE(service->start(&error));
    ASSERT_TRUE(test::runUntil(clock, [&] { return failure.has_value(); }));
    EXPECT_EQ(*failure, "There is some problem with that port number /dev/fake0");
    EXPECT_FALSE(ready);
}

}  // namespace
}  // namespace qv::server
