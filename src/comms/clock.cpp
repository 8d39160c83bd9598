#include "comms/clock.h"

namespace qv::comms {

QString Clock::nowText() const {
    return dateTimeText(now());
}

QString SystemClock::nowText() const {
    // The seconds since the epoch come without a time-zone look-up; the text
    // is made again only when they change.
    const qint64 second = QDateTime::currentSecsSinceEpoch();
    if (second != m_textSecond) {
        m_text = dateTimeText(QDateTime::fromSecsSinceEpoch(second));
        m_textSecond = second;
    }
    return m_text;
}

}  // namespace qv::comms
