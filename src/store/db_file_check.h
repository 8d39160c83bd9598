#pragma once
// Integrity check and compaction of a closed database file, with a connection
// of their own that is gone when they return, so the file can be copied next.

#include "store/data_paths.h"

#include <QString>

namespace qv::store {

struct DbFileCheck {
    bool ok = false;
    // The file itself is unsound (not a database, corrupt pages, empty). False
    // with ok false: it could not be checked (locked, no permission).
    bool damaged = false;
    int code = 0;  // SQLite result code, or errno when the file is missing
    QString reason;
    // Written by a newer program: not damaged, but not to be touched either.
    bool newer = false;
};

// Opens the file and runs PRAGMA quick_check. A missing file fails with
// ENOENT; an empty file counts as damaged: every file the program makes holds
// its schema, so an empty one was cut short.
DbFileCheck checkDatabaseFile(const QString& path);
// The same, and the file must hold every table its schema version promises
// (one that lost a table counts as damaged) and be no newer than this program.
DbFileCheck checkDatabaseFile(const QString& path, DbKind kind);

// Folds any write-ahead journal into the file, checks it, and rewrites it
// without free space into `into` (VACUUM INTO). `into` must not exist. On
// failure `into` is removed again; damaged tells whether the source is at
// fault or only the step (a full disk, a folder that cannot be written).
DbFileCheck compactDatabaseFile(const QString& path, const QString& into);
// The same with the schema check of checkDatabaseFile(path, kind) first.
DbFileCheck compactDatabaseFile(const QString& path, const QString& into, DbKind kind);

}  // namespace qv::store
