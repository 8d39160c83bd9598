// The area status file's text, and the request queue between the compare
// step and the request step. The text written is checked in status_file_test.

#include "features/exchange/status_sheet.h"
#include "features/exchange/sheet_requests.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::exchange {
namespace {

TEST(StatusSheet, WrittenFileReadsBackWithoutRequestsOrProblems) {
    net::AreaState state;
    state.setPreset(7, 2);
    const SheetRead read = readStatusSheet(formatStatusSheet(state));
    EXPECT_TRUE(read.problems.isEmpty());
    for (const QString& r : read.requests) EXPECT_TRUE(r.isEmpty());
}

struct CellRow {
    QByteArray text;
    int area;
    QString request;
};

void PrintTo(const CellRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.area, row.text);
}

class RequestCells : public ::testing::TestWithParam<CellRow> {};

TEST_P(RequestCells, AreReadAsTheLinkWindowReadThem) {
    const SheetRead read = readStatusSheet(GetParam().text);
    EXPECT_TRUE(read.problems.isEmpty()) << read.problems.join("; ").toStdString();
    EXPECT_EQ(read.requests.at(static_cast<std::size_t>(GetParam().area)), GetParam().request);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, RequestCells,
    ::testing::Values(CellRow{"Area,Preset,Request\n12,3,5\n", 12, "5"},
                      CellRow{"12,3,  Lobby On  \n", 12, "Lobby On"},
                      CellRow{"12,3,5\r\n13,unknown,Night\r\n", 13, "Night"},
                      // Rows are found by area, not by place; extra columns are ignored.
                      CellRow{"200,1,Hall,extra,columns\n3,1,\n", 200, "Hall"},
                      CellRow{"12,3,\"Smith, Jones \"\"late\"\"\"\n", 12, "Smith, Jones \"late\""},
                      // Cut at the first line break, as a cell with several lines was.
                      CellRow{"12,3,\"first\nsecond\"\n13,1,x\n", 12, "first"},
                      CellRow{"12,3,\"first\nsecond\"\n13,1,x\n", 13, "x"},
                      CellRow{"12,3,\"\r\nafter a break\"\n", 12, ""}, CellRow{"12,3\n", 12, ""},
                      CellRow{"\n\n12,3,7", 12, "7"},
                      // The later of two rows for one area wins.
                      CellRow{"12,3,5\n12,3,6\n", 12, "6"}, CellRow{"12,3,5\n12,3,\n", 12, "5"},
                      CellRow{"  12 ,3,9\n", 12, "9"}));

struct ProblemRow {
    QByteArray text;
    QString problem;
};

void PrintTo(const ProblemRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.text);
}

class SheetProblems : public ::testing::TestWithParam<ProblemRow> {};

TEST_P(SheetProblems, AreNamedByRow) {
    const SheetRead read = readStatusSheet(GetParam().text);
    ASSERT_EQ(read.problems.size(), 1) << read.problems.join("; ").toStdString();
    EXPECT_EQ(read.problems.front(), GetParam().problem);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SheetProblems,
    ::testing::Values(ProblemRow{"Area,Preset,Request\n0,1,5\n", "row 2: \"0\" is not an area 1-255"},
                      ProblemRow{"256,1,5\n", "row 1: \"256\" is not an area 1-255"},
                      ProblemRow{"twelve,1,5\n", "row 1: \"twelve\" is not an area 1-255"},
                      ProblemRow{"12;3;5\n", "row 1: \"12;3;5\" is not an area 1-255"},
                      ProblemRow{"1,2,3\n\"a\nb\",1\n", "row 2: \"a\nb\" is not an area 1-255"},
                      ProblemRow{"12,3,\"never closed\n13,1,x\n", "row 1: a quote is not closed"},
                      ProblemRow{QByteArray("12,3,\xff\xfe\n"), "the file is not UTF-8 text"}));

TEST(SheetProblems, GoodRowsAroundABadOneStillCount) {
    const SheetRead read = readStatusSheet("5,1,Hall\nrubbish\n6,1,4\n");
    EXPECT_EQ(read.problems.size(), 1);
    EXPECT_EQ(read.requests.at(5), "Hall");
    EXPECT_EQ(read.requests.at(6), "4");
}

