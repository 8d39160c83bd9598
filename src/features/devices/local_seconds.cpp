#include "features/devices/local_seconds.h"

#include <QDateTime>

namespace qv::devices {

namespace {

// The number in text[from, from + count), or -1 when a character is not a digit.
int digitsAt(const QString& text, int from, int count) {
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

}  // namespace

qint64 LocalSeconds::hourStart(qint64 julianDay, int hour) {
    const qint64 key = julianDay * 24 + hour;
    if (auto it = m_hourStarts.find(key); it != m_hourStarts.end()) return it->second;
    const qint64 start = QDateTime(QDate::fromJulianDay(julianDay), QTime(hour, 0)).toSecsSinceEpoch();
    m_hourStarts.emplace(key, start);
    return start;
}

std::optional<qint64> LocalSeconds::operator()(const QString& stored) {
    const QString text = stored.trimmed();
    if (text.size() != 19 || text[4] != u'-' || text[7] != u'-' || text[10] != u' ' || text[13] != u':' ||
        text[16] != u':')
        return std::nullopt;
    const int year = digitsAt(text, 0, 4), month = digitsAt(text, 5, 2), day = digitsAt(text, 8, 2);
    const int hour = digitsAt(text, 11, 2), minute = digitsAt(text, 14, 2), second = digitsAt(text, 17, 2);
    if (year < 0 || month < 0 || day < 0) return std::nullopt;
    const QDate date(year, month, day);
    if (!date.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    const qint64 jd = date.toJulianDay();
    const qint64 start = hourStart(jd, hour);
    const qint64 next = hour == 23 ? hourStart(jd + 1, 0) : hourStart(jd, hour + 1);
    if (next - start == 3600) return start + minute * 60 + second;
    return QDateTime(date, QTime(hour, minute, second)).toSecsSinceEpoch();
}

}  // namespace qv::devices
