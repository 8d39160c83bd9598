// Import of area and channel names from AreaChannelNames.xls / .csv in the
// data directory: what is replaced, name cleaning, rows passed over, the
// file's own faults, and a failure that must change nothing.

#include "config_fixture.h"

#include "shell/config/config_engine.h"
#include "shell/config/csv_reader.h"
#include "shell/config/messages.h"
#include "shell/config/name_import.h"
#include "shell/config/xls_reader.h"

#include <QSignalSpy>
#include "support/case_names.h"

namespace qv::config {
namespace {

using test::ConfigTest;

// The workbooks in data/, Excel 97-2003 files.
QByteArray workbook(const char* name) {
    QFile file(QStringLiteral(QUORVEL_CONFIG_TEST_DATA "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ImportTest : public ConfigTest {
protected:
    void SetUp() override {
        ConfigTest::SetUp();
        // Names from before the import.
        exec("INSERT INTO AreaNames (Area, AreaName) VALUES (3, 'Old Three'), (40, 'Old Forty')");
        exec(
            "INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (3, 1, 'Old Channel'), (40, 2, "
            "'Gone')");
        exec("INSERT INTO PresetNames (Area, Preset, PresetName) VALUES (3, 1, 'On')");
    }

    void writeCsv(const QByteArray& text) { test::writeFile(inData("AreaChannelNames.csv"), text); }

    QString areaName(int area) {
        return scalar("SELECT AreaName FROM AreaNames WHERE Area = ?", {area}).toString();
    }
    QVariant channelName(int area, int channel) {
        return scalar("SELECT Channelname FROM AreaChannels WHERE Area = ? AND Channel = ?", {area, channel});
    }

    NameImportResult import() { return importAreaChannelNames(*main, paths.dir); }
};

TEST_F(ImportTest, CsvNamesReplaceTheOldOnesWithTheirNamesCleaned) {
    writeCsv(
        "Area,Area name,Channel,Channel name\r\n"
        "3,Fred's Office,1,Desk Lamp\r\n"
        "3,,2,\"Window, East\"\r\n"
        "7,\"The \"\"Big\"\" Hall\",1,2nd Row\r\n");
    const NameImportResult result = import();
    ASSERT_TRUE(result.outcome.ok) << result.outcome.message.toStdString();
    EXPECT_EQ(result.outcome.message, msg::kImportFinished);
    EXPECT_EQ(result.areasNamed, 2);
    EXPECT_EQ(result.channelsNamed, 3);

    EXPECT_EQ(areaName(3), "Freds Office");  // kept through the row with no area name
    EXPECT_EQ(areaName(7), "The Big Hall");
    EXPECT_EQ(areaName(40), " ");  // blanked, as every old name
    EXPECT_EQ(channelName(3, 1).toString(), "Desk Lamp");
    EXPECT_EQ(channelName(3, 2).toString(), "Window East");
    EXPECT_EQ(channelName(7, 1).toString(), "nd Row");
    EXPECT_FALSE(channelName(40, 2).isValid());  // old channel names are deleted
    EXPECT_EQ(count("AreaChannels"), 3);
    EXPECT_EQ(count("PresetNames"), 1);  // preset names are not the import's business
}

TEST_F(ImportTest, ASheetWhoseFirstRowIsEmptyBlanksEveryNameAndAddsNone) {
    writeCsv("Area,Area name,Channel,Channel name\n,Lobby,1,Spots\n5,Never Read,1,X\n");
    const NameImportResult result = import();
    ASSERT_TRUE(result.outcome.ok);
    EXPECT_EQ(areaName(3), " ");
    EXPECT_EQ(areaName(40), " ");
    EXPECT_EQ(count("AreaNames"), 2);
    EXPECT_EQ(count("AreaChannels"), 0);
}

TEST_F(ImportTest, AreaZeroAddsNeitherAnAreaNameNorAChannelName) {
    writeCsv("A,B,C,D\n0,Everything,1,All\n0,Nothing,0,None\n");
    ASSERT_TRUE(import().outcome.ok);
    EXPECT_FALSE(scalar("SELECT AreaName FROM AreaNames WHERE Area = 0").isValid());
    EXPECT_EQ(count("AreaChannels"), 0);
}

TEST_F(ImportTest, RowsThatDoNotFitArePassedOverWithAReason) {
    writeCsv(
        "A,B,C,D\n"
        "Area,Heading again,1,X\n"
        "300,Too High,1,X\n"
        "9,Kitchen,many,X\n"
        "9,,256,All\n"
        "9,,0,No Channel\n"
        "10,Bar,3,\n"
        "12.0,Twelve,4.0,Four\n");
    const NameImportResult result = import();
    ASSERT_TRUE(result.outcome.ok);
    ASSERT_EQ(result.skipped.size(), 4) << result.skipped.join("\n").toStdString();
    EXPECT_TRUE(result.skipped[0].startsWith("Row 2:"));
    EXPECT_TRUE(result.skipped[1].contains("300"));
    EXPECT_TRUE(result.skipped[2].contains("many"));
    EXPECT_TRUE(result.skipped[3].contains("256"));
    EXPECT_EQ(areaName(9), "Kitchen");
    EXPECT_EQ(channelName(10, 3).toString(), " ");  // a known channel without a name
    EXPECT_EQ(areaName(12), "Twelve");
    EXPECT_EQ(channelName(12, 4).toString(), "Four");
    EXPECT_FALSE(scalar("SELECT AreaName FROM AreaNames WHERE Area = 300").isValid());
    EXPECT_EQ(count("AreaChannels"), 2);
}

TEST_F(ImportTest, AChannelListedTwiceKeepsItsLaterName) {
    writeCsv("A,B,C,D\n4,Stage,1,First\n4,Stage,1,Second\n");
    const NameImportResult result = import();
    EXPECT_EQ(result.channelsNamed, 1);
    EXPECT_EQ(count("AreaChannels"), 1);
    EXPECT_EQ(channelName(4, 1).toString(), "Second");
}

TEST_F(ImportTest, NoFileGivesTheMessageAndChangesNothing) {
    const NameImportResult result = import();
    EXPECT_FALSE(result.outcome.ok);
    EXPECT_EQ(result.outcome.message, msg::kImportFileMissing);
    EXPECT_EQ(areaName(3), "Old Three");
    EXPECT_EQ(count("AreaChannels"), 2);
}

TEST_F(ImportTest, AFailedWriteChangesNothing) {
    writeCsv("A,B,C,D\n3,New Three,1,New\n");
    // An AreaChannels table an older tool left without its name column.
    exec("DROP TABLE AreaChannels");
    exec("CREATE TABLE AreaChannels (Area INTEGER, Channel INTEGER)");
    exec("INSERT INTO AreaChannels (Area, Channel) VALUES (3, 1)");
    const NameImportResult result = import();
    EXPECT_FALSE(result.outcome.ok);
    EXPECT_TRUE(result.outcome.message.startsWith("The names could not be imported"))
        << result.outcome.message.toStdString();
    EXPECT_EQ(areaName(3), "Old Three");
    EXPECT_EQ(areaName(40), "Old Forty");
    EXPECT_EQ(count("AreaChannels"), 1);
}

TEST_F(ImportTest, TheXlsWorkbookIsReadFromItsSheet1) {
    // Sheet "Notes" (5 "Wrong Sheet") before "Sheet1": a heading row; 3 "O'Brien's Office" with
    // channels 1 "Desk" and 2.0 "Café Spots"; 8 "Plant Room"; a row without an area; 9 "Never Read".
    test::writeFile(inData("AreaChannelNames.XLS"), workbook("two_sheets.xls"));
    const NameImportResult result = import();
    ASSERT_TRUE(result.outcome.ok) << result.outcome.message.toStdString();
    EXPECT_EQ(areaName(3), "OBriens Office");
    EXPECT_EQ(areaName(8), "Plant Room");
    EXPECT_EQ(channelName(3, 1).toString(), "Desk");
    EXPECT_EQ(channelName(3, 2).toString(), "Caf Spots");
    EXPECT_FALSE(scalar("SELECT AreaName FROM AreaNames WHERE Area = 5").isValid());
    EXPECT_FALSE(scalar("SELECT AreaName FROM AreaNames WHERE Area = 9").isValid());
    EXPECT_EQ(count("AreaChannels"), 2);
}

TEST_F(ImportTest, TheWorkbookWinsOverTheCsv) {
    // "sheet1": 6 "From Xls".
    test::writeFile(inData("AreaChannelNames.xls"), workbook("lower_case_sheet1.xls"));
    writeCsv("A,B,C,D\n6,From Csv,,\n");
    ASSERT_TRUE(import().outcome.ok);
    EXPECT_EQ(areaName(6), "From Xls");
}

struct BadWorkbookRow {
    const char* name;
    std::function<QByteArray()> bytes;
    const char* reason;
};

void PrintTo(const BadWorkbookRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.name);
}
class BadWorkbook : public ImportTest, public ::testing::WithParamInterface<BadWorkbookRow> {};

TEST_P(BadWorkbook, IsReportedAndChangesNothing) {
    test::writeFile(inData("AreaChannelNames.xls"), GetParam().bytes());
    const NameImportResult result = import();
    EXPECT_FALSE(result.outcome.ok);
    EXPECT_TRUE(result.outcome.message.contains("AreaChannelNames.xls could not be read"))
        << result.outcome.message.toStdString();
    EXPECT_TRUE(result.outcome.message.contains(GetParam().reason)) << result.outcome.message.toStdString();
    EXPECT_EQ(areaName(3), "Old Three");
    EXPECT_EQ(count("AreaChannels"), 2);
}

QByteArray goodBook() {
    return workbook("one_name.xls");  // "Sheet1": 3 "New"
}

INSTANTIATE_TEST_SUITE_P(
    Rows, BadWorkbook,
    ::testing::Values(
        BadWorkbookRow{"NotAWorkbook", [] { return QByteArray("Area,Name\n3,Text saved as xls\n"); },
                       "damaged"},
        BadWorkbookRow{"Empty", [] { return QByteArray(); }, "damaged"},
        BadWorkbookRow{"Truncated", [] { return goodBook().left(1500); }, "damaged"},
        BadWorkbookRow{"BrokenRecords",
                       [] {
                           QByteArray book = goodBook();
                           book[1536] = '\x77';  // the first record is no longer a BOF
                           return book;
                       },
                       "damaged"},
        BadWorkbookRow{"WithoutSheet1",
                       [] { return workbook("without_sheet1.xls"); },  // its one sheet is "Names"
                       "sheet1"}),
    [](const ::testing::TestParamInfo<BadWorkbookRow>& info) { return std::string(info.param.name); });

TEST(CsvSheet, QuotesCommasAndLineEndsAreRead) {
    EXPECT_EQ(splitCsvLine("1,\"a, b\",\"say \"\"hi\"\"\",x"), QStringList({"1", "a, b", "say \"hi\"", "x"}));
    EXPECT_EQ(splitCsvLine(""), QStringList({""}));
    EXPECT_EQ(splitCsvLine("1,,"), QStringList({"1", "", ""}));
    const SheetRead read = parseCsvSheet("\xEF\xBB\xBFHeading\r\n 4 ,Hall\r\n5\r\n\r\n6,After the gap\r\n");
    ASSERT_TRUE(read.ok);
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_EQ(read.rows[0].line, 2);
    EXPECT_EQ(read.rows[0].area, "4");
    EXPECT_EQ(read.rows[0].areaName, "Hall");
    EXPECT_EQ(read.rows[1].area, "5");
    EXPECT_TRUE(read.rows[1].channel.isEmpty());
}

TEST_F(ImportTest, TheEngineReportsTheImportAndAsksForTheNamesAgain) {
    writeCsv("A,B,C,D\n3,New Three,1,Desk\nArea,,,\n");
    ConfigEngine engine(ConfigDeps{*main, paths, monitor, clock, *userSettings, {}});
    ASSERT_FALSE(engine.open());
    QSignalSpy namesChanged(&engine, &ConfigEngine::namesChanged);
    const NameImportResult result = engine.importNames();
    ASSERT_TRUE(result.outcome.ok);
    EXPECT_EQ(namesChanged.count(), 1);
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == store::monitorTypeText(store::MonitorType::Warning);
    }),
              1);
    EXPECT_EQ(monitor.countComment("Area and channel names imported: 1 area names, 1 channel names"), 1);

    QFile::remove(inData("AreaChannelNames.csv"));
    EXPECT_EQ(engine.importNames().outcome.message, msg::kImportFileMissing);
    EXPECT_EQ(namesChanged.count(), 1);
}

}  // namespace
}  // namespace qv::config
