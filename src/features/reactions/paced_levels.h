#pragma once
// Slider pacing: a slider dragged across its range would ask for a level
// change per pixel. The first change goes at once; changes within the next
// interval are merged, and only the latest level of each channel goes when
// it ends. Nothing is lost: the level the slider stops at is always sent.

#include <QObject>
#include <QTimer>

#include <functional>
#include <map>

namespace qv::reactions {

class PacedLevels : public QObject {
    Q_OBJECT
public:
    using Send = std::function<void(int channel, int levelByte)>;

    PacedLevels(int intervalMs, Send send, QObject* parent = nullptr);

    void set(int channel, int levelByte);
    // Drops what has not gone yet.
    void clear();
    bool pending() const { return !m_pending.empty(); }

    // One tick of the pacing timer (ScrollIntervalTimer).
    void ScrollIntervalTimer();

private:
    void flush();

    Send m_send;
    QTimer m_timer;
    std::map<int, int> m_pending;
};

}  // namespace qv::reactions
