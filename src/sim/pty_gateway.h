#pragma once
// The serial gateway as the PC sees it: a pseudo-terminal whose far end the
// program opens like a serial port. What the PC writes is framed into
// messages, echoed back exactly as heard (the real gateway echoes every
// message it passes to the network) and handed to the simulated network,
// whose answers follow after a short delay. Faults a real line shows (lost
// echoes, bad checksums, messages torn across reads or run together) can be
// switched on.

#include "net/message.h"
#include "sim/device_link.h"
#include "sim/fd_writer.h"
#include "sim/gateway_framer.h"
#include "sim/output_schedule.h"
#include "sim/rng.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

namespace qv::sim {

class SimNetwork;

struct GatewayOptions {
    bool echo = true;
    int replyDelayMs = 5;
    double corruptFraction = 0.0;  // share of outgoing messages given a wrong checksum
    bool split = false;            // every write torn in two, mid-message
    int splitGapMs = 2;            // between the two halves
    bool coalesce = false;         // the echo waits for the answers and leaves with them
    int reconnectPollMs = 10;      // how often to look for a client while none is there
    std::size_t maxQueuedBytes = 1 << 20;
};

class PtyGateway : public QObject {
    Q_OBJECT
public:
    struct Counters {
        std::uint64_t heard = 0;    // messages framed from what the PC wrote
        std::uint64_t sent = 0;     // messages queued for the PC (echoes included)
        std::uint64_t unheard = 0;  // network messages no client was there to hear
        std::uint64_t skippedBytes = 0;
        std::uint64_t droppedBytes = 0;  // lost to a reader that stopped reading
    };

    PtyGateway(SimNetwork& network, const GatewayOptions& options, std::uint64_t seed,
               QObject* parent = nullptr);
    ~PtyGateway() override;

    bool open(QString* error);
    // Also names the device at linkPath; needs open() first.
    bool createLink(const QString& linkPath, QString* error);
    void close();

    QString devicePath() const { return m_devicePath; }
    bool isClientConnected() const { return m_connected; }
    Counters counters() const;

    // Messages heard on the network that the PC did not cause (panel
    // presses, other traffic). They leave in one write.
    void broadcast(const std::vector<net::RawMessage>& messages);

signals:
    void clientConnectedChanged(bool connected);

private:
    void readAvailable();
    void onHeard(const net::RawMessage& message);
    void enqueue(QByteArray bytes, std::int64_t dueMs);
    void release();
    QByteArray outgoing(const net::RawMessage& message);
    void hangUp();
    void discardUnread();
    void pollForClient();
    std::int64_t now() const { return m_clock.elapsed(); }

    SimNetwork& m_network;
    GatewayOptions m_options;
    Rng m_rng;
    int m_master = -1;
    QString m_devicePath;
    bool m_connected = false;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    FdWriter m_writer;
    GatewayFramer m_framer;
    OutputSchedule m_schedule;
    QTimer m_releaseTimer;
    QTimer m_clientPoll;
    QElapsedTimer m_clock;
    DeviceLink m_link;
    Counters m_counters;
};

}  // namespace qv::sim
