// When records reach the file: batched commits within 100 ms, at once when the
// event loop is too busy to run the timer, all at flush() and on destruction;
// and what happens while the file can not be written.

#include "monitor_log_fixture.h"

#include <QDir>

namespace qv::store::test {
namespace {

class MonitorLogWriterTest : public MonitorLogTest {
protected:
    QStringList committedComments() {
        RawDb raw(paths.monitorLog());
        QSqlQuery query(raw.db());
        EXPECT_TRUE(query.exec(QStringLiteral("SELECT Comments FROM EventLog ORDER BY ID")));
        QStringList comments;
        while (query.next()) comments << query.value(0).toString();
        return comments;
    }

    int modelRowsOfType(MonitorLog& log, const QString& type) {
        int n = 0;
        for (int row = 0; row < log.model().rowCount(); ++row)
            n += log.model().recordAt(row).MsgType == type ? 1 : 0;
        return n;
    }
};

TEST_F(MonitorLogWriterTest, ARecordIsCommittedATenthOfASecondLaterByTheTimer) {
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("heard")));
    // Not written record by record: the batch is still open.
    clock.advance(99);
    EXPECT_EQ(committedCount(), 0);
    clock.advance(1);
    EXPECT_EQ(committedCount(), 1);
    EXPECT_EQ(log->writer().pendingCount(), 0u);
}

TEST_F(MonitorLogWriterTest, FlushCommitsEverythingAtOnce) {
    auto log = makeLog();
    for (int i = 0; i < 500; ++i)
        log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("r%1").arg(i)));
    EXPECT_EQ(committedCount(), 0);
    ASSERT_TRUE(log->flush());
    EXPECT_EQ(committedCount(), 500);
    EXPECT_EQ(committedComments().constLast(), QStringLiteral("r499"));
}

TEST_F(MonitorLogWriterTest, OverdueBatchCommitsOnTheNextRecordWithoutTheEventLoop) {
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("first")));
    clock.stall(99);
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("second")));
    EXPECT_EQ(committedCount(), 0) << "committed before the batch was due";
    clock.stall(1);
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("third")));
    EXPECT_EQ(committedCount(), 3);

    // The next batch starts with the next record.
    clock.stall(50);
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("fourth")));
    clock.stall(99);
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("fifth")));
    EXPECT_EQ(committedCount(), 3);
    clock.stall(1);
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("sixth")));
    EXPECT_EQ(committedCount(), 6);
}

TEST_F(MonitorLogWriterTest, AnOverdueBatchCommitsInBoundedTransactionsOverLaterTurns) {
    auto log = makeLog();
    const int total = 2 * static_cast<int>(MonitorLogWriter::kMaxRowsPerCommit) + 200;
    for (int i = 0; i < total - 1; ++i)
        log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("r%1").arg(i)));
    clock.stall(100);
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("r%1").arg(total - 1)));
    // One bounded transaction in this turn, so the loop is not held...
    EXPECT_EQ(committedCount(), static_cast<int>(MonitorLogWriter::kMaxRowsPerCommit));
    // ...and the rest in the turns after it, with no further record arriving.
    clock.advance(0);
    EXPECT_EQ(committedCount(), total);
    const QStringList comments = committedComments();
    EXPECT_EQ(comments.constFirst(), QStringLiteral("r0"));
    EXPECT_EQ(comments.constLast(), QStringLiteral("r%1").arg(total - 1));
}

TEST_F(MonitorLogWriterTest, DestroyingTheLogCommitsWhatWaits) {
    {
        auto log = makeLog();
        for (int i = 0; i < 3; ++i)
            log->MonitorAdditem(monitorRecord(QStringLiteral("Shutdown"), QStringLiteral("s%1").arg(i)));
    }
    EXPECT_EQ(committedComments(), (QStringList{"s0", "s1", "s2"}));
}

TEST_F(MonitorLogWriterTest, ARecordAfterCloseOpensTheFileAgain) {
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QStringLiteral("before")));
    log->close();
    EXPECT_FALSE(log->writer().isOpen());
    EXPECT_EQ(committedCount(), 1);
    log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QStringLiteral("after")));
    ASSERT_TRUE(log->flush());
    EXPECT_EQ(committedComments(), (QStringList{"before", "after"}));
}

TEST_F(MonitorLogWriterTest, UnwritableLogKeepsRecordsReportsOnceAndCatchesUp) {
    // A folder where the file should be: every open fails.
    ASSERT_TRUE(QDir().mkpath(paths.monitorLog()));
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("one")));
    EXPECT_FALSE(log->flush());
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("two")));
    EXPECT_FALSE(log->flush());
    EXPECT_FALSE(log->flush());

    EXPECT_EQ(modelRowsOfType(*log, QStringLiteral("ERROR ***")), 1) << "one report per run of failures";
    EXPECT_EQ(log->writer().pendingCount(), 3u);  // one, the error record, two

    ASSERT_TRUE(QDir(paths.monitorLog()).removeRecursively());
    ASSERT_TRUE(log->flush());
    const MonitorRecord& last = log->model().recordAt(log->model().rowCount() - 1);
    EXPECT_EQ(last.MsgType, QStringLiteral("Warning **"));
    EXPECT_EQ(last.comment, QStringLiteral("The monitor log is written again"));
    ASSERT_TRUE(log->flush());

    const QStringList comments = committedComments();
    ASSERT_EQ(comments.size(), 4);
    EXPECT_EQ(comments[0], QStringLiteral("one"));
    EXPECT_TRUE(comments[1].startsWith(QStringLiteral("The monitor log can not be written")))
        << comments[1].toStdString();
    EXPECT_EQ(comments[2], QStringLiteral("two"));
    EXPECT_EQ(comments[3], QStringLiteral("The monitor log is written again"));
}

TEST_F(MonitorLogWriterTest, BeyondTheLimitTheOldestWaitingRecordsAreDroppedAndCounted) {
    ASSERT_TRUE(QDir().mkpath(paths.monitorLog()));
    auto log = makeLog();
    log->writer().setMaxPending(3);
    for (const char* comment : {"a", "b", "c", "d", "e"})
        log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QString::fromLatin1(comment)));
    EXPECT_EQ(log->writer().droppedCount(), 2u);
    EXPECT_FALSE(log->flush());  // its error record pushes out "c"

    ASSERT_TRUE(QDir(paths.monitorLog()).removeRecursively());
    ASSERT_TRUE(log->flush());
    ASSERT_TRUE(log->flush());
    const QStringList comments = committedComments();
    ASSERT_EQ(comments.size(), 4);
    EXPECT_EQ(comments[0], QStringLiteral("d"));
    EXPECT_EQ(comments[1], QStringLiteral("e"));
    EXPECT_EQ(comments[3],
              QStringLiteral(
                  "The monitor log is written again; 3 records could not be kept and are missing from it"));
}

TEST_F(MonitorLogWriterTest, AFailedCommitIsRetriedByTheTimer) {
    ASSERT_TRUE(QDir().mkpath(paths.monitorLog()));
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("waits")));
    clock.advance(100);
    ASSERT_EQ(log->model().rowCount(), 2) << "the commit timer never tried";
    ASSERT_TRUE(QDir(paths.monitorLog()).removeRecursively());
    // Retried a second later, without anyone calling flush().
    clock.advance(999);
    EXPECT_EQ(committedCount(), 0);
    clock.advance(1);
    EXPECT_GE(committedCount(), 2);
    EXPECT_EQ(committedComments().constFirst(), QStringLiteral("waits"));
}

}  // namespace
}  // namespace qv::store::test
