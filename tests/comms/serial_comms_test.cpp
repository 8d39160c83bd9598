// The serial side against a fake gateway: permissions, echo, overflow, the
// port's open rules, USB quiet-gap reads and the housekeeping timers.

#include "comms/serial_comms.h"
#include "comms/fake_link.h"
#include "net/builders.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::comms {
namespace {

using test::FakeLink;

QByteArray bytesOf(const net::RawMessage& m) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), 8);
}

class SerialCommsTest : public ::testing::Test {
protected:
    SerialCommsTest()
        : settings(dir.filePath("user.ini"), QSettings::IniFormat),
          inbox(clock, names, state, monitor),
          comms(clock, monitor, inbox, factory(), settings) {
        test::qtApp();
    }

    LinkFactory factory() {
        return [this](const LinkSettings& s) -> std::unique_ptr<Link> {
            const auto result = openResults.empty() ? Link::OpenError::None : openResults.front();
            if (!openResults.empty()) openResults.erase(openResults.begin());
            auto link = std::make_unique<FakeLink>(result);
            if (const auto* serial = std::get_if<SerialSettings>(&s))
                requested = *serial;
            else
                link->outBox = false;
            ++linksMade;
            link_ = link.get();
            return link;
        };
    }

    bool openPort() {
        std::optional<bool> outcome;
        comms.GetCommsMethod(SerialSettings{QStringLiteral("/dev/fake0"), 1}, [&](bool ok) { outcome = ok; });
        for (int i = 0; i < 100 && !outcome; ++i) clock.advance(100);
        return outcome.value_or(false);
    }

    QTemporaryDir dir;
    QSettings settings;
    test::ManualClock clock;
    net::NameTables names;
    net::AreaState state;
    test::RecordingMonitor monitor;
    InBox inbox;
    SerialComms comms;
    std::vector<Link::OpenError> openResults;
    SerialSettings requested;
    FakeLink* link_ = nullptr;
    int linksMade = 0;
};

TEST_F(SerialCommsTest, ForbiddenAreaIsRefusedWithAWarningAndNothingQueued) {
    std::array<bool, 256> forbidden{};
    forbidden[7] = true;
    comms.setDoNotSend(forbidden);
    comms.sendRS232(*net::AskforCurrentPreset(7));
    EXPECT_EQ(comms.outboxCount(), 0u);
    ASSERT_EQ(monitor.records.size(), 1u);
    EXPECT_EQ(monitor.records[0].MsgType, "Warning **");
    EXPECT_EQ(monitor.records[0].comment, "You do not have permission to this Area");
    EXPECT_EQ(monitor.records[0].area, "7");
    EXPECT_EQ(monitor.records[0].Preset, "96");
}

TEST_F(SerialCommsTest, AllAreasMessageIsTestedAgainstAreaZeroOnly) {
    std::array<bool, 256> forbidden{};
    forbidden[5] = true;
    comms.setDoNotSend(forbidden);
    comms.sendRS232(*net::GoAreaPreset(0, 3));
    EXPECT_EQ(comms.outboxCount(), 1u);
    forbidden[0] = true;
    comms.setDoNotSend(forbidden);
    comms.sendRS232(*net::GoAreaPreset(0, 3));
    EXPECT_EQ(comms.outboxCount(), 1u);
}

TEST_F(SerialCommsTest, BoxMessagesIgnoreTheAreaPermissions) {
    std::array<bool, 256> forbidden{};
    forbidden[0xA5] = true;
    comms.setDoNotSend(forbidden);
    comms.sendRS232(*net::SensorLuxRequest(7));
    EXPECT_EQ(comms.outboxCount(), 1u);
}

TEST_F(SerialCommsTest, ServerLinkTakesMessagesInsteadOfTheOutBoxUntilAPortIsChosen) {
    std::optional<bool> connected;
    comms.GetCommsMethod(ServerAddresses{QStringLiteral("relay.example")}, [&](bool ok) { connected = ok; });
    EXPECT_EQ(connected, std::optional<bool>(true));
    const net::RawMessage message = *net::AskforCurrentPreset(3);
    comms.sendRS232(message);
    ASSERT_EQ(link_->written.size(), 1u);
    EXPECT_EQ(link_->written[0], QByteArray(reinterpret_cast<const char*>(message.data()), 8));
    EXPECT_EQ(comms.outboxCount(), 0u);

    ASSERT_TRUE(openPort());
    comms.sendRS232(message);
    EXPECT_EQ(comms.outboxCount(), 1u);
}

