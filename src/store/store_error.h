#pragma once
// The one exception the store throws. Its text names the file and carries the
// database's own error text, so a report from the field says which file failed
// and why.

#include <QSqlError>
#include <QString>
#include <stdexcept>

namespace qv::store {

class StoreError : public std::runtime_error {
public:
    // what: our description of the failed step; sqlError: the driver's error, if any.
    StoreError(const QString& path, const QString& what, const QSqlError& sqlError = QSqlError());
    // detail: the database's error text when it is already a string.
    StoreError(const QString& path, const QString& what, const QString& detail);

    QString path() const { return m_path; }
    QString sqlErrorText() const { return m_sqlErrorText; }

private:
    QString m_path;
    QString m_sqlErrorText;
};

}  // namespace qv::store
