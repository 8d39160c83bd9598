#include "store/db_file_check.h"

#include "store/file_steps.h"
#include "store/migrations.h"
#include "store/schema.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <atomic>
#include <cerrno>

namespace qv::store {

namespace {

constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADb = 26;

std::atomic<int> g_checkCounter{0};

// A connection that is removed again when it goes out of scope.
class CheckConnection {
public:
    explicit CheckConnection(const QString& path)
        : m_name(QStringLiteral("quorvel.check.%1").arg(g_checkCounter.fetch_add(1))) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        m_open = db.open();
        if (!m_open) m_openError = db.lastError();
    }
    ~CheckConnection() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    CheckConnection(const CheckConnection&) = delete;
    CheckConnection& operator=(const CheckConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }
    bool isOpen() const { return m_open; }
    QSqlError openError() const { return m_openError; }

private:
    QString m_name;
    bool m_open = false;
    QSqlError m_openError;
};

DbFileCheck fromError(const QSqlError& error, const QString& step) {
    DbFileCheck result;
    result.code = error.nativeErrorCode().toInt() & 0xFF;
    result.damaged = result.code == kSqliteCorrupt || result.code == kSqliteNotADb;
    result.reason = step + QStringLiteral(": ") + error.text();
    return result;
}

DbFileCheck corrupt(const QString& reason) {
    DbFileCheck result;
    result.damaged = true;
    result.code = kSqliteCorrupt;
    result.reason = reason;
    return result;
}

// Runs a statement without values; the first row's problems are in the result.
DbFileCheck quickCheck(const QSqlDatabase& db) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return fromError(query.lastError(), QStringLiteral("integrity check"));
    QStringList problems;
    while (query.next()) {
        const QString line = query.value(0).toString();
        if (line != QLatin1String("ok")) problems << line;
    }
    if (!problems.isEmpty()) {
        if (problems.size() > 3) problems = problems.mid(0, 3) << QStringLiteral("...");
        return corrupt(QStringLiteral("integrity check: ") + problems.join(QStringLiteral("; ")));
    }
    DbFileCheck ok;
    ok.ok = true;
    return ok;
}

DbFileCheck openAndCheck(CheckConnection& connection, const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) return {false, false, ENOENT, QStringLiteral("not found")};
    if (info.size() == 0) return corrupt(QStringLiteral("the file is empty"));
    if (!connection.isOpen()) return fromError(connection.openError(), QStringLiteral("open"));
    return quickCheck(connection.db());
}

DbFileCheck schemaCheck(const QSqlDatabase& db, DbKind kind) {
    QSqlQuery version(db);
    if (!version.exec(QStringLiteral("PRAGMA user_version")) || !version.next())
        return fromError(version.lastError(), QStringLiteral("schema version"));
    const int fileVersion = version.value(0).toInt();
    const int known = latestVersion(kind);
    if (fileVersion > known) {
        DbFileCheck newer;
        newer.newer = true;
        newer.reason = QStringLiteral(
                           "it was written by a newer version of Quorvel (schema version %1, this "
                           "program knows up to %2)")
                           .arg(fileVersion)
                           .arg(known);
        return newer;
    }
    QSqlQuery tables(db);
    if (!tables.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")))
        return fromError(tables.lastError(), QStringLiteral("schema"));
    QStringList present;
    while (tables.next()) present << tables.value(0).toString().toLower();
    QStringList missing;
    for (const QString& table : schema::expectedTables(kind, fileVersion))
        if (!present.contains(table.toLower())) missing << table;
    if (!missing.isEmpty())
        return corrupt((missing.size() == 1 ? QStringLiteral("the table %1 is missing")
                                            : QStringLiteral("the tables %1 are missing"))
                           .arg(missing.join(QStringLiteral(", "))));
    DbFileCheck ok;
    ok.ok = true;
    return ok;
}

DbFileCheck openAndCheckSchema(CheckConnection& connection, const QString& path, DbKind kind) {
    DbFileCheck result = openAndCheck(connection, path);
    return result.ok ? schemaCheck(connection.db(), kind) : result;
}

DbFileCheck compact(const QString& path, const QString& into, const DbKind* kind) {
    DbFileCheck result;
    {
        CheckConnection connection(path);
        // The check reads through the journal, so it covers what an unclean
        // stop left there as well.
        result = kind ? openAndCheckSchema(connection, path, *kind) : openAndCheck(connection, path);
        if (!result.ok) return result;
        QSqlQuery checkpoint(connection.db());
        if (!checkpoint.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")))
            return fromError(checkpoint.lastError(), QStringLiteral("checkpoint"));
        checkpoint.finish();
        QSqlQuery vacuum(connection.db());
        if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?"))) {
            result = fromError(vacuum.lastError(), QStringLiteral("compaction"));
        } else {
            vacuum.addBindValue(into);
            if (!vacuum.exec()) result = fromError(vacuum.lastError(), QStringLiteral("compaction"));
        }
    }
    if (!result.ok && fileExists(into)) removeFile(into);
    return result;
}

}  // namespace

DbFileCheck checkDatabaseFile(const QString& path) {
    CheckConnection connection(path);
    return openAndCheck(connection, path);
}

DbFileCheck checkDatabaseFile(const QString& path, DbKind kind) {
    CheckConnection connection(path);
    return openAndCheckSchema(connection, path, kind);
}

DbFileCheck compactDatabaseFile(const QString& path, const QString& into) {
    return compact(path, into, nullptr);
}

DbFileCheck compactDatabaseFile(const QString& path, const QString& into, DbKind kind) {
    return compact(path, into, &kind);
}

}  // namespace qv::store
