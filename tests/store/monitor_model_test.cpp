// The monitor list: colours by MsgType, the 10000-row cap with its counter,
// clearing, the date column and the separator rows.

#include "monitor_log_fixture.h"

#include "store/monitor_colours.h"
#include "store/monitor_model.h"

#include <optional>
#include <vector>
#include "support/case_names.h"

namespace qv::store::test {
namespace {

QString cell(const MonitorModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

// Colours of a type with its own text colour, one keeping the list's, and of
// everything else (the table itself is src/store/monitor_colours.cpp).
struct ColourRow {
    const char* msgType;
    std::uint32_t background;
    std::optional<std::uint32_t> text;
};

void PrintTo(const ColourRow& row, std::ostream* out) {
    *out << '"' << row.msgType << '"';
}

class MonitorColourTest : public ::testing::TestWithParam<ColourRow> {};

TEST_P(MonitorColourTest, RowTakesTheColoursOfItsType) {
    const ColourRow& expected = GetParam();
    MonitorModel model;
    model.addRecord(monitorRecord(QString::fromUtf8(expected.msgType)));

    // Every cell of the row, the narrow column 0 included.
    for (int column = 0; column < MonitorModel::kColumnCount; ++column) {
        const QModelIndex index = model.index(0, column);
        EXPECT_EQ(model.data(index, MonitorModel::BackgroundRgbRole).toUInt(), expected.background)
            << "column " << column;
        const QVariant text = model.data(index, MonitorModel::TextRgbRole);
        if (expected.text) {
            ASSERT_TRUE(text.isValid()) << "column " << column;
            EXPECT_EQ(text.toUInt(), *expected.text);
        } else {
            EXPECT_FALSE(text.isValid()) << "the list's own text colour should stay, column " << column;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryType, MonitorColourTest,
                         ::testing::Values(ColourRow{"System", 0x0000FF, 0xFFFFFF},
                                           ColourRow{"Warning **", 0xFFFF00, std::nullopt},
                                           ColourRow{"ButtonHold", 0xC0C0FF, 0xFF0000},
                                           ColourRow{"LED Update", 0xC0FFC0, 0x000000},
                                           // Traffic, the empty text, and near misses all take the default.
                                           ColourRow{"Comms", 0xFFFFC0, 0x000000},
                                           ColourRow{"", 0xFFFFC0, 0x000000},
                                           ColourRow{"system", 0xFFFFC0, 0x000000},
                                           ColourRow{"Warning *", 0xFFFFC0, 0x000000},
                                           ColourRow{"Start ", 0xFFFFC0, 0x000000}));

TEST(MonitorColours, NamesAreSixLowerCaseHexDigits) {
    EXPECT_EQ(colourName(0x010000), QStringLiteral("#010000"));
    EXPECT_EQ(colourName(0xC0C0FF), QStringLiteral("#c0c0ff"));
    EXPECT_EQ(colourName(0), QStringLiteral("#000000"));
}

TEST(MonitorModel, CellsHoldCounterTextsAndTheListDate) {
    MonitorModel model;
    MonitorRecord r =
        monitorRecord(QStringLiteral("Comms"), QStringLiteral("Area 5 preset 1"), QStringLiteral("5"),
                      QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("80"));
    r.DateTime = QStringLiteral("2024-01-02 23:04:05");
    model.addRecord(r);

    const QStringList expected{
        QString(),     QStringLiteral("1"), r.MsgType, r.RS232,  QStringLiteral("02/01/2024 23:04:05"),
        r.Macro,       r.comment,           r.area,    r.Preset, r.channel,
        r.ChannelLevel};
    ASSERT_EQ(model.columnCount(), expected.size());
    for (int column = 0; column < expected.size(); ++column)
        EXPECT_EQ(cell(model, 0, column), expected[column]) << "column " << column;
}

struct DateRow {
    const char* stored;
    const char* shown;
};

void PrintTo(const DateRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.stored);
}

class MonitorDateTest : public ::testing::TestWithParam<DateRow> {};

TEST_P(MonitorDateTest, StoredDateShownDayFirst) {
    EXPECT_EQ(monitorDateText(QString::fromLatin1(GetParam().stored)), QString::fromLatin1(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(StoredTexts, MonitorDateTest,
                         ::testing::Values(DateRow{"2024-05-13 08:15:42", "13/05/2024 08:15:42"},
                                           DateRow{"1999-12-31 23:59:59", "31/12/1999 23:59:59"},
                                           // Anything else is shown as it is, not dropped.
                                           DateRow{"", ""}, DateRow{"13/05/2024 08:15", "13/05/2024 08:15"},
                                           DateRow{"2024-05-13T08:15:42", "2024-05-13T08:15:42"},
                                           DateRow{"2024-05-13 08:15:42.5", "2024-05-13 08:15:42.5"}));

TEST(MonitorModel, The10001stRowRemovesTheOldestAndTheCounterGoesOn) {
    MonitorModel model;
    for (int i = 1; i <= MonitorModel::kMaxRows; ++i)
        model.addRecord(monitorRecord(QStringLiteral("Comms"), QStringLiteral("row %1").arg(i)));
    ASSERT_EQ(model.rowCount(), MonitorModel::kMaxRows);
    EXPECT_EQ(cell(model, 0, MonitorModel::Command), QStringLiteral("row 1"));

    std::vector<int> removedFirst;
    std::vector<int> added;
    QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                     [&](const QModelIndex&, int first, int) { removedFirst.push_back(first); });
    QObject::connect(&model, &MonitorModel::rowAdded, [&](int row) { added.push_back(row); });
    model.addRecord(monitorRecord(QStringLiteral("Comms"), QStringLiteral("row 10001")));

    EXPECT_EQ(model.rowCount(), MonitorModel::kMaxRows);
    EXPECT_EQ(cell(model, 0, MonitorModel::Command), QStringLiteral("row 2"));
    EXPECT_EQ(cell(model, 0, MonitorModel::Counter), QStringLiteral("2"));
    EXPECT_EQ(cell(model, MonitorModel::kMaxRows - 1, MonitorModel::Counter), QStringLiteral("10001"));
    EXPECT_EQ(cell(model, MonitorModel::kMaxRows - 1, MonitorModel::Command), QStringLiteral("row 10001"));
    EXPECT_EQ(removedFirst, std::vector<int>{0});
    EXPECT_EQ(added, std::vector<int>{MonitorModel::kMaxRows - 1});
}

TEST(MonitorModel, ClearEmptiesTheListAndTheNextRowShowsOne) {
    MonitorModel model;
    for (int i = 0; i < 5; ++i) model.addRecord(monitorRecord(QStringLiteral("System")));
    model.clear();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.rowCounter(), 0);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("#"));

    model.addRecord(monitorRecord(QStringLiteral("System")));
    EXPECT_EQ(cell(model, 0, MonitorModel::Counter), QStringLiteral("1"));
}

TEST(MonitorModel, SeparatorRowsAreYellowWithoutCounterAndCountTowardsTheCap) {
    MonitorModel model;
    model.addRecord(monitorRecord(QStringLiteral("System"), QStringLiteral("before")));
    model.addSeparatorRows();
    ASSERT_EQ(model.rowCount(), 4);
    const QStringList comments{QString(), QStringLiteral("Data above is from previous session(s)"),
                               QString()};
    for (int i = 0; i < 3; ++i) {
        const int row = 1 + i;
        EXPECT_EQ(cell(model, row, MonitorModel::Command), comments[i]);
        EXPECT_EQ(cell(model, row, MonitorModel::Counter), QString());
        EXPECT_EQ(cell(model, row, MonitorModel::Type), QString());
        EXPECT_EQ(model.data(model.index(row, 0), MonitorModel::BackgroundRgbRole).toUInt(), 0xFFFF00u);
        EXPECT_FALSE(model.data(model.index(row, 5), MonitorModel::TextRgbRole).isValid());
    }
    // The counter is not spent on them.
    model.addRecord(monitorRecord(QStringLiteral("Start")));
    EXPECT_EQ(cell(model, 4, MonitorModel::Counter), QStringLiteral("2"));
}

TEST(MonitorModel, OutOfRangeIndexesGiveNoData) {
    MonitorModel model;
    model.addRecord(monitorRecord(QStringLiteral("System")));
    EXPECT_FALSE(model.data(model.index(1, 0)).isValid());
    EXPECT_FALSE(model.data(QModelIndex()).isValid());
    EXPECT_FALSE(model.data(model.index(0, 2), Qt::EditRole).isValid());
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 0);
}

}  // namespace
}  // namespace qv::store::test
