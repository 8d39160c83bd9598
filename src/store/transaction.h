#pragma once
// RAII transaction: begins when constructed, rolls back when it goes out of
// scope without commit(), so an exception never leaves half a change behind.

namespace qv::store {

class Database;

class Transaction {
public:
    // BEGIN IMMEDIATE: takes the write lock at once, so two writers wait on the
    // busy timeout instead of failing when a read turns into a write.
    explicit Transaction(Database& db);
    ~Transaction();

    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();  // throws StoreError; on failure the destructor still rolls back
    bool isCommitted() const { return m_committed; }

private:
    Database& m_db;
    bool m_committed = false;
};

}  // namespace qv::store
