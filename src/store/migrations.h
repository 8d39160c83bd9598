#pragma once
// Numbered schema migrations per file kind. Each runs in its own transaction
// together with the PRAGMA user_version bump, so a file is always at a whole
// version: a failed step leaves it at the previous one.

#include "store/data_paths.h"

#include <span>

namespace qv::store {

class Database;

struct Migration {
    int version;          // user_version after this step; 1, 2, 3, ... without gaps
    const char* summary;  // for the log
    void (*apply)(Database& db);
};

std::span<const Migration> migrationsFor(DbKind kind);
int latestVersion(DbKind kind);

// Applies the steps newer than the file's user_version, in order. Throws
// StoreError if the file is newer than the last step.
void applyMigrations(Database& db, std::span<const Migration> migrations);

// What Database::open runs: the kind's migrations, then the checks that run at
// every open (the main database's Macros.SortOrder).
void upgradeSchema(Database& db);

}  // namespace qv::store
