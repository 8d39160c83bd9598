#pragma once
// Shared set-up for the store tests: a temporary data directory, a raw SQLite
// connection for building files by hand (as an older program or another tool
// would have left them), and helpers that read a file's schema without going
// through the store.

#include "store/data_paths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <map>

namespace qv::store::test {

class RawDb {
public:
    explicit RawDb(const QString& path) : m_name(QStringLiteral("test.raw.%1").arg(++s_counter)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (!db.open())
            ADD_FAILURE() << "cannot open " << path.toStdString() << ": "
                          << db.lastError().text().toStdString();
    }
    ~RawDb() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    void exec(const QString& sql, const QVariantList& values = {}) {
        QSqlQuery query(db());
        ASSERT_TRUE(query.prepare(sql))
            << sql.toStdString() << ": " << query.lastError().text().toStdString();
        for (const QVariant& value : values) query.addBindValue(value);
        ASSERT_TRUE(query.exec()) << sql.toStdString() << ": " << query.lastError().text().toStdString();
    }

    QVariant scalar(const QString& sql, const QVariantList& values = {}) {
        QSqlQuery query(db());
        if (!query.prepare(sql)) {
            ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
            return {};
        }
        for (const QVariant& value : values) query.addBindValue(value);
        if (!query.exec() || !query.next()) {
            ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
            return {};
        }
        return query.value(0);
    }

private:
    inline static int s_counter = 0;
    QString m_name;
};

// Tables (without SQLite's own) and their field names, as the file holds them.
inline std::map<QString, QStringList> schemaOf(const QSqlDatabase& db) {
    std::map<QString, QStringList> tables;
    for (const QString& table : db.tables(QSql::Tables)) {
        if (table.startsWith(QLatin1String("sqlite_"))) continue;
        const QSqlRecord record = db.record(table);
        QStringList fields;
        for (int i = 0; i < record.count(); ++i) fields << record.fieldName(i);
        fields.sort();
        tables[table] = fields;
    }
    return tables;
}

inline QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        paths.dir = m_dir.path();
    }
    QString inDir(const QString& relative) const { return m_dir.filePath(relative); }

    DataPaths paths;

private:
    QTemporaryDir m_dir;
};

}  // namespace qv::store::test

// Readable values in assertion messages.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}
inline void PrintTo(const QVariant& value, std::ostream* out) {
    *out << (value.isNull() ? std::string("NULL") : value.toString().toStdString());
}
