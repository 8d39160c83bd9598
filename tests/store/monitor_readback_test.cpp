// Start-up read-back of earlier sessions, and the reset of the log.

#include "monitor_log_fixture.h"

#include "store/monitor_readback.h"

#include <QDir>

namespace qv::store::test {
namespace {

class MonitorReadBackTest : public MonitorLogTest {
protected:
    QString comment(MonitorLog& log, int row) { return log.model().recordAt(row).comment; }

    // The model's separator rows (their look is the model's test) end the list.
    void expectSeparatorsAt(MonitorLog& log, int firstRow) {
        ASSERT_EQ(log.model().rowCount(), firstRow + 3);
        EXPECT_EQ(comment(log, firstRow + 1), QStringLiteral("Data above is from previous session(s)"));
    }
};

TEST_F(MonitorReadBackTest, LastRecordsOldestFirstThenTheSeparatorRows) {
    fillLog(50);
    auto log = makeLog();
    qv::test::RecordingMonitor printer;
    log->addSink(&printer);
    std::vector<int> progress;
    EXPECT_EQ(log->loadPreviousSessions(5, [&](int percent) { progress.push_back(percent); }), 5);

    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(comment(*log, i), QStringLiteral("old %1").arg(46 + i));
        EXPECT_EQ(log->model().data(log->model().index(i, MonitorModel::Counter)).toString(),
                  QString::number(i + 1));
    }
    EXPECT_EQ(log->model().recordAt(0).area, QStringLiteral("46"));
    EXPECT_EQ(log->model().recordAt(0).Preset, QString());  // NULL reads as empty
    expectSeparatorsAt(*log, 5);

    // Shown only: not written again, not passed to other sinks.
    ASSERT_TRUE(log->flush());
    EXPECT_EQ(committedCount(), 50);
    EXPECT_TRUE(printer.records.empty());
    ASSERT_FALSE(progress.empty());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);
}

TEST_F(MonitorReadBackTest, GapsInTheKeysStillGiveTheLastRecords) {
    fillLog(20);
    {
        RawDb raw(paths.monitorLog());
        raw.exec(QStringLiteral("DELETE FROM EventLog WHERE ID BETWEEN 15 AND 19"));
    }
    auto log = makeLog();
    EXPECT_EQ(log->loadPreviousSessions(4), 4);
    const QStringList shown{comment(*log, 0), comment(*log, 1), comment(*log, 2), comment(*log, 3)};
    EXPECT_EQ(shown, (QStringList{"old 12", "old 13", "old 14", "old 20"}));
}

// How many come back for the configured number.
struct CountRow {
    int stored;
    int configured;
    int readBack;
};

void PrintTo(const CountRow& r, std::ostream* out) {
    *out << r.stored << " stored, " << r.configured << " asked";
}

class ReadBackCountTest : public MonitorReadBackTest, public ::testing::WithParamInterface<CountRow> {};

TEST_P(ReadBackCountTest, ReadsAtMostTheConfiguredNumber) {
    const CountRow& r = GetParam();
    if (r.stored > 0) fillLog(r.stored);
    auto log = makeLog();
    EXPECT_EQ(log->loadPreviousSessions(r.configured), r.readBack);
    expectSeparatorsAt(*log, r.readBack);
    if (r.readBack > 0) {
        EXPECT_EQ(comment(*log, r.readBack - 1), QStringLiteral("old %1").arg(r.stored));
    }
}

INSTANTIATE_TEST_SUITE_P(Counts, ReadBackCountTest,
                         ::testing::Values(CountRow{10, 0, 0}, CountRow{0, 100, 0}, CountRow{10, -5, 0},
                                           CountRow{3, 100, 3}, CountRow{10, 10, 10}, CountRow{10, 1, 1}));

TEST_F(MonitorReadBackTest, NeverMoreThanTheListHolds) {
    fillLog(kMaxReadBack + 50);
    auto log = makeLog();
    EXPECT_EQ(log->loadPreviousSessions(kMaxReadBack + 50), kMaxReadBack);
    // The separators push the three oldest read-back rows out of the full list.
    ASSERT_EQ(log->model().rowCount(), MonitorModel::kMaxRows);
    EXPECT_EQ(comment(*log, 0), QStringLiteral("old %1").arg(50 + 1 + 3));
    EXPECT_EQ(comment(*log, MonitorModel::kMaxRows - 2),
              QStringLiteral("Data above is from previous session(s)"));
}

TEST_F(MonitorReadBackTest, UnreadableLogGivesAnErrorRowAndIsLeftAlone) {
    const QByteArray garbage = QByteArray("this is no database at all, ").repeated(100);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(paths.monitorLog()).absolutePath()));
    writeFile(paths.monitorLog(), garbage);
    auto log = makeLog();
    EXPECT_EQ(log->loadPreviousSessions(100), 0);
    ASSERT_EQ(log->model().rowCount(), 4);
    EXPECT_EQ(log->model().recordAt(0).MsgType, QStringLiteral("ERROR ***"));
    EXPECT_TRUE(comment(*log, 0).startsWith(
        QStringLiteral("The records of previous sessions could not be read from the monitor log")));
    EXPECT_EQ(log->model().recordAt(0).DateTime, QStringLiteral("2024-05-13 09:00:00"));
    expectSeparatorsAt(*log, 1);
    EXPECT_EQ(fileBytes(paths.monitorLog()), garbage);
}

TEST_F(MonitorReadBackTest, RecordsWaitingBeforeTheLoadComeAfterTheEarlierSessions) {
    fillLog(2);
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QStringLiteral("early")));
    EXPECT_EQ(log->loadPreviousSessions(3), 3);
    EXPECT_EQ(comment(*log, 0), QStringLiteral("early"));  // shown when it was added
    EXPECT_EQ(comment(*log, 3), QStringLiteral("early"));  // and read back as the newest record
}

// The reset of the log.

TEST_F(MonitorReadBackTest, ResetDeletesEveryRecordThoseWaitingIncluded) {
    fillLog(30);
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QStringLiteral("waiting")));
    const int shown = log->model().rowCount();
    const ResetOutcome outcome = log->resetLog();
    EXPECT_TRUE(outcome.deleted);
    EXPECT_EQ(outcome.text, MonitorLogReset::done());
    EXPECT_TRUE(log->flush());
    EXPECT_EQ(committedCount(), 0);
    EXPECT_EQ(log->model().rowCount(), shown) << "the list is not the log";

    log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QStringLiteral("after reset")));
    ASSERT_TRUE(log->flush());
    EXPECT_EQ(committedCount(), 1);
}

TEST_F(MonitorReadBackTest, ResetOfAnUnreadableLogSaysSoAndChangesNothing) {
    const QByteArray garbage = QByteArray("not sqlite ").repeated(50);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(paths.monitorLog()).absolutePath()));
    writeFile(paths.monitorLog(), garbage);
    auto log = makeLog();
    const ResetOutcome outcome = log->resetLog();
    EXPECT_FALSE(outcome.deleted);
    EXPECT_TRUE(
        outcome.text.startsWith(QStringLiteral("The records of the Monitor Log could not be deleted")));
    EXPECT_EQ(fileBytes(paths.monitorLog()), garbage);
}

TEST_F(MonitorReadBackTest, ClearEmptiesTheListButNotTheLog) {
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QStringLiteral("kept in the file")));
    ASSERT_TRUE(log->flush());
    log->clear();
    EXPECT_EQ(log->model().rowCount(), 0);
    EXPECT_EQ(committedCount(), 1);
}

}  // namespace
}  // namespace qv::store::test
