#pragma once
// Stored "yyyy-MM-dd HH:mm:ss" local date-times as seconds since the epoch,
// fast enough for a report over many rows: parsing with a format and
// converting local time cost tens of microseconds a row. The start of each
// local hour is converted once; within an hour that is 3600 s long the rest
// is arithmetic, and an hour with a clock change is converted row by row.

#include <QString>

#include <optional>
#include <unordered_map>

namespace qv::devices {

class LocalSeconds {
public:
    // Nothing for a text that is not a valid date-time in that form.
    std::optional<qint64> operator()(const QString& text);

private:
    qint64 hourStart(qint64 julianDay, int hour);

    std::unordered_map<qint64, qint64> m_hourStarts;  // by julian day x 24 + hour
};

}  // namespace qv::devices
