#include "store/schema.h"

#include "store/database.h"
#include "store/log.h"
#include "store/store_error.h"

#include <QStringList>

#include <vector>

namespace qv::store::schema {

QString quoteIdentifier(const QString& name) {
    // Names such as Index, Left, Date and before are SQL words; quote them all.
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

bool hasTable(Database& db, const QString& table) {
    const QString sql =
        QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    return db.value(sql, {table}).toInt() > 0;
}

bool hasColumn(Database& db, const QString& table, const QString& column) {
    const QString sql =
        QStringLiteral("SELECT count(*) FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE");
    return db.value(sql, {table, column}).toInt() > 0;
}

int rowCount(Database& db, const QString& table) {
    return db.value(QStringLiteral("SELECT count(*) FROM %1").arg(quoteIdentifier(table))).toInt();
}

void addColumnIfMissing(Database& db, const QString& table, const Column& column) {
    const QString name = QString::fromLatin1(column.name);
    if (hasColumn(db, table, name)) return;
    if (QLatin1String(column.type) == QLatin1String(Key))
        throw StoreError(
            db.path(),
            QStringLiteral("table %1 has no key field %2 and cannot be completed").arg(table, name));
    db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                .arg(quoteIdentifier(table), quoteIdentifier(name), QLatin1String(column.type)));
    qCInfo(lcStore) << db.path() << "added field" << table + QLatin1Char('.') + name;
}

void createOrComplete(Database& db, const Table& table) {
    const QString name = QString::fromLatin1(table.name);
    if (hasTable(db, name)) {
        for (const Column& column : table.columns) addColumnIfMissing(db, name, column);
        return;
    }
    QStringList columns;
    for (const Column& column : table.columns)
        columns << quoteIdentifier(QString::fromLatin1(column.name)) + QLatin1Char(' ') +
                       QLatin1String(column.type);
    db.exec(QStringLiteral("CREATE TABLE %1 (%2)")
                .arg(quoteIdentifier(name), columns.join(QStringLiteral(", "))));
}

void makeKeysAutoincrement(Database& db) {
    // SQLite hands the number of a deleted newest row to the next row unless
    // the key is AUTOINCREMENT; a table cannot be altered to it, so each one is
    // rebuilt under its own definition with the keyword added, rows and keys
    // kept, and its indexes made again. sqlite_sequence starts at the highest
    // key copied.
    struct Rebuild {
        QString table;
        QString sql;
        QStringList indexes;
    };
    std::vector<Rebuild> rebuilds;
    {
        QSqlQuery tables =
            db.run(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name NOT "
                                  "LIKE 'sqlite_%' ORDER BY name"));
        while (tables.next()) {
            const QString sql = tables.value(1).toString();
            if (!sql.contains(QLatin1String("INTEGER PRIMARY KEY"), Qt::CaseInsensitive) ||
                sql.contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive))
                continue;
            rebuilds.push_back({tables.value(0).toString(), sql, {}});
        }
    }
    for (Rebuild& rebuild : rebuilds) {
        QSqlQuery indexes = db.run(
            QStringLiteral(
                "SELECT sql FROM sqlite_master WHERE type = 'index' AND tbl_name = ? AND sql IS NOT NULL"),
            {rebuild.table});
        while (indexes.next()) rebuild.indexes << indexes.value(0).toString();
    }
    for (const Rebuild& rebuild : rebuilds) {
        const QString rebuilt = rebuild.table + QStringLiteral("__autoincrement");
        QString sql = rebuild.sql;
        const qsizetype open = sql.indexOf(QLatin1Char('('));
        sql = QStringLiteral("CREATE TABLE %1 ").arg(quoteIdentifier(rebuilt)) + sql.mid(open);
        sql.replace(QStringLiteral("INTEGER PRIMARY KEY"),
                    QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT"), Qt::CaseInsensitive);
        db.exec(sql);
        db.exec(QStringLiteral("INSERT INTO %1 SELECT * FROM %2")
                    .arg(quoteIdentifier(rebuilt), quoteIdentifier(rebuild.table)));
        db.exec(QStringLiteral("DROP TABLE %1").arg(quoteIdentifier(rebuild.table)));
        db.exec(QStringLiteral("ALTER TABLE %1 RENAME TO %2")
                    .arg(quoteIdentifier(rebuilt), quoteIdentifier(rebuild.table)));
        for (const QString& index : rebuild.indexes) db.exec(index);
        qCInfo(lcStore) << db.path() << "keys of" << rebuild.table << "are never reused from now on";
    }
}

QStringList tableNames(Database& db) {
    QStringList names;
    QSqlQuery query = db.run(
        QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'"));
    while (query.next()) names << query.value(0).toString();
    return names;
}

void insertRowIfEmpty(Database& db, const QString& table, const Values& values) {
    if (rowCount(db, table) > 0) return;
    QStringList names;
    QStringList marks;
    QVariantList bound;
    for (const auto& [column, value] : values) {
        names << quoteIdentifier(QString::fromLatin1(column));
        marks << QStringLiteral("?");
        bound << value;
    }
    db.run(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(quoteIdentifier(table), names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
        bound);
}

void createIndexIfMissing(Database& db, const QString& index, const QString& table,
                          std::initializer_list<const char*> columns) {
    QStringList names;
    for (const char* column : columns) names << quoteIdentifier(QString::fromLatin1(column));
    db.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
                .arg(quoteIdentifier(index), quoteIdentifier(table), names.join(QStringLiteral(", "))));
}

}  // namespace qv::store::schema
