#include "store/schema.h"

#include "store/database.h"
#include "store/log.h"
#include "store/store_error.h"

#include <QStringList>

namespace qv::store::schema {

QString quoteIdentifier(const QString& name)
{
    // Names such as Index, Left, Date and before are SQL words; quote them all.
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool hasTable(Database& db, const QString& table)
{
    QSqlQuery query = db.prepare(QStringLiteral(
        "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE"));
    query.addBindValue(table);
    db.exec(query);
    return query.next() && query.value(0).toInt() > 0;
}

bool hasColumn(Database& db, const QString& table, const QString& column)
{
    QSqlQuery query = db.prepare(
        QStringLiteral("SELECT count(*) FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE"));
    query.addBindValue(table);
    query.addBindValue(column);
    db.exec(query);
    return query.next() && query.value(0).toInt() > 0;
}

int rowCount(Database& db, const QString& table)
{
    QSqlQuery query = db.prepare(QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(table)));
    db.exec(query);
    return query.next() ? query.value(0).toInt() : 0;
}

void addColumnIfMissing(Database& db, const QString& table, const Column& column)
{
    const QString name = QString::fromLatin1(column.name);
    if (hasColumn(db, table, name))
        return;
    if (QLatin1String(column.type) == QLatin1String(Key))
        throw StoreError(db.path(), QStringLiteral("table %1 has no key field %2 and cannot be completed")
                                        .arg(table, name));
    db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                .arg(quoteIdentifier(table), quoteIdentifier(name), QLatin1String(column.type)));
    qCInfo(lcStore) << db.path() << "added field" << table + QLatin1Char('.') + name;
}

void createOrComplete(Database& db, const Table& table)
{
    const QString name = QString::fromLatin1(table.name);
    if (hasTable(db, name)) {
        for (const Column& column : table.columns)
            addColumnIfMissing(db, name, column);
        return;
    }
    QStringList columns;
    for (const Column& column : table.columns)
        columns << quoteIdentifier(QString::fromLatin1(column.name)) + QLatin1Char(' ') + QLatin1String(column.type);
    db.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(quoteIdentifier(name), columns.join(QStringLiteral(", "))));
}

void insertRowIfEmpty(Database& db, const QString& table, const Values& values)
{
    if (rowCount(db, table) > 0)
        return;
    QStringList names;
    QStringList marks;
    for (const auto& [column, value] : values) {
        names << quoteIdentifier(QString::fromLatin1(column));
        marks << QStringLiteral("?");
    }
    QSqlQuery query = db.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                     .arg(quoteIdentifier(table), names.join(QStringLiteral(", ")),
                                          marks.join(QStringLiteral(", "))));
    for (const auto& value : values)
        query.addBindValue(value.second);
    db.exec(query);
}

void createIndexIfMissing(Database& db, const QString& index, const QString& table,
                          std::initializer_list<const char*> columns)
{
    QStringList names;
    for (const char* column : columns)
        names << quoteIdentifier(QString::fromLatin1(column));
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                .arg(quoteIdentifier(index), quoteIdentifier(table), names.join(QStringLiteral(", "))));
}

}  // namespace qv::store::schema
