#pragma once
// Slider pacing: a slider dragged across its range would ask for a level
// change per pixel. The first change goes at once; changes within the next
// interval are merged, and only the latest level of each channel goes when
// it ends. Nothing is lost: the level the slider stops at is always sent.

#include "clock/clock.h"

#include <QObject>

#include <functional>
#include <map>

namespace qv::reactions {

class PacedLevels : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(int channel, int levelByte)>;

    PacedLevels(const qv::Clock& clock, int intervalMs, Send send, QObject* parent = nullptr);

    void set(int channel, int levelByte);
    // Drops what has not gone yet.
    void clear();
    bool pending() const { return !m_pending.empty(); }

private:
    // One tick of the pacing timer.
    void ScrollIntervalTimer();
    void flush();

    Send m_send;
    std::unique_ptr<qv::Timer> m_timer;
    std::map<int, int> m_pending;
};

}  // namespace qv::reactions
