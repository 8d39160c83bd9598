#pragma once
// One VersionHistory row per start-up, so a site's file tells which program
// versions have run on it.

#include <QDateTime>
#include <QString>

namespace qv::store {

class Database;

// version: e.g. "v0.1  build 7". Throws StoreError.
void appendVersionHistory(Database& main, const QString& version, const QDateTime& when);

}  // namespace qv::store
