#pragma once
// Appends EventLog records through one connection that stays open, in
// batches: a record waits at most kCommitIntervalMs before its transaction
// commits. One transaction per batch instead of one file open per record
// keeps heavy traffic from stalling the event loop; a crash loses at most the
// last uncommitted fraction of a second, and nothing committed.
//
// Records wait in memory until their commit succeeds, so a locked or full
// disk delays them instead of losing them (up to kMaxPending).

#include "clock/clock.h"
#include "store/database.h"
#include "store/event_log_row.h"

#include <QObject>

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>

namespace qv::store {

class SqliteStatement;

class MonitorLogWriter final : public QObject {
    Q_OBJECT
public:
    static constexpr int kCommitIntervalMs = 100;
    // After a failed commit or open, the next attempt waits this long.
    static constexpr int kRetryMs = 1000;
    // Beyond this many waiting records the oldest are dropped (and counted).
    static constexpr std::size_t kMaxPending = 200000;
    // One transaction writes at most this many records, so a commit never
    // holds the event loop long; the rest follow in turns of their own.
    static constexpr std::size_t kMaxRowsPerCommit = 500;

    // path: the monitor log (DataPaths::monitorLog()); opened on first use, so
    // start-up maintenance can run before this object does anything. The
    // clock times the batches and makes the commit timer.
    MonitorLogWriter(QString path, const qv::Clock& clock, QObject* parent = nullptr);
    ~MonitorLogWriter() override;  // commits what waits

    // Queues the record; commits now if the batch is overdue because the event
    // loop has not run the commit timer in time.
    void append(EventLogRow row);

    // Commits every waiting record now. False when it could not (the records
    // keep waiting, writeFailed() has said why).
    bool flush();
    // Commits and closes the connection (shutdown); the next use reopens.
    void close();

    // Lower the limit of waiting records (tests, small machines).
    void setMaxPending(std::size_t limit) { m_maxPending = std::max<std::size_t>(limit, 1); }

    std::size_t pendingCount() const { return m_pending.size(); }
    quint64 droppedCount() const { return m_dropped; }
    bool isOpen() const { return m_db.has_value(); }

    // The open connection, opened when needed. Throws StoreError.
    Database& database();

    // Deletes every record, those still waiting included. Throws StoreError.
    void deleteAllRecords();

signals:
    // The first failure after a success (not every retry).
    void writeFailed(const QString& reason);
    // Writing works again; dropped: records given up while it did not.
    void writeRecovered(quint64 dropped);

private:
    // Commits up to `limit` waiting records, oldest first.
    void commitPending(std::size_t limit);
    // The commit timer and an overdue batch: one bounded transaction.
    void commitBatch();
    bool commit(bool all);
    void failed(const QString& reason);
    void closeConnection();

    QString m_path;
    const qv::Clock& m_clock;
    std::optional<Database> m_db;
    std::unique_ptr<SqliteStatement> m_insert;  // prepared once per connection
    std::deque<EventLogRow> m_pending;
    std::unique_ptr<qv::Timer> m_commitTimer;  // single-shot
    qint64 m_batchStartedMs = 0;
    qint64 m_retryAtMs = 0;
    bool m_failing = false;
    bool m_flushing = false;
    std::size_t m_maxPending = kMaxPending;
    quint64 m_dropped = 0;
    quint64 m_droppedReported = 0;
};

}  // namespace qv::store
