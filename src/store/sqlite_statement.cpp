#include "store/sqlite_statement.h"

#include "store/store_error.h"

#include <QSqlDriver>
#include <QVariant>

#include <sqlite3.h>

namespace qv::store {

namespace {

sqlite3* connectionOf(const Database& db) {
    // Qt's SQLite driver hands out its connection as a sqlite3* in a QVariant.
    const QVariant handle = db.handle().driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

}  // namespace

SqliteStatement::SqliteStatement(const Database& db, const QString& sql)
    : m_path(db.path()), m_connection(connectionOf(db)) {
    if (!m_connection)
        throw StoreError(m_path, QStringLiteral("preparing a statement"),
                         QStringLiteral("the connection is not an SQLite connection"));
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(m_connection, text.constData(), static_cast<int>(text.size()), &m_statement,
                           nullptr) != SQLITE_OK) {
        const QString detail = QString::fromUtf8(sqlite3_errmsg(m_connection));
        sqlite3_finalize(m_statement);
        throw StoreError(m_path, QStringLiteral("preparing a statement"), detail);
    }
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_statement);
}

void SqliteStatement::bindText(int index, const QString& text) {
    // UTF-16 as QString holds it; SQLite copies it (SQLITE_TRANSIENT).
    sqlite3_bind_text16(
        m_statement, index,
        text.isNull() ? static_cast<const void*>(u"") : static_cast<const void*>(text.utf16()),
        static_cast<int>(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
}

void SqliteStatement::bindInteger(int index, qint64 number) {
    sqlite3_bind_int64(m_statement, index, number);
}

void SqliteStatement::bindNull(int index) {
    sqlite3_bind_null(m_statement, index);
}

void SqliteStatement::run() {
    const int result = sqlite3_step(m_statement);
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
    if (result != SQLITE_DONE && result != SQLITE_ROW)
        throw StoreError(m_path, QStringLiteral("writing a record"),
                         QString::fromUtf8(sqlite3_errstr(result)) + QStringLiteral(": ") +
                             QString::fromUtf8(sqlite3_errmsg(m_connection)));
}

}  // namespace qv::store
