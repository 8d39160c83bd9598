// Records written to EventLog: the names looked up at the time of writing,
// the number fields, texts with quotes, and the logging switch.

#include "monitor_log_fixture.h"

#include "store/event_log_row.h"
#include "support/case_names.h"

namespace qv::store::test {
namespace {

// Which names a record gets from the tables (area 5 "Office", its preset 3
// "Bright" and channel 2 "Downlights").
struct NamesRow {
    const char* area;
    const char* preset;
    const char* channel;
    const char* areaName;
    const char* presetName;
    const char* channelName;
};

void PrintTo(const NamesRow& r, std::ostream* out) {
    *out << "area '" << r.area << "' preset '" << r.preset << "' channel '" << r.channel << "'";
}

class EventLogNamesTest : public ::testing::TestWithParam<NamesRow> {
protected:
    void SetUp() override {
        names.setAreaName(5, "Office");
        names.setPresetName(5, 3, "Bright");
        names.setChannelName(5, 2, "Downlights");
    }
    net::NameTables names;
};

TEST_P(EventLogNamesTest, NamesOfTheRecordsNumbers) {
    const NamesRow& r = GetParam();
    MonitorRecord record;
    record.area = QString::fromLatin1(r.area);
    record.Preset = QString::fromLatin1(r.preset);
    record.channel = QString::fromLatin1(r.channel);
    const EventLogRow row = eventLogRow(record, &names);
    EXPECT_EQ(row.AreaName, QString::fromLatin1(r.areaName));
    EXPECT_EQ(row.PresetName, QString::fromLatin1(r.presetName));
    EXPECT_EQ(row.ChannelName, QString::fromLatin1(r.channelName));
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, EventLogNamesTest,
    ::testing::Values(NamesRow{"5", "3", "2", "Office", "Bright", "Downlights"},
                      NamesRow{" 5 ", "3 ", " 2", "Office", "Bright", "Downlights"},
                      // An empty number gives an empty name.
                      NamesRow{"5", "", "", "Office", "", ""}, NamesRow{"", "3", "2", "", "", ""},
                      // Unnamed numbers within the tables.
                      NamesRow{"6", "3", "2", "", "", ""},
                      // Outside the tables: no name, and nothing is read out of bounds.
                      NamesRow{"300", "3", "2", "", "", ""}, NamesRow{"-1", "3", "2", "", "", ""},
                      NamesRow{"5", "97", "", "Office", "", ""}, NamesRow{"5", "0", "", "Office", "", ""},
                      NamesRow{"5", "", "257", "Office", "", ""}, NamesRow{"5", "", "-3", "Office", "", ""},
                      NamesRow{"99999999999", "3", "2", "", "", ""},
                      // Channel 256 of every area is named.
                      NamesRow{"5", "", "256", "Office", "", "All Channels"},
                      // Not a number at all.
                      NamesRow{"abc", "3", "2", "", "", ""}, NamesRow{"5", "x", "y", "Office", "", ""}));

TEST(EventLogNames, NoTablesYetGivesEmptyNames) {
    MonitorRecord record;
    record.area = QStringLiteral("5");
    record.channel = QStringLiteral("256");
    const EventLogRow row = eventLogRow(record, nullptr);
    EXPECT_TRUE(row.AreaName.isEmpty());
    EXPECT_TRUE(row.ChannelName.isEmpty());
}

class EventLogTest : public MonitorLogTest {};

TEST_F(EventLogTest, CommentWithApostrophesAndDoubleQuotesRoundTripsUnchanged) {
    const QString comment = QStringLiteral("Fred's \"big\" room");
    {
        auto log = makeLog();
        log->MonitorAdditem(monitorRecord(QStringLiteral("System"), comment, QStringLiteral("5"),
                                          QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("80")));
        ASSERT_TRUE(log->flush());
    }
    // The row as stored, field by field; numbers are stored as numbers, which
    // the energy report compares.
    RawDb raw(paths.monitorLog());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM EventLog")).toInt(), 1);
    EXPECT_EQ(
        raw.scalar(QStringLiteral(
                       "SELECT Origin || '|' || Hexstring || '|' || TimeDateStamp || '|' || Macro || '|' "
                       "|| Comments || '|' || Area || '|' || Preset || '|' || AreaName || '|' || "
                       "PresetName || '|' || Channel || '|' || ChannelName || '|' || ChannelLevel || '|' "
                       "|| typeof(Area) || '|' || typeof(ChannelLevel) FROM EventLog"))
            .toString(),
        QStringLiteral("System|1C 05 32 00 00 00 FF AE|2024-05-13 08:15:42|Evening|%1|5|3|Office|Bright|2|"
                       "Downlights|80|integer|integer")
            .arg(comment));
}

TEST_F(EventLogTest, AwkwardTextsAreStoredAsGiven) {
    const QStringList comments{QStringLiteral("'); DROP TABLE EventLog; --"), QStringLiteral("\"\"\"''"),
                               QStringLiteral("tab\there\nnew line"), QStringLiteral("Ünïcødé ☀ 💡"),
                               QString(1000, QLatin1Char('x'))};
    {
        auto log = makeLog();
        for (const QString& comment : comments)
            log->MonitorAdditem(monitorRecord(QStringLiteral("Warning **"), comment));
        ASSERT_TRUE(log->flush());
    }
    RawDb raw(paths.monitorLog());
    QSqlQuery query(raw.db());
    ASSERT_TRUE(query.exec(QStringLiteral("SELECT Comments FROM EventLog ORDER BY ID")));
    QStringList stored;
    while (query.next()) stored << query.value(0).toString();
    EXPECT_EQ(stored, comments);
}

// An empty number is NULL (the energy report skips those records); a number is
// an integer; anything else is kept as the text it was.
struct NumberRow {
    const char* text;
    const char* storedType;
    const char* storedText;
};

void PrintTo(const NumberRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.text);
}

class EventLogNumberTest : public MonitorLogTest, public ::testing::WithParamInterface<NumberRow> {};

TEST_P(EventLogNumberTest, NumberFieldsKeepWhatWasPassed) {
    const NumberRow& r = GetParam();
    const QString text = QString::fromUtf8(r.text);
    {
        auto log = makeLog();
        log->MonitorAdditem(
            monitorRecord(QStringLiteral("Comms"), QStringLiteral("levels"), text, text, text, text));
        ASSERT_TRUE(log->flush());
    }
    RawDb raw(paths.monitorLog());
    for (const char* field : {"Area", "Preset", "Channel", "ChannelLevel"}) {
        const QString sql =
            QStringLiteral("SELECT typeof(%1), coalesce(%1, '') FROM EventLog").arg(QLatin1String(field));
        QSqlQuery query(raw.db());
        ASSERT_TRUE(query.exec(sql));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), QString::fromLatin1(r.storedType)) << field;
        EXPECT_EQ(query.value(1).toString(), QString::fromUtf8(r.storedText)) << field;
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, EventLogNumberTest,
                         ::testing::Values(NumberRow{"", "null", ""}, NumberRow{"  ", "null", ""},
                                           NumberRow{"7", "integer", "7"}, NumberRow{" 12 ", "integer", "12"},
                                           NumberRow{"0", "integer", "0"}, NumberRow{"300", "integer", "300"},
                                           NumberRow{"50%", "text", "50%"}, NumberRow{"abc", "text", "abc"}));

