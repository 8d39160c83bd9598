#include "store/store_error.h"

#include <QStringList>

namespace qv::store {

namespace {

QString errorText(const QSqlError& error) {
    if (!error.isValid()) return {};
    // The driver text names the failing call, the database text says why; keep both.
    QStringList parts;
    if (!error.databaseText().isEmpty()) parts << error.databaseText();
    if (!error.driverText().isEmpty() && error.driverText() != error.databaseText())
        parts << error.driverText();
    if (!error.nativeErrorCode().isEmpty()) parts << QStringLiteral("code %1").arg(error.nativeErrorCode());
    return parts.join(QStringLiteral("; "));
}

std::string composeMessage(const QString& path, const QString& what, const QString& sqlText) {
    QString message = QStringLiteral("%1: %2").arg(path, what);
    if (!sqlText.isEmpty()) message += QStringLiteral(" (%1)").arg(sqlText);
    return message.toStdString();
}

}  // namespace

StoreError::StoreError(const QString& path, const QString& what, const QSqlError& sqlError)
    : StoreError(path, what, errorText(sqlError)) {}

StoreError::StoreError(const QString& path, const QString& what, const QString& detail)
    : std::runtime_error(composeMessage(path, what, detail)), m_path(path), m_sqlErrorText(detail) {}

}  // namespace qv::store
