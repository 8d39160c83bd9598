#pragma once
// The program's comms: sendRS232 and the out box, the receive path into the
// in box, the choice and opening of the link (GetCommsMethod: a serial port
// or the QuorvelServers) and the link's housekeeping timers.

#include "clock/clock.h"
#include "comms/framer.h"
#include "comms/in_box.h"
#include "comms/link.h"
#include "comms/monitor_writer.h"
#include "comms/out_box.h"
#include "net/message.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QSettings>

#include <array>
#include <functional>
#include <memory>
#include <utility>

namespace qv::comms {

class SerialComms : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultReleaseRateMs = 25;
    static constexpr int kCommsTimeoutMs = 5000;
    static constexpr int kHealthCheckMs = 500;
    static constexpr int kHeartBeatMs = 60000;
    static constexpr int kHeartBeatsPerLine = 10;
    static constexpr int kOpenAttempts = 5;
    // A lost or missing port is tried again this often, for as long as the program runs.
    static constexpr int kReopenMs = 3000;
    // Bytes that do not frame are handed on once the line has been quiet this long.
    static constexpr int kQuietGapMs = 100;
    // The per-user setting "LastMessageIn" is written at once after a quiet
    // spell and then at most this often while messages keep coming, always
    // with the last one heard: every write rewrites the settings file.
    static constexpr int kLastMessageInMs = 1000;
    // An open of the server link waits this long at most for a server to answer.
    static constexpr int kConnectWaitMs = 10000;

    SerialComms(const Clock& clock, store::MonitorSink& monitor, InBox& inbox, LinkFactory linkFactory,
                QSettings& userSettings, QObject* parent = nullptr);
    ~SerialComms() override;

    // The areas this PC may not send to (area 0..255).
    void setDoNotSend(const std::array<bool, 256>& areas) { m_doNotSend = areas; }
    // The out box's release rate in ms.
    void setReleaseRate(int ms);
    // USB mode: reads wait until the line has been quiet for delayMs.
    void setUsb(bool useUsb, int delayMs);
    // The single entry point for everything sent to the network: through the
    // out box, or straight to a link that does without it (the server link).
    void sendRS232(const net::RawMessage& message);

    // Opens the serial port with these settings: close, 200 ms, close, 800 ms,
    // open, 800 ms; a port in use is tried five times. Calls done(true) once
    // the port is open and settled, done(false) after giving up. A port that
    // could not be opened, or that is lost later, is opened again by itself
    // every kReopenMs, with one monitor record when it is lost and one when
    // it is back.
    void GetCommsMethod(const SerialSettings& settings, std::function<void(bool)> done = {});
    // Opens the server link to these addresses at once, in place of any
    // serial port; done(true) as soon as a server answers, done(false) after
    // kConnectWaitMs. The link goes on looking for a server either way.
    void GetCommsMethod(const ServerAddresses& addresses, std::function<void(bool)> done = {});
    // Closes the link and stops every timer, including the reopening.
    void shutdown();
    // Closes the link: a port is not opened again until the next GetCommsMethod.
    void closeSerial();
    // The link health check runs from the end of start-up.
    void startHealthCheck() { m_healthTimer->start(); }
    void stopHeartBeat() { m_heartBeatTimer->stop(); }

    bool isOpen() const { return m_link && m_link->isOpen(); }
    // The port is lost or missing and is being tried again.
    bool reopening() const { return m_reopenTimer->isActive(); }
    std::size_t outboxCount() const { return m_outbox.size(); }
    bool heard() const { return m_heard; }
    bool acknowledged() const { return m_acknowledged; }
    // The link health text of the last health check (empty every other tick).
    QString healthText() const { return m_healthText; }

signals:
    void outboxCountChanged(int count);
    void healthTextChanged(const QString& text);
    // A critical message the user must see (a message box in the windows).
    void alert(const QString& text);
    void linkStateChanged(bool open);
    // Progress of an open, for the start-up caption ("Comms Problem - retrying").
    void progress(const QString& text);

private:
    void RS232outboxTimer();
    void CommsTimeoutTimer();
    void CheckforPCNodeTimer();
    void HeartBeatTimer();
    // Calls then after ms milliseconds, through the event loop. One wait is
    // pending at a time: a newer open replaces the wait of an older one,
    // which would have been abandoned anyway.
    void Waitfor(int ms, std::function<void()> then);
    void attemptOpen(int attempt, quint64 generation, const std::function<void(bool)>& done);
    void onBytes(const QByteArray& bytes);
    void frame(const QByteArray& bytes);
    void handleChunk(const StreamFramer::Chunk& chunk);
    void storeLastMessageIn();
    void giveUp(const QString& text, const std::function<void(bool)>& done, bool tryAgain = true);
    void attachLink(const LinkSettings& settings);
    // Whether messages go through the out box: not to a link that does without it.
    bool viaOutBox() const { return !m_link || m_link->usesOutBox(); }
    void linkLost(const QString& text);
    void reopen();

    const Clock& m_clock;
    MonitorWriter m_monitorWriter;
    InBox& m_inbox;
    LinkFactory m_linkFactory;
    QSettings& m_userSettings;
    std::unique_ptr<Link> m_link;
    SerialSettings m_settings;

    OutBox m_outbox;
    StreamFramer m_framer;
    std::array<bool, 256> m_doNotSend{};

    int m_releaseRateMs = kDefaultReleaseRateMs;
    int m_usbDelayMs = 15;
    std::unique_ptr<Timer> m_outboxTimer;
    std::unique_ptr<Timer> m_usbDelayTimer;
    std::unique_ptr<Timer> m_quietTimer;
    std::unique_ptr<Timer> m_commsTimeoutTimer;
    std::unique_ptr<Timer> m_healthTimer;
    std::unique_ptr<Timer> m_heartBeatTimer;
    std::unique_ptr<Timer> m_reopenTimer;
    std::unique_ptr<Timer> m_lastMessageInTimer;
    std::unique_ptr<Timer> m_waitTimer;
    std::function<void()> m_waitThen;

    bool m_useUsb = false;
    QByteArray m_usbPending;
    QString m_lastMessageIn;  // heard and not yet in the per-user settings
    bool m_heard = false;
    bool m_acknowledged = false;
    bool m_healthPhase = false;
    int m_heartBeats = 0;
    QString m_healthText;
    quint64 m_openGeneration = 0;
    bool m_stuckReported = false;  // "OutBox not being cleared" is in the monitor
};

}  // namespace qv::comms
