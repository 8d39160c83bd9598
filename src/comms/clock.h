#pragma once
// Wall time and monotonic time, injected so that logic never asks the
// machine directly and tests can drive time by hand.

#include <QDateTime>
#include <QElapsedTimer>

namespace qv::comms {

class Clock {
public:
    virtual ~Clock() = default;
    // Local wall time, for the date-time texts of in-box lines and records.
    virtual QDateTime now() const = 0;
    // Milliseconds from an arbitrary start; never goes back.
    virtual qint64 monotonicMs() const = 0;
    // now() as dateTimeText() writes it; the system clock keeps one text per
    // second, since turning the time into local time costs a look at the
    // time-zone file, and every message heard needs the text.
    virtual QString nowText() const;
};

class SystemClock final : public Clock {
public:
    SystemClock() { m_started.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override { return m_started.elapsed(); }
    QString nowText() const override;

private:
    QElapsedTimer m_started;
    mutable qint64 m_textSecond = -1;
    mutable QString m_text;
};

// The date-time text every record and in-box line carries.
inline QString dateTimeText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

}  // namespace qv::comms
