#include "store/monitor_log_writer.h"

#include "store/log.h"
#include "store/sqlite_statement.h"
#include "store/store_error.h"
#include "store/transaction.h"

#include <algorithm>
#include <memory>

namespace qv::store {

namespace {

const QString kInsert = QStringLiteral(
    "INSERT INTO EventLog (Origin, Hexstring, TimeDateStamp, Macro, Comments, Area, Preset, AreaName, "
    "PresetName, Channel, ChannelName, ChannelLevel) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");

// A number text of the record is stored as NULL when empty (the energy
// report selects on that), as an integer when it is one, otherwise as the
// text itself, so nothing a caller passed is lost. Texts are stored as given,
// an absent one as the empty text: only the number fields use NULL.
void bindNumber(SqliteStatement& insert, int index, const QString& text) {
    const QStringView trimmed = QStringView(text).trimmed();
    if (trimmed.isEmpty()) return insert.bindNull(index);
    bool ok = false;
    const qint64 number = trimmed.toLongLong(&ok);
    if (ok) return insert.bindInteger(index, number);
    insert.bindText(index, text);
}

}  // namespace

MonitorLogWriter::MonitorLogWriter(QString path, const qv::Clock& clock, QObject* parent)
    : QObject(parent),
      m_path(std::move(path)),
      m_clock(clock),
      m_commitTimer(clock.createSingleShot(kCommitIntervalMs, [this] { commitBatch(); })) {}

MonitorLogWriter::~MonitorLogWriter() {
    close();
    if (!m_pending.empty())
        qCWarning(lcStore) << m_path << ":" << m_pending.size() << "monitor records could not be written";
}

void MonitorLogWriter::append(EventLogRow row) {
    if (m_pending.size() >= m_maxPending) {
        m_pending.pop_front();
        ++m_dropped;
    }
    const qint64 now = m_clock.monotonicMs();
    const bool startsBatch = m_pending.empty();
    m_pending.push_back(std::move(row));
    if (startsBatch) {
        m_batchStartedMs = now;
        if (!m_commitTimer->isActive())
            m_commitTimer->start(std::max<qint64>(kCommitIntervalMs, m_retryAtMs - now));
        return;
    }
    // A busy event loop runs the timer late; the batch commits on time anyway.
    if (!m_flushing && now - m_batchStartedMs >= kCommitIntervalMs && now >= m_retryAtMs) commitBatch();
}

bool MonitorLogWriter::flush() {
    return commit(/*all=*/true);
}

void MonitorLogWriter::commitBatch() {
    if (!commit(/*all=*/false) || m_pending.empty()) return;
    // The rest of the batch goes in the next turn, by the timer.
    m_batchStartedMs = m_clock.monotonicMs();
    m_commitTimer->start(0);
}

bool MonitorLogWriter::commit(bool all) {
    if (m_flushing) return false;
    if (m_pending.empty()) return true;
    m_flushing = true;
    QString reason;
    try {
        do {
            commitPending(kMaxRowsPerCommit);
        } while (all && !m_pending.empty());
    } catch (const StoreError& error) {
        reason = QString::fromUtf8(error.what());
    }
    m_flushing = false;
    if (!reason.isEmpty()) {
        failed(reason);
        return false;
    }
    m_commitTimer->stop();
    m_retryAtMs = 0;
    if (m_failing) {
        m_failing = false;
        const quint64 dropped = m_dropped - m_droppedReported;
        m_droppedReported = m_dropped;
        emit writeRecovered(dropped);
    }
    return true;
}

void MonitorLogWriter::commitPending(std::size_t limit) {
    const std::size_t count = std::min(limit, m_pending.size());
    Database& db = database();
    Transaction transaction(db);
    if (!m_insert) m_insert = std::make_unique<SqliteStatement>(db, kInsert);
    SqliteStatement& insert = *m_insert;
    for (std::size_t i = 0; i < count; ++i) {
        const MonitorRecord& r = m_pending[i].record;
        const EventLogRow& row = m_pending[i];
        insert.bindText(1, r.MsgType);
        insert.bindText(2, r.RS232);
        insert.bindText(3, r.DateTime);
        insert.bindText(4, r.Macro);
        insert.bindText(5, r.comment);
        bindNumber(insert, 6, r.area);
        bindNumber(insert, 7, r.Preset);
        insert.bindText(8, row.AreaName);
        insert.bindText(9, row.PresetName);
        bindNumber(insert, 10, r.channel);
        insert.bindText(11, row.ChannelName);
        bindNumber(insert, 12, r.ChannelLevel);
        insert.run();
    }
    transaction.commit();
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<std::ptrdiff_t>(count));
}

void MonitorLogWriter::failed(const QString& reason) {
    // A fresh connection on the next attempt: the file may have been replaced
    // or the old connection left in a state we cannot trust.
    closeConnection();
    m_retryAtMs = m_clock.monotonicMs() + kRetryMs;
    m_commitTimer->start(kRetryMs);
    qCWarning(lcStore) << "monitor log:" << m_pending.size() << "records wait:" << reason;
    if (!m_failing) {
        m_failing = true;
        emit writeFailed(reason);
    }
}

void MonitorLogWriter::close() {
    flush();
    m_commitTimer->stop();
    closeConnection();
}

void MonitorLogWriter::closeConnection() {
    m_insert.reset();  // before the connection goes, or Qt warns it is still in use
    if (m_db) {
        m_db->close();
        m_db.reset();
    }
}

Database& MonitorLogWriter::database() {
    if (!m_db) {
        Database db = Database::open(m_path, DbKind::MonitorLog);
        // With the write-ahead journal, NORMAL keeps every commit through a
        // crash of the program and the file sound through a power cut, which
        // may only cost the last commits; FULL would wait for the disk at
        // every commit, ten times a second.
        db.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        m_db.emplace(std::move(db));
    }
    return *m_db;
}

void MonitorLogWriter::deleteAllRecords() {
    Database& db = database();
    Transaction transaction(db);
    db.exec(QStringLiteral("DELETE FROM EventLog"));
    transaction.commit();
    // Records still waiting were made before the user asked; they go as well.
    m_pending.clear();
    m_commitTimer->stop();
}

}  // namespace qv::store
