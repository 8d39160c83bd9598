#pragma once
// A statement prepared straight on the SQLite connection beneath a Database.
// For the one insert that runs for every message heard: binding through
// QSqlQuery costs a QVariant and a copy per value, several times what SQLite
// itself spends on the row. Everything else goes through Database.

#include "store/database.h"

#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace qv::store {

class SqliteStatement {
public:
    // Throws StoreError when the statement cannot be prepared.
    SqliteStatement(const Database& db, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Parameters are numbered from 1, as SQLite numbers them.
    void bindText(int index, const QString& text);  // a null text binds as ""
    void bindInteger(int index, qint64 number);
    void bindNull(int index);
    // Runs the statement with what is bound, then clears it for the next row.
    // Throws StoreError.
    void run();

private:
    QString m_path;
    sqlite3* m_connection = nullptr;
    sqlite3_stmt* m_statement = nullptr;
};

}  // namespace qv::store
