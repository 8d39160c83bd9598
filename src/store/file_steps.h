#pragma once
// The file operations of start-up maintenance. Each reports the system's error
// number (errno) instead of throwing, because maintenance writes every failure
// to the debug list and goes on.

#include <QDateTime>
#include <QString>

namespace qv::store {

struct FileStep {
    bool ok = true;
    int error = 0;   // errno; ENOENT when the file was not there
    QString reason;  // the system's text for error

    static FileStep success() { return {}; }
};

bool fileExists(const QString& path);

// Removing a file that is not there fails with ENOENT.
FileStep removeFile(const QString& path);

// Copies through a ".partial" file renamed over the target at the end, so the
// target is always either the old file or the whole new one.
FileStep copyReplacing(const QString& from, const QString& to);

// Renames, replacing the target in one step.
FileStep renameReplacing(const QString& from, const QString& to);

// Creates the folder. created is true only when it did not exist before.
FileStep makeFolder(const QString& path, bool* created = nullptr);

// A name beside path that is not taken: path + "." + tag + "-yyyyMMdd-HHmmss",
// then "-2", "-3", ... if that exists.
QString asideName(const QString& path, const QString& tag, const QDateTime& now);

// Moves a database file out of the way under asideName(path, tag, now),
// together with its -wal file when there is one (it may hold the newest
// changes), so nothing it held is lost. The -shm index is only a cache and is
// removed. *keptAs receives the new name of the file.
FileStep setAside(const QString& path, const QString& tag, const QDateTime& now, QString* keptAs);

}  // namespace qv::store
