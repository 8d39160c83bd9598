#include "store/transaction.h"

#include "store/database.h"
#include "store/log.h"

#include <exception>

namespace qv::store {

Transaction::Transaction(Database& db) : m_db(db) {
    m_db.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

Transaction::~Transaction() {
    if (m_committed || !m_db.isOpen()) return;
    try {
        m_db.exec(QStringLiteral("ROLLBACK"));
    } catch (const std::exception& error) {
        // A destructor must not throw; SQLite has usually rolled back already
        // when ROLLBACK itself fails (the transaction ended with the error).
        qCWarning(lcStore) << "rollback failed:" << error.what();
    }
}

void Transaction::commit() {
    m_db.exec(QStringLiteral("COMMIT"));
    m_committed = true;
}

}  // namespace qv::store
