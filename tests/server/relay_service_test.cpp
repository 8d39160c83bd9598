// The whole relay in one process, its gateway played by the test: a client's
// message reaches the gateway and is written until its echo comes back; what
// the gateway hears reaches the client; status requests report what was
// heard; a lost gateway makes the relay fall silent so clients fail over.

#include "server/relay_service.h"

#include "comms/fake_link.h"
#include "comms/server_link.h"
#include "net/builders.h"
#include "support/qt_support.h"

#include <gtest/gtest.h>

#include <optional>

namespace qv::server {
namespace {

QByteArray bytesOf(const net::RawMessage& m) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), 8);
}

class RelayServiceTest : public ::testing::Test {
protected:
    RelayServiceTest() : clientInbox(clock, names, clientState, clientMonitor) {
        QObject::connect(service.get(), &RelayService::ready, [this] { ready = true; });
        QObject::connect(service.get(), &RelayService::failed, [this](const QString& why) { failure = why; });
    }
    ~RelayServiceTest() override {
        if (link) link->stop();
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
        comms::ServerLinkDeps deps{clock,
                                   clientMonitor,
                                   clientInbox,
                                   clientState,
                                   lights,
                                   [this](int area, int preset) { presetReports.emplace_back(area, preset); },
                                   QStringLiteral("TESTPC"),
                                   QStringLiteral("127.0.0.1")};
        link = std::make_unique<comms::ServerLink>(std::move(deps), comms::ServerAddresses{},
                                                   comms::ServerPorts{service->server().port(), 0, 9, 0});
        link->start({QStringLiteral("127.0.0.1"), QString(), QStringLiteral("127.0.0.1")});
        ASSERT_TRUE(test::runUntil(clock, [&] { return link->primaryConnected(); }));
    }

    int writes(const net::RawMessage& m) const {
        return static_cast<int>(std::count(gateway->written.begin(), gateway->written.end(), bytesOf(m)));
    }

    int clientHeard(const std::string& hex) const {
        return clientMonitor.count([&](const store::MonitorRecord& r) {
            return r.MsgType == "QuorvelServer" && r.RS232 == QString::fromStdString(hex);
        });
    }

    struct App {
        App() { test::qtApp(); }
    } app;
    test::ManualClock clock;
    test::RecordingMonitor relayLog;
    comms::Link::OpenError openResult = comms::Link::OpenError::None;
    test::FakeLink* gateway = nullptr;
    std::unique_ptr<RelayService> service =
        std::make_unique<RelayService>(options(), clock, relayLog, factory());
    bool ready = false;
    std::optional<QString> failure;

    net::NameTables names;
    net::AreaState clientState;
    test::RecordingMonitor clientMonitor;
    comms::InBox clientInbox;
    comms::ServerStatusLights lights;
    std::unique_ptr<comms::ServerLink> link;
    std::vector<std::pair<int, int>> presetReports;
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
    ASSERT_TRUE(test::runUntil(clock, [&] { return clientHeard(hex) == 1; }));
    const int written = writes(message);
    test::runUntil(
        clock, [] { return false; }, 1000);
    EXPECT_EQ(writes(message), written);
    EXPECT_EQ(service->areaState().GetPresetforArea(5), 3);

    // The report, not the relayed echo, is what reaches the button hook.
    clientState.reset();
    ASSERT_TRUE(link->AreaPresetStatusRequest());
    ASSERT_TRUE(test::runUntil(clock, [&] { return clientState.GetPresetforArea(5) == 3; }));
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