TEST_F(EventLogTest, RecordsWithoutNumbersStoreEmptyNamesAndNullNumbers) {
    {
        auto log = makeLog();
        log->MonitorAdditem(monitorRecord(QStringLiteral("Start"), QStringLiteral("Quorvel has started")));
        ASSERT_TRUE(log->flush());
    }
    RawDb raw(paths.monitorLog());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT count(*) FROM EventLog WHERE Area IS NULL AND Preset IS NULL "
                                        "AND Channel IS NULL AND ChannelLevel IS NULL AND AreaName = '' "
                                        "AND PresetName = '' AND ChannelName = ''"))
                  .toInt(),
              1);
}

TEST_F(EventLogTest, NamesAreThoseAtTheTimeOfTheRecord) {
    auto log = makeLog();
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("one"), QStringLiteral("5")));
    names.setAreaName(5, "Boardroom");
    log->MonitorAdditem(monitorRecord(QStringLiteral("Comms"), QStringLiteral("two"), QStringLiteral("5")));
    ASSERT_TRUE(log->flush());
    RawDb raw(paths.monitorLog());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT AreaName FROM EventLog WHERE Comments = 'one'")).toString(),
              QStringLiteral("Office"));
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT AreaName FROM EventLog WHERE Comments = 'two'")).toString(),
              QStringLiteral("Boardroom"));
}

TEST_F(EventLogTest, WithLoggingOffRowsAreShownButNothingIsWritten) {
    auto log = makeLog();
    log->setLoggingEnabled(false);
    log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QStringLiteral("not logged")));
    EXPECT_TRUE(log->flush());
    EXPECT_EQ(log->model().rowCount(), 1);
    EXPECT_EQ(log->writer().pendingCount(), 0u);
    EXPECT_EQ(committedCount(), 0);

    log->setLoggingEnabled(true);
    log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QStringLiteral("logged")));
    ASSERT_TRUE(log->flush());
    RawDb raw(paths.monitorLog());
    EXPECT_EQ(raw.scalar(QStringLiteral("SELECT group_concat(Comments) FROM EventLog")).toString(),
              QStringLiteral("logged"));
}

TEST_F(EventLogTest, ExtraSinksGetEveryRecordInOrderOnce) {
    auto log = makeLog();
    qv::test::RecordingMonitor printer;
    log->addSink(&printer);
    log->addSink(&printer);   // a second time changes nothing
    log->addSink(log.get());  // nor does the log itself, which would loop
    log->addSink(nullptr);
    log->setLoggingEnabled(false);
    for (const char* comment : {"a", "b", "c"})
        log->MonitorAdditem(monitorRecord(QStringLiteral("System"), QString::fromLatin1(comment)));
    ASSERT_EQ(printer.records.size(), 3u);
    EXPECT_EQ(printer.records[0].comment, QStringLiteral("a"));
    EXPECT_EQ(printer.records[2].comment, QStringLiteral("c"));
}

}  // namespace
}  // namespace qv::store::test
