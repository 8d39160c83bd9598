#pragma once
// One open database file: owns a uniquely named Qt SQL connection and removes it
// when closed, so any number of files (or two handles on one file) can be open.
//
// The main database stays open for the whole run; side databases are opened for
// one task and closed again, which this type makes a matter of scope.

#include "store/data_paths.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

namespace qv::store {

class Database {
public:
    // Creates missing parent folders and the file, refuses a damaged file or one
    // written by a newer program, and brings the schema of the kind up to date.
    // The main database and the monitor log run in WAL mode. Throws StoreError.
    static Database open(const QString& path, DbKind kind);

    Database(Database&& other) noexcept;
    Database& operator=(Database&& other) noexcept;
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;
    ~Database();

    // A copy of the connection. Do not keep it past close(): Qt warns when a
    // connection is removed while copies of it live.
    QSqlDatabase handle() const;
    QString path() const { return m_path; }
    DbKind kind() const { return m_kind; }
    bool isOpen() const { return !m_connectionName.isEmpty(); }

    // A forward-only query prepared on this connection. Throws StoreError.
    QSqlQuery prepare(const QString& sql);
    // Executes a prepared query with its bound values. Throws StoreError.
    void exec(QSqlQuery& query);
    // Prepares sql, binds the values in order, executes it and returns the
    // query to read from. Throws StoreError.
    QSqlQuery run(const QString& sql, const QVariantList& values = {});
    // Runs sql like run() and returns the first column of the first row, or an
    // invalid QVariant when there is no row. Throws StoreError.
    QVariant value(const QString& sql, const QVariantList& values = {});
    // For statements without values (DDL, PRAGMA, BEGIN/COMMIT). Values always go
    // through prepare() and bound parameters. Throws StoreError.
    void exec(const QString& sql);

    int userVersion() const;
    void setUserVersion(int version);

    void close();

private:
    Database(QString connectionName, QString path, DbKind kind);
    void configure();

    QString m_connectionName;
    QString m_path;
    DbKind m_kind = DbKind::Main;
};

}  // namespace qv::store