TEST_F(SerialCommsTest, OpenLogsTheSettingsAndTheHeadGoesUntilItsEcho) {
    ASSERT_TRUE(openPort());
    EXPECT_EQ(monitor.countComment("Initialise Comms 9600,N,8,1 COM:/dev/fake0"), 1);

    const net::RawMessage first = *net::AskforCurrentPreset(1);
    const net::RawMessage second = *net::AskforCurrentPreset(2);
    comms.sendRS232(first);
    comms.sendRS232(second);
    clock.advance(3 * SerialComms::kDefaultReleaseRateMs);
    ASSERT_EQ(link_->written.size(), 3u);
    for (const QByteArray& w : link_->written) EXPECT_EQ(w, bytesOf(first));  // no echo yet: again and again

    const auto lastMessageIn = [&] {
        return settings.value("Client/LastMessageIn").toString().toStdString();
    };
    link_->inject(bytesOf(first));
    EXPECT_TRUE(comms.acknowledged());
    EXPECT_EQ(comms.outboxCount(), 1u);
    EXPECT_EQ(lastMessageIn(), net::toReceivedHex(first.data(), 8));
    clock.advance(SerialComms::kDefaultReleaseRateMs);
    EXPECT_EQ(link_->written.back(), bytesOf(second));
    link_->inject(bytesOf(second));
    EXPECT_EQ(comms.outboxCount(), 0u);

    // Each echo is heard and goes to the in box; the per-user setting,
    // written at most once a second, has the last one by the shutdown.
    clock.advance(InBox::kTickMs);
    EXPECT_EQ(inbox.decodedCount(), 2u);
    EXPECT_EQ(monitor.countComment("what preset is area 2 in?"), 1);
    comms.shutdown();
    EXPECT_EQ(lastMessageIn(), net::toReceivedHex(second.data(), 8));
}

TEST_F(SerialCommsTest, MessagesSplitAndJoinedAcrossReadsAreAllDecoded) {
    ASSERT_TRUE(openPort());
    const QByteArray a = bytesOf(*net::GoAreaPreset(5, 3));
    const QByteArray b = bytesOf(*net::AskforCurrentPreset(5));
    link_->inject(a.left(3));
    link_->inject(a.mid(3) + b);
    clock.advance(InBox::kTickMs);
    EXPECT_EQ(inbox.decodedCount(), 2u);
    EXPECT_EQ(monitor.countComment("Set area 5 to preset 3"), 1);
    EXPECT_EQ(monitor.countComment("what preset is area 5 in?"), 1);
}

TEST_F(SerialCommsTest, GarbageReachesTheMonitorUndecodedAfterTheQuietGap) {
    ASSERT_TRUE(openPort());
    link_->inject(QByteArray("\x01\x02\x03", 3));
    clock.advance(SerialComms::kQuietGapMs - 1);
    EXPECT_EQ(inbox.decodedCount(), 0u);
    clock.advance(1 + InBox::kTickMs);
    ASSERT_EQ(inbox.decodedCount(), 1u);
    const auto& r = monitor.records.back();
    EXPECT_EQ(r.RS232, "01 02 03");
    EXPECT_EQ(r.comment, "");
    EXPECT_EQ(r.ChannelLevel, "100");

    // A message with a bad checksum after a good one: reported for its own
    // area with preset 0, nothing carried over from the line before.
    QByteArray bad = bytesOf(*net::GoAreaPreset(12, 4));
    bad[7] = static_cast<char>(bad[7] + 1);
    link_->inject(bytesOf(*net::GoAreaPreset(5, 3)) + bad);
    clock.advance(SerialComms::kQuietGapMs + InBox::kTickMs);
    ASSERT_EQ(inbox.decodedCount(), 3u);
    const auto& b = monitor.records.back();
    EXPECT_TRUE(b.RS232.startsWith("1C 0C ")) << b.RS232.toStdString();
    EXPECT_EQ(b.area, "12");
    EXPECT_EQ(b.Preset, "0");
    EXPECT_EQ(b.comment, "");
    EXPECT_EQ(b.ChannelLevel, "100");
}

