#include "store/date_text.h"

namespace qv::store {

namespace {
const QString kFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

QString dateTimeText(const QDateTime& when) {
    return when.isValid() ? when.toLocalTime().toString(kFormat) : QString();
}

QDateTime dateTimeFromText(const QString& text) {
    return QDateTime::fromString(text.trimmed(), kFormat);  // local time
}

}  // namespace qv::store
