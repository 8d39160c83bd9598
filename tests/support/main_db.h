#pragma once
// A fresh main database for a test, and statements run on it with bound values.

#include "store/database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

namespace qv::test {

// A temporary folder in memory where the machine offers one: the tests commit
// hundreds of small transactions, and waiting for a disk to sync each one
// would be most of their run time.
inline QString temporaryFolderPattern() {
    const QDir shm(QStringLiteral("/dev/shm"));
    return shm.exists() && QFileInfo(shm.path()).isWritable()
               ? shm.filePath(QStringLiteral("quorvel-tests-XXXXXX"))
               : QDir::temp().filePath(QStringLiteral("quorvel-tests-XXXXXX"));
}

// Opens a copy of a main database built once per test program at path (its
// folder is made): building the schema costs a noticeable fraction of a
// second, copying the file does not.
inline store::Database openFreshMainDb(const QString& path) {
    static QTemporaryDir folder(temporaryFolderPattern());
    static const QString templatePath = [] {
        const QString file = folder.filePath(QStringLiteral("quorvel.db"));
        store::Database::open(file, store::DbKind::Main).close();  // closing folds the WAL back in
        return file;
    }();
    QDir().mkpath(QFileInfo(path).path());
    if (!QFile::copy(templatePath, path)) ADD_FAILURE() << "cannot copy the template database";
    return store::Database::open(path, store::DbKind::Main);
}

// The key of the row the statement inserted.
inline qint64 insert(store::Database& db, const QString& sql, const QVariantList& values = {}) {
    return db.run(sql, values).lastInsertId().toLongLong();
}

}  // namespace qv::test
