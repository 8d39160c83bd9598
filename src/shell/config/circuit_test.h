#pragma once
// The circuit-finding test: areas 1 to 255 in turn go to preset 1, one area
// per interval (a second by default), so someone walking the building can see
// which circuit answers to which area. Runs on the event loop and can be
// cancelled at any point.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "net/message.h"
#include "store/monitor_record.h"

#include <QObject>
#include <functional>
#include <memory>

namespace qv::config {

class CircuitFindingTest : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstArea = 1;
    static constexpr int kLastArea = 255;
    static constexpr int kDefaultIntervalMs = 1000;

    using Sender = std::function<void(const net::RawMessage&)>;

    CircuitFindingTest(Sender sendRS232, store::MonitorSink& monitor, const qv::Clock& clock,
                       int intervalMs = kDefaultIntervalMs, QObject* parent = nullptr);

    // Sends area 1 at once and the next area on every tick. Returns false
    // when a test is already running.
    bool start();
    // Stops before the next area; finished(false) follows.
    void cancel();
    bool isRunning() const { return m_nextArea != 0; }
    // The area sent last (0 before the first).
    int lastArea() const { return m_lastArea; }

signals:
    // After each area is sent: area 1..255 of 255.
    void progress(int area, int lastArea);
    // completed is false when cancelled.
    void finished(bool completed);

private:
    void tick();
    void sendArea(int area);

    Sender m_send;
    comms::MonitorWriter m_monitorWriter;
    std::unique_ptr<qv::Timer> m_timer;
    int m_nextArea = 0;  // 0 when idle; kLastArea + 1 during the wait after the last area
    int m_lastArea = 0;
};

}  // namespace qv::config