TEST_F(SerialCommsTest, OverflowDiscardsTheOldestWithTheCriticalMessage) {
    ASSERT_TRUE(openPort());
    QStringList alerts;
    QObject::connect(&comms, &SerialComms::alert, [&](const QString& t) { alerts << t; });
    for (int i = 0; i < 501; ++i) comms.sendRS232(*net::ChannelLevelMessage(1, 1 + i % 200, i % 256));
    clock.advance(SerialComms::kDefaultReleaseRateMs);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_TRUE(alerts[0].startsWith("There is either a problem with the Comms Network"));
    EXPECT_EQ(comms.outboxCount(), 251u);
}

TEST_F(SerialCommsTest, PortInUseIsTriedFiveTimesThenReported) {
    openResults.assign(5, Link::OpenError::InUse);
    QStringList alerts;
    QObject::connect(&comms, &SerialComms::alert, [&](const QString& t) { alerts << t; });
    EXPECT_FALSE(openPort());
    EXPECT_EQ(linksMade, 5);
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_TRUE(alerts[0].startsWith("The Com port is in use. Perhaps another program already has it open."));
}

TEST_F(SerialCommsTest, PortInUseThatFreesUpOpensOnALaterTry) {
    openResults = {Link::OpenError::InUse, Link::OpenError::None};
    EXPECT_TRUE(openPort());
    EXPECT_EQ(linksMade, 2);
}

TEST_F(SerialCommsTest, MissingPortIsReportedAtOnce) {
    openResults = {Link::OpenError::NoSuchPort};
    QStringList alerts;
    QObject::connect(&comms, &SerialComms::alert, [&](const QString& t) { alerts << t; });
    EXPECT_FALSE(openPort());
    EXPECT_EQ(linksMade, 1);
    EXPECT_EQ(alerts, QStringList{"There is some problem with that port number /dev/fake0"});
}

TEST_F(SerialCommsTest, UsbModeReadsOnceTheLineIsQuiet) {
    comms.setUsb(true, 60);
    ASSERT_TRUE(openPort());
    const QByteArray m = bytesOf(*net::AskforCurrentPreset(4));
    for (int i = 0; i < 8; ++i) {
        link_->inject(m.mid(i, 1));
        clock.advance(59);  // shorter than the delay: the timer restarts each time
        EXPECT_EQ(inbox.decodedCount(), 0u);
    }
    clock.advance(1 + InBox::kTickMs);
    EXPECT_EQ(inbox.decodedCount(), 1u);
    EXPECT_EQ(monitor.countComment("what preset is area 4 in?"), 1);
}

TEST_F(SerialCommsTest, HealthTextAlternatesAndNamesTheProblem) {
    comms.startHealthCheck();
    clock.advance(SerialComms::kHealthCheckMs);
    EXPECT_EQ(comms.healthText(), "");
    clock.advance(SerialComms::kHealthCheckMs);
    EXPECT_EQ(comms.healthText(), "Comms Problem: PC Node not connected ?");
    clock.advance(SerialComms::kHealthCheckMs);
    EXPECT_EQ(comms.healthText(), "");
}

TEST_F(SerialCommsTest, HeartBeatEveryTenthTick) {
    clock.advance(9 * SerialComms::kHeartBeatMs);
    EXPECT_EQ(monitor.countComment("Quorvel Lives"), 0);
    clock.advance(SerialComms::kHeartBeatMs);
    EXPECT_EQ(monitor.countComment("Quorvel Lives"), 1);
    EXPECT_EQ(monitor.records.back().MsgType, "HeartBeat");
}

// A port that keeps failing is one record, not one per error; a head that is
// never echoed is reported once, and once more when it clears.
TEST_F(SerialCommsTest, ALostPortAndAStuckOutBoxAreEachReportedOnce) {
    ASSERT_TRUE(openPort());
    const net::RawMessage message = *net::GoAreaPreset(5, 3);
    comms.sendRS232(message);
    clock.advance(2 * SerialComms::kCommsTimeoutMs + SerialComms::kDefaultReleaseRateMs);
    ASSERT_FALSE(link_->written.empty());
    const QString stuck = QStringLiteral("Comms Problem: OutBox not being cleared. Network Issues?");
    EXPECT_EQ(monitor.countComment(stuck), 1);
    link_->inject(bytesOf(message));
    EXPECT_EQ(monitor.countComment(QStringLiteral("Comms: the OutBox is being cleared again")), 1);

    const auto before = monitor.records.size();
    link_->close();
    for (int i = 0; i < 1000; ++i) emit link_->errorOccurred(QStringLiteral("Input/output error"));
    EXPECT_EQ(monitor.records.size(), before + 1);
    EXPECT_TRUE(comms.reopening());
}

}  // namespace
}  // namespace qv::comms