TEST(SheetProblems, BinaryGarbageGivesNoRequest) {
    QByteArray junk;
    for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37) % 256);
    const SheetRead read = readStatusSheet(junk);
    for (const QString& r : read.requests) EXPECT_TRUE(r.isEmpty());
    EXPECT_FALSE(read.problems.isEmpty());
}

// ---- the request queue ----------------------------------------------------------

using Cells = std::array<QString, 256>;

Cells cells(std::initializer_list<std::pair<int, QString>> entries) {
    Cells c;
    for (const auto& [area, text] : entries) c.at(static_cast<std::size_t>(area)) = text;
    return c;
}

std::vector<AreaRequest> drain(SheetRequests& requests) {
    std::vector<AreaRequest> out;
    while (auto next = requests.takeNext()) out.push_back(*next);
    return out;
}

TEST(SheetRequestQueue, TakesNewCellsInAreaOrder) {
    SheetRequests requests;
    requests.compare(cells({{40, "Hall"}, {12, "5"}}));
    EXPECT_EQ(drain(requests), (std::vector<AreaRequest>{{12, "5"}, {40, "Hall"}}));
    EXPECT_FALSE(requests.takeNext());
}

TEST(SheetRequestQueue, TwoRequestsForOneAreaLeaveOnlyTheLater) {
    SheetRequests requests;
    requests.compare(cells({{12, "5"}, {13, "1"}}));
    requests.compare(cells({{12, "Lobby On"}}));
    EXPECT_EQ(requests.pending(), 2u);
    // The replaced request goes to the back, as a keyed collection re-added does.
    EXPECT_EQ(drain(requests), (std::vector<AreaRequest>{{13, "1"}, {12, "Lobby On"}}));
}

TEST(SheetRequestQueue, ACellThatStaysIsTakenOnce) {
    SheetRequests requests;
    requests.compare(cells({{12, "5"}}));
    drain(requests);
    // The program could not clear the cell: it must not act again every second.
    requests.compare(cells({{12, "5"}}));
    requests.compare(cells({{12, "5"}}));
    EXPECT_EQ(requests.pending(), 0u);
}

TEST(SheetRequestQueue, SameRequestAgainAfterTheCellWasSeenEmpty) {
    SheetRequests requests;
    requests.compare(cells({{12, "5"}}));
    drain(requests);
    requests.compare(cells({}));
    requests.compare(cells({{12, "5"}}));
    EXPECT_EQ(drain(requests), (std::vector<AreaRequest>{{12, "5"}}));
}

TEST(SheetRequestQueue, OverlongRequestIsRefusedAndReported) {
    SheetRequests requests;
    const auto refused =
        requests.compare(cells({{9, QString(256, QLatin1Char('x'))}, {10, QString(255, 'y')}}));
    EXPECT_EQ(refused, std::deque<int>{9});
    EXPECT_EQ(drain(requests).size(), 1u);
    // Not reported again while it stays.
    EXPECT_TRUE(requests.compare(cells({{9, QString(256, QLatin1Char('x'))}})).empty());
}

struct PresetRow {
    const char* request;
    std::optional<int> preset;
};

void PrintTo(const PresetRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.request);
}

class RequestKind : public ::testing::TestWithParam<PresetRow> {};

TEST_P(RequestKind, PresetOneToNinetySixElseMacro) {
    EXPECT_EQ(SheetRequests::presetOf(QString::fromLatin1(GetParam().request)), GetParam().preset);
}

INSTANTIATE_TEST_SUITE_P(Rows, RequestKind,
                         ::testing::Values(PresetRow{"1", 1}, PresetRow{"96", 96}, PresetRow{"05", 5},
                                           PresetRow{"0", std::nullopt}, PresetRow{"97", std::nullopt},
                                           PresetRow{"-3", std::nullopt}, PresetRow{"5.5", std::nullopt},
                                           PresetRow{"Lobby On", std::nullopt},
                                           PresetRow{"5 Lobby", std::nullopt}));

}  // namespace
}  // namespace qv::exchange
