#include "comms/serial_comms.h"

#include "comms/logging.h"
#include "net/builders.h"
#include "net/decoder.h"

#include <algorithm>

namespace qv::comms {

namespace {

const QString kOverflowText = QStringLiteral(
    "There is either a problem with the Comms Network or you are trying to fire too many messages "
    "too quickly. Some messages will be deleted and lost to make room.");
const QString kPortInUseText = QStringLiteral(
    "The Com port is in use. Perhaps another program already has it open. (If you are running "
    "QuorvelServer on this machine, it will be using this COM Port) ");
const QString kOutBoxStuckText = QStringLiteral("Comms Problem: OutBox not being cleared. Network Issues?");

QByteArray toBytes(const net::RawMessage& message) {
    return QByteArray(reinterpret_cast<const char*>(message.data()), static_cast<int>(message.size()));
}

}  // namespace

SerialComms::SerialComms(const Clock& clock, store::MonitorSink& monitor, InBox& inbox,
                         LinkFactory linkFactory, QSettings& userSettings, QObject* parent)
    : QObject(parent),
      m_clock(clock),
      m_monitorWriter(monitor, clock),
      m_inbox(inbox),
      m_linkFactory(std::move(linkFactory)),
      m_userSettings(userSettings) {
    m_outboxTimer = clock.createTimer(kDefaultReleaseRateMs, [this] { RS232outboxTimer(); });
    m_usbDelayTimer =
        clock.createSingleShot(m_usbDelayMs, [this] { frame(std::exchange(m_usbPending, {})); });
    m_quietTimer = clock.createSingleShot(kQuietGapMs, [this] {
        m_framer.flush([this](const StreamFramer::Chunk& chunk) { handleChunk(chunk); });
    });
    m_commsTimeoutTimer = clock.createTimer(kCommsTimeoutMs, [this] { CommsTimeoutTimer(); });
    m_healthTimer = clock.createTimer(kHealthCheckMs, [this] { CheckforPCNodeTimer(); });
    m_heartBeatTimer = clock.createTimer(kHeartBeatMs, [this] { HeartBeatTimer(); });
    m_heartBeatTimer->start();
    m_reopenTimer = clock.createSingleShot(kReopenMs, [this] { reopen(); });
    m_lastMessageInTimer = clock.createSingleShot(kLastMessageInMs, [this] { storeLastMessageIn(); });
    m_waitTimer = clock.createSingleShot(0, [this] {
        if (auto then = std::exchange(m_waitThen, {})) then();
    });
}

SerialComms::~SerialComms() {
    shutdown();
}

void SerialComms::setReleaseRate(int ms) {
    m_releaseRateMs = std::clamp(ms, 10, 1000);
    if (m_outboxTimer->isActive()) m_outboxTimer->start(m_releaseRateMs);
}

void SerialComms::setUsb(bool useUsb, int delayMs) {
    m_useUsb = useUsb;
    m_usbDelayMs = std::clamp(delayMs, 1, 2000);
}

void SerialComms::sendRS232(const net::RawMessage& message) {
    if (message[0] == net::kAreaSync && m_doNotSend[message[1]]) {
        m_monitorWriter.warning(QStringLiteral("You do not have permission to this Area"),
                                {.area = QString::number(message[1]), .preset = QStringLiteral("96")});
        return;
    }
    if (!viaOutBox()) {
        m_link->send(toBytes(message));
        return;
    }
    m_outbox.push(message);
    if (!m_outboxTimer->isActive()) m_outboxTimer->start(m_releaseRateMs);
}

void SerialComms::RS232outboxTimer() {
    emit outboxCountChanged(static_cast<int>(m_outbox.size()));
    if (m_outbox.empty()) {
        m_outboxTimer->stop();
        return;
    }
    if (!m_commsTimeoutTimer->isActive()) m_commsTimeoutTimer->start();
    const OutBox::Tick tick = m_outbox.tick();
    if (tick.overflowed) {
        emit alert(kOverflowText);
        m_monitorWriter.error(kOverflowText);
    }
    // A failed write is not fatal: the head stays and goes again next tick.
    if (tick.write && m_link && viaOutBox()) m_link->send(toBytes(*tick.write));
}

void SerialComms::onBytes(const QByteArray& bytes) {
    if (m_useUsb) {
        // The read waits until the line has been quiet for the USB delay.
        m_usbPending.append(bytes);
        m_usbDelayTimer->start(m_usbDelayMs);
        return;
    }
    frame(bytes);
}

void SerialComms::frame(const QByteArray& bytes) {
    m_framer.feed(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  static_cast<std::size_t>(bytes.size()),
                  [this](const StreamFramer::Chunk& chunk) { handleChunk(chunk); });
    if (m_framer.hasPending())
        m_quietTimer->start();
    else
        m_quietTimer->stop();
}

void SerialComms::handleChunk(const StreamFramer::Chunk& chunk) {
    if (chunk.size() == net::kMessageSize) {
        net::RawMessage heard;
        std::copy(chunk.begin(), chunk.end(), heard.begin());
        if (m_outbox.acknowledge(heard)) {
            m_commsTimeoutTimer->stop();
            m_acknowledged = true;
            if (std::exchange(m_stuckReported, false))
                m_monitorWriter.system(QStringLiteral("Comms: the OutBox is being cleared again"));
        }
    }
    m_heard = true;
    const std::string hex = net::toReceivedHex(chunk);
    m_lastMessageIn = QString::fromStdString(hex);
    if (!m_lastMessageInTimer->isActive()) storeLastMessageIn();
    m_inbox.append(net::makeInboxLine(hex, m_clock.nowText().toStdString(), "Comms"));
    if (!m_outbox.empty() && !m_outboxTimer->isActive()) m_outboxTimer->start(m_releaseRateMs);
}

void SerialComms::storeLastMessageIn() {
    if (m_lastMessageIn.isNull()) return;
    m_userSettings.setValue(QStringLiteral("Client/LastMessageIn"), std::exchange(m_lastMessageIn, {}));
    m_lastMessageInTimer->start();
}

void SerialComms::Waitfor(int ms, std::function<void()> then) {
    m_waitThen = std::move(then);
    m_waitTimer->start(ms);
}

void SerialComms::GetCommsMethod(const SerialSettings& settings, std::function<void(bool)> done) {
    if (!viaOutBox()) {
        // Until the port is open, messages wait in the out box.
        m_link->close();
        m_link.reset();
    }
    m_settings = settings;
    m_reopenTimer->stop();
    const quint64 generation = ++m_openGeneration;
    attemptOpen(1, generation, done);
}

void SerialComms::GetCommsMethod(const ServerAddresses& addresses, std::function<void(bool)> done) {
    closeSerial();
    attachLink(addresses);
    if (!m_link) {
        if (done) done(false);
        return;
    }
    m_link->open();
    if (done) m_link->whenOpen(kConnectWaitMs, std::move(done));
}

void SerialComms::giveUp(const QString& text, const std::function<void(bool)>& done, bool tryAgain) {
    emit alert(text);
    m_monitorWriter.error(text);
    // The gateway may be plugged in later: the program goes on and keeps trying.
    if (tryAgain) m_reopenTimer->start();
    if (done) done(false);
}

void SerialComms::attachLink(const LinkSettings& settings) {
    m_link = m_linkFactory(settings);
    if (!m_link) return;
    connect(m_link.get(), &Link::received, this, &SerialComms::onBytes);
    connect(m_link.get(), &Link::errorOccurred, this, [this](const QString& text) {
        if (m_link && !m_link->isOpen()) {
            linkLost(text);
            return;
        }
        m_monitorWriter.error(QStringLiteral("Serial port error: %1").arg(text));
    });
}

void SerialComms::linkLost(const QString& text) {
    if (m_reopenTimer->isActive()) return;
    m_monitorWriter.error(
        QStringLiteral(
            "Serial port error: %1. The link on %2 is lost; it is opened again as soon as it is back")
            .arg(text, m_settings.portName));
    emit linkStateChanged(false);
    m_reopenTimer->start();
}

void SerialComms::reopen() {
    // Quietly: one record said it was lost, the next one says it is back.
    if (m_link) m_link->close();
    attachLink(m_settings);
    if (m_link->open() != Link::OpenError::None) {
        m_link->close();
        m_reopenTimer->start();
        return;
    }
    m_monitorWriter.system(QStringLiteral("The serial link on %1 is back: Initialise Comms %2")
                               .arg(m_settings.portName, m_settings.settingsText()));
    m_framer = {};
    m_usbPending.clear();
    if (!m_outbox.empty()) m_outboxTimer->start(m_releaseRateMs);
    emit linkStateChanged(true);
}

void SerialComms::attemptOpen(int attempt, quint64 generation, const std::function<void(bool)>& done) {
    if (m_link) m_link->close();
    Waitfor(200, [=, this] {
        if (generation != m_openGeneration) return;
        if (m_link) m_link->close();
        Waitfor(800, [=, this] {
            if (generation != m_openGeneration) return;
            attachLink(m_settings);
            const QString port = m_settings.portName;
            switch (m_link->open()) {
                case Link::OpenError::None:
                    m_monitorWriter.system(
                        QStringLiteral("Initialise Comms %1 COM:%2").arg(m_settings.settingsText(), port));
                    Waitfor(800, [=, this] {
                        if (generation != m_openGeneration) return;
                        emit linkStateChanged(true);
                        if (done) done(true);
                    });
                    return;
                case Link::OpenError::InUse:
                    if (attempt < kOpenAttempts) {
                        qCInfo(lcComms) << "port" << port << "in use, trying again";
                        emit progress(QStringLiteral("Comms Problem - retrying"));
                        attemptOpen(attempt + 1, generation, done);
                    } else {
                        giveUp(kPortInUseText, done);
                    }
                    return;
                case Link::OpenError::NoPermission:
                    giveUp(QStringLiteral(
                               "The serial port %1 may not be opened by this user (permission denied). "
                               "Add the user to the group that owns the port, such as dialout.")
                               .arg(port),
                           done);
                    return;
                case Link::OpenError::NoSuchPort:
                    giveUp(QStringLiteral("There is some problem with that port number ") + port, done);
                    return;
                case Link::OpenError::BadSettings:
                    // Trying again would not help: the settings must change first.
                    giveUp(QStringLiteral("The serial settings %1 can not be used on %2")
                               .arg(m_settings.settingsText(), port),
                           done, false);
                    return;
                case Link::OpenError::Other:
                    giveUp(QStringLiteral("The serial port %1 could not be opened: %2")
                               .arg(port, m_link->errorText()),
                           done);
                    return;
            }
        });
    });
}

void SerialComms::shutdown() {
    closeSerial();
    storeLastMessageIn();
    m_lastMessageInTimer->stop();
    for (Timer* timer : {m_outboxTimer.get(), m_usbDelayTimer.get(), m_quietTimer.get(),
                         m_commsTimeoutTimer.get(), m_healthTimer.get(), m_heartBeatTimer.get()})
        timer->stop();
}

void SerialComms::closeSerial() {
    ++m_openGeneration;  // abandons an open in progress
    m_waitTimer->stop();
    m_waitThen = {};
    m_reopenTimer->stop();
    if (m_link) m_link->close();
}

void SerialComms::CommsTimeoutTimer() {
    m_acknowledged = false;
    // The health text alternates with an empty one; the monitor hears of a
    // stuck head once, and once more when it clears.
    if (!m_outbox.empty() && viaOutBox() && !std::exchange(m_stuckReported, true))
        m_monitorWriter.warning(kOutBoxStuckText);
}

void SerialComms::CheckforPCNodeTimer() {
    QString text;
    m_healthPhase = !m_healthPhase;
    if (!m_healthPhase) {
        if (!m_heard)
            text = QStringLiteral("Comms Problem: PC Node not connected ?");
        else if (!m_acknowledged)
            text = kOutBoxStuckText;
    }
    if (text != m_healthText) {
        m_healthText = text;
        emit healthTextChanged(text);
    }
}

void SerialComms::HeartBeatTimer() {
    if (++m_heartBeats < kHeartBeatsPerLine) return;
    m_heartBeats = 0;
    m_monitorWriter.write(store::MonitorType::HeartBeat, QStringLiteral("Quorvel Lives"));
}

}  // namespace qv::comms
