#pragma once
// Table definitions and the steps the migrations are made of. Definitions are
// data so a migration can both create a missing table and complete one that an
// older database holds without some of its fields.

#include "store/data_paths.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <initializer_list>
#include <utility>
#include <vector>

namespace qv::store {

class Database;

namespace schema {

// Declared types. Every text is NOCASE because the program (and its users)
// name macros, areas and files in any letter case and expect the same row.
// AutoNumber: assigned by the database and never handed out again, so a row
// that referred to a deleted one keeps referring to nothing.
inline constexpr const char* Key = "INTEGER PRIMARY KEY AUTOINCREMENT";
inline constexpr const char* Text = "TEXT COLLATE NOCASE";
inline constexpr const char* Int = "INTEGER";
inline constexpr const char* YesNo = "INTEGER";             // 0 or 1
inline constexpr const char* Real = "REAL";                 // seconds, factors, loads, degrees
inline constexpr const char* Date = "TEXT COLLATE NOCASE";  // local "yyyy-MM-dd HH:mm:ss"
inline constexpr const char* Raw = "BLOB";                  // an eight-byte raw message

struct Column {
    const char* name;
    const char* type;
};

struct Table {
    const char* name;
    std::vector<Column> columns;
};

QString quoteIdentifier(const QString& name);

bool hasTable(Database& db, const QString& table);
bool hasColumn(Database& db, const QString& table, const QString& column);
int rowCount(Database& db, const QString& table);

// Creates the table, or adds the columns an existing table lacks. Existing rows
// and extra columns are kept. Throws StoreError if a missing column is the key,
// which SQLite cannot add to an existing table.
void createOrComplete(Database& db, const Table& table);
void addColumnIfMissing(Database& db, const QString& table, const Column& column);

using Values = std::vector<std::pair<const char*, QVariant>>;
// Adds the one row of a single-row table when it has none.
void insertRowIfEmpty(Database& db, const QString& table, const Values& values);

// Rebuilds every table whose INTEGER PRIMARY KEY is not AUTOINCREMENT with
// the keyword, keeping every row, its key and the table's indexes.
void makeKeysAutoincrement(Database& db);

// The tables of a file, without SQLite's own.
QStringList tableNames(Database& db);
// The tables a file of this kind holds from the given schema version on.
QStringList expectedTables(DbKind kind, int version);

void createIndexIfMissing(Database& db, const QString& index, const QString& table,
                          std::initializer_list<const char*> columns);

// The migrations of each file kind, applied in a transaction by the runner.
void createMainTables(Database& db);         // main, version 1
void addCommsPortname(Database& db);         // main, version 2
void addConfigMailServer(Database& db);      // main, version 3
void addCalendarReminders(Database& db);     // main, version 4
void ensureMacrosSortOrder(Database& db);    // main, at every open
void createMonitorLogTables(Database& db);   // monitor log, version 1
void createSensorLogTables(Database& db);    // sensor log, version 1
void createEnergyUsageTables(Database& db);  // energy usage, version 1
void createRollCallTables(Database& db);     // roll-call template and copies, version 1
void createWinrightsTables(Database& db);    // area-permission store, version 1

}  // namespace schema
}  // namespace qv::store
