#include "store/database.h"

#include "store/log.h"
#include "store/migrations.h"
#include "store/store_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <atomic>
#include <utility>

namespace qv::store {

namespace {

std::atomic<int> g_connectionCounter{0};

// A file that does not start with the SQLite header is refused before the
// driver sees it, so nothing is ever written over another program's file.
void refuseForeignFile(const QString& path) {
    QFile file(path);
    if (!file.exists() || file.size() == 0) return;
    if (!file.open(QIODevice::ReadOnly))
        throw StoreError(path, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    static const QByteArray header("SQLite format 3\0", 16);
    if (file.read(header.size()) != header)
        throw StoreError(path, QStringLiteral("is not a SQLite database (damaged, or another kind of file); "
                                              "it was left untouched"));
}

}  // namespace

Database::Database(QString connectionName, QString path, DbKind kind)
    : m_connectionName(std::move(connectionName)), m_path(std::move(path)), m_kind(kind) {}

Database::Database(Database&& other) noexcept
    : m_connectionName(std::exchange(other.m_connectionName, QString())),
      m_path(std::move(other.m_path)),
      m_kind(other.m_kind) {}

Database& Database::operator=(Database&& other) noexcept {
    if (this != &other) {
        close();
        m_connectionName = std::exchange(other.m_connectionName, QString());
        m_path = std::move(other.m_path);
        m_kind = other.m_kind;
    }
    return *this;
}

Database::~Database() {
    close();
}

Database Database::open(const QString& path, DbKind kind) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        throw StoreError(path, QStringLiteral("cannot create the folder %1").arg(info.absolutePath()));
    refuseForeignFile(path);

    const QString name =
        QStringLiteral("quorvel.store.%1.%2").arg(dbKindName(kind)).arg(g_connectionCounter.fetch_add(1));
    // Owned from here on, so a failure below still removes the connection.
    Database db(name, info.absoluteFilePath(), kind);
    {
        QSqlDatabase connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        connection.setDatabaseName(db.m_path);
        // Macro processors and a second supervisor read the same files; wait for
        // their locks instead of failing at once.
        connection.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        if (!connection.open())
            throw StoreError(db.m_path, QStringLiteral("cannot be opened"), connection.lastError());
    }
    db.configure();
    return db;
}

void Database::configure() {
    // Reading the schema first finds damage before anything is written.
    try {
        QSqlQuery probe = prepare(QStringLiteral("SELECT count(*) FROM sqlite_master"));
        exec(probe);
    } catch (const StoreError& error) {
        throw StoreError(m_path,
                         QStringLiteral("cannot be read as a database (damaged?); it was left untouched"),
                         error.sqlErrorText());
    }
    const int version = userVersion();
    const int known = latestVersion(m_kind);
    if (version > known) {
        throw StoreError(m_path,
                         QStringLiteral("was written by a newer version of Quorvel (schema version %1, "
                                        "this program knows up to %2); it was left untouched")
                             .arg(version)
                             .arg(known));
    }

    // Relations between tables are kept by the program, as existing data expects.
    exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
    if (m_kind == DbKind::Main || m_kind == DbKind::MonitorLog) {
        // The main database is read by macro processors while the program writes;
        // WAL lets them read without blocking the writer.
        QSqlQuery mode = prepare(QStringLiteral("PRAGMA journal_mode = WAL"));
        exec(mode);
        const QString result = mode.next() ? mode.value(0).toString() : QString();
        if (result.compare(QStringLiteral("wal"), Qt::CaseInsensitive) != 0)
            qCWarning(lcStore) << m_path << "stays in journal mode" << result << "instead of WAL";
    }
    // Side files keep the rollback journal: they are single files that get copied
    // (the roll-call template) or opened for one task at a time.

    upgradeSchema(*this);
}

QSqlDatabase Database::handle() const {
    return QSqlDatabase::database(m_connectionName, false);
}

QSqlQuery Database::prepare(const QString& sql) {
    if (!isOpen()) throw StoreError(m_path, QStringLiteral("is closed; cannot prepare: %1").arg(sql));
    QSqlQuery query(handle());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw StoreError(m_path, QStringLiteral("cannot prepare: %1").arg(sql), query.lastError());
    return query;
}

void Database::exec(QSqlQuery& query) {
    if (!query.exec())
        throw StoreError(m_path, QStringLiteral("failed: %1").arg(query.lastQuery()), query.lastError());
}

QSqlQuery Database::run(const QString& sql, const QVariantList& values) {
    QSqlQuery query = prepare(sql);
    for (const QVariant& value : values) query.addBindValue(value);
    exec(query);
    return query;
}

QVariant Database::value(const QString& sql, const QVariantList& values) {
    QSqlQuery query = run(sql, values);
    return query.next() ? query.value(0) : QVariant();
}

void Database::exec(const QString& sql) {
    QSqlQuery query = prepare(sql);
    exec(query);
}

int Database::userVersion() const {
    if (!isOpen()) throw StoreError(m_path, QStringLiteral("is closed; cannot read its user_version"));
    QSqlQuery query(handle());
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        throw StoreError(m_path, QStringLiteral("cannot read its user_version"), query.lastError());
    return query.value(0).toInt();
}

void Database::setUserVersion(int version) {
    // PRAGMA takes no bound values; the number is one of our own migration numbers.
    exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
}

void Database::close() {
    if (m_connectionName.isEmpty()) return;
    const QString name = std::exchange(m_connectionName, QString());
    {
        QSqlDatabase connection = QSqlDatabase::database(name, false);
        if (connection.isValid()) connection.close();
    }
    // Only after the last local copy is gone, so Qt has nothing to warn about.
    QSqlDatabase::removeDatabase(name);
}

}  // namespace qv::store
