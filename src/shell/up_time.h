#pragma once
// The shutdown record's up time.

#include <QString>

namespace qv::shell {

// "Quorvel is ShutDown  after Up time of: HH hrs, MM mins": whole hours and
// the remaining whole minutes, each with at least two digits.
QString shutdownText(qint64 upSeconds);

}  // namespace qv::shell
