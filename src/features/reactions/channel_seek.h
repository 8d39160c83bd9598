#pragma once
// Finding out which channels an area has: ask every channel 1..255 for its
// level, one request a step, then store every channel that has reported a
// level since start-up (AreaChannels, name " "). Channels already stored are
// not stored twice. Stopping early stores nothing, so an interrupted seek
// leaves the area as it was and the user is asked again next time.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "features/reactions/send_rs232.h"
#include "net/area_state.h"
#include "store/monitor_record.h"

#include <QList>
#include <QObject>
#include <QString>

namespace qv::store {
class Database;
}

namespace qv::reactions {

class ChannelSeek : public QObject {
    Q_OBJECT
public:
    static constexpr int kStepMs = 150;
    static constexpr int kLastChannel = 255;

    ChannelSeek(store::Database& db, const net::AreaState& state, store::MonitorSink& monitor,
                const qv::Clock& clock, SendRS232 sendRS232, int stepMs = kStepMs, QObject* parent = nullptr);

    // False when a seek is running or the area is not 1..255.
    bool start(int area);
    // Ends the seek early; stores nothing.
    void stop();
    bool running() const { return m_running; }
    int area() const { return m_area; }

    // "seeking channel 7 of 255 channels"
    static QString progressText(int channel);

signals:
    void progress(int channel, int of, const QString& text);
    // The seek ran to its end; `stored` are the channels added to AreaChannels.
    void finished(const QList<int>& stored);
    void stopped();

private:
    // One step of the timer: the next request, or, one step after the last
    // request (so that its answer has had time), the storing.
    void requestleveltimer();
    void finish();

    store::Database& m_db;
    const net::AreaState& m_state;
    comms::MonitorWriter m_monitorWriter;
    SendRS232 m_sendRS232;
    std::unique_ptr<qv::Timer> m_timer;
    int m_area = 0;
    int m_next = 1;
    bool m_running = false;
};

}  // namespace qv::reactions
