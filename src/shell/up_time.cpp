#include "shell/up_time.h"

namespace qv::shell {

QString shutdownText(qint64 upSeconds) {
    const qint64 minutesUp = std::max<qint64>(upSeconds, 0) / 60;
    return QStringLiteral("Quorvel is ShutDown  after Up time of: %1 hrs, %2 mins")
        .arg(minutesUp / 60, 2, 10, QLatin1Char('0'))
        .arg(minutesUp % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace qv::shell
