#pragma once
// The in box: lines heard from the serial port or a server, waiting for the
// decoder. RS232inboxTimer drains it in arrival order.
//
// Each tick takes lines until the in box is empty or about 8 ms have passed:
// one line a tick would cap decoding at 100 messages a second, below what
// even a 9600-baud network carries, while the time budget keeps the event
// loop responsive.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "net/area_state.h"
#include "net/decoder.h"
#include "net/labels.h"
#include "store/monitor_record.h"

#include <QObject>

#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace qv::comms {

class InBox : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 10;
    static constexpr qint64 kTickBudgetMs = 8;
    // Beyond this many waiting lines the oldest are dropped (and said so), so
    // a runaway flood cannot eat the machine's memory.
    static constexpr std::size_t kMaxWaiting = 100000;

    InBox(const Clock& clock, const net::NameTables& names, net::AreaState& state,
          store::MonitorSink& monitor, QObject* parent = nullptr);

    void addReactions(DecodeReactions* reactions) { m_reactions.push_back(reactions); }
    // For a reaction that lives shorter than the in box (an editor's listener).
    void removeReactions(DecodeReactions* reactions) { std::erase(m_reactions, reactions); }

    // Appends a line (hex + " D:" + date-time + "O:" + origin) and wakes the timer.
    void append(std::string line);
    std::size_t waiting() const { return m_lines.size(); }
    quint64 decodedCount() const { return m_decoded; }

    // One tick of RS232inboxTimer. Public for the feature tests, which hand
    // lines to their reactions without a clock of their own.
    void RS232inboxTimer();

signals:
    void waitingChanged(int count);

private:
    void process(const std::string& line);
    void report(const net::Decoded& decoded);

    const Clock& m_clock;
    net::Decoder m_decoder;
    store::MonitorSink& m_monitor;
    std::vector<DecodeReactions*> m_reactions;
    std::deque<std::string> m_lines;
    std::unique_ptr<Timer> m_timer;
    quint64 m_decoded = 0;
    quint64 m_dropped = 0;
};

}  // namespace qv::comms
