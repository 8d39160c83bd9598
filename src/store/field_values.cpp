#include "store/field_values.h"

#include "store/log.h"

namespace qv::store {

bool yesNoOr(const QVariant& value, bool fallback) {
    if (value.isNull()) return fallback;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            text.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
            text.compare(QLatin1String("no"), Qt::CaseInsensitive) == 0)
            return false;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        qCWarning(lcStore) << "not a yes/no value:" << value << "- using" << fallback;
        return fallback;
    }
    return number != 0;  // yes is 1 here, -1 in older files
}

int intOr(const QVariant& value, int fallback) {
    if (value.isNull()) return fallback;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        qCWarning(lcStore) << "not a number:" << value << "- using" << fallback;
        return fallback;
    }
    return static_cast<int>(number);
}

double realOr(const QVariant& value, double fallback) {
    if (value.isNull()) return fallback;
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        qCWarning(lcStore) << "not a number:" << value << "- using" << fallback;
        return fallback;
    }
    return number;
}

QString textOr(const QVariant& value, const QString& fallback) {
    return value.isNull() ? fallback : value.toString();
}

}  // namespace qv::store
