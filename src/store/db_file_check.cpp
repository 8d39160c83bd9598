#include "store/db_file_check.h"

#include "store/file_steps.h"

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
        : m_name(QStringLiteral("quorvel.check.%1").arg(g_checkCounter.fetch_add(1)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        m_open = db.open();
        if (!m_open)
            m_openError = db.lastError();
    }
    ~CheckConnection()
    {
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

DbFileCheck fromError(const QSqlError& error, const QString& step)
{
    DbFileCheck result;
    result.code = error.nativeErrorCode().toInt() & 0xFF;
    result.damaged = result.code == kSqliteCorrupt || result.code == kSqliteNotADb;
    result.reason = step + QStringLiteral(": ") + error.text();
    return result;
}

DbFileCheck corrupt(const QString& reason)
{
    DbFileCheck result;
    result.damaged = true;
    result.code = kSqliteCorrupt;
    result.reason = reason;
    return result;
}

// Runs a statement without values; the first row's problems are in the result.
DbFileCheck quickCheck(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return fromError(query.lastError(), QStringLiteral("integrity check"));
    QStringList problems;
    while (query.next()) {
        const QString line = query.value(0).toString();
        if (line != QLatin1String("ok"))
            problems << line;
    }
    if (!problems.isEmpty()) {
        if (problems.size() > 3)
            problems = problems.mid(0, 3) << QStringLiteral("...");
        return corrupt(QStringLiteral("integrity check: ") + problems.join(QStringLiteral("; ")));
    }
    DbFileCheck ok;
    ok.ok = true;
    return ok;
}

DbFileCheck openAndCheck(CheckConnection& connection, const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {false, false, ENOENT, QStringLiteral("not found")};
    if (info.size() == 0)
        return corrupt(QStringLiteral("the file is empty"));
    if (!connection.isOpen())
        return fromError(connection.openError(), QStringLiteral("open"));
    return quickCheck(connection.db());
}

}  // namespace

DbFileCheck checkDatabaseFile(const QString& path)
{
    CheckConnection connection(path);
    return openAndCheck(connection, path);
}

DbFileCheck compactDatabaseFile(const QString& path, const QString& into)
{
    DbFileCheck result;
    {
        CheckConnection connection(path);
        // The check reads through the journal, so it covers what an unclean
        // stop left there as well.
        result = openAndCheck(connection, path);
        if (!result.ok)
            return result;
        QSqlQuery checkpoint(connection.db());
        if (!checkpoint.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")))
            return fromError(checkpoint.lastError(), QStringLiteral("checkpoint"));
        checkpoint.finish();
        QSqlQuery vacuum(connection.db());
        if (!vacuum.prepare(QStringLiteral("VACUUM INTO ?"))) {
            result = fromError(vacuum.lastError(), QStringLiteral("compaction"));
        } else {
            vacuum.addBindValue(into);
            if (!vacuum.exec())
                result = fromError(vacuum.lastError(), QStringLiteral("compaction"));
        }
    }
    if (!result.ok && fileExists(into))
        removeFile(into);
    return result;
}

}  // namespace qv::store
