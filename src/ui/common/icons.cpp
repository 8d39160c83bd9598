#include "ui/common/icons.h"

#include <QFile>

static void initResources() {
    Q_INIT_RESOURCE(icons);
}

namespace qv::ui {

QIcon icon(const QString& name) {
    static const bool loaded = (initResources(), true);
    (void)loaded;
    const QString path = QStringLiteral(":/icons/%1.svg").arg(name);
    return QIcon(QFile::exists(path) ? path : QStringLiteral(":/icons/Quorvel.svg"));
}

}  // namespace qv::ui
