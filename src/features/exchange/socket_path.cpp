#include "features/exchange/socket_path.h"

#include <QDir>
#include <QStandardPaths>

namespace qv::exchange {

QString defaultSocketPath() {
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) return {};
    return QDir(dir).filePath(QLatin1String(kSocketName));
}

}  // namespace qv::exchange
