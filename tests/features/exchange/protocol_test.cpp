// The wire format: request lines good and bad, reply lines, and the line
// reader's cap on what a client may send in one line.

#include "features/exchange/protocol.h"
#include "features/exchange/line_reader.h"

#include <gtest/gtest.h>

#include <string>
#include "support/case_names.h"

namespace qv::exchange {
namespace {

struct GoodRow {
    const char* line;
    Command command;
    const char* item;
    const char* value;
};

void PrintTo(const GoodRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.line);
}

class GoodRequest : public ::testing::TestWithParam<GoodRow> {};

TEST_P(GoodRequest, IsRead) {
    const GoodRow& row = GetParam();
    const ParsedRequest parsed = parseRequest(QByteArray(row.line));
    ASSERT_TRUE(parsed.request.has_value()) << parsed.error.toStdString();
    EXPECT_EQ(parsed.request->command, row.command);
    EXPECT_EQ(parsed.request->item, QString::fromUtf8(row.item));
    EXPECT_EQ(parsed.request->value, QString::fromUtf8(row.value));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GoodRequest,
    ::testing::Values(GoodRow{"GET StatusArea12", Command::Get, "StatusArea12", ""},
                      GoodRow{"get statusarea12  ", Command::Get, "statusarea12", ""},
                      GoodRow{"SET SetArea12 5", Command::Set, "SetArea12", "5"},
                      // The value is everything after the single space.
                      GoodRow{"SET Macro Lobby On", Command::Set, "Macro", "Lobby On"},
                      GoodRow{"SET Macro  two spaces", Command::Set, "Macro", " two spaces"},
                      GoodRow{"SET Macro", Command::Set, "Macro", ""},
                      GoodRow{"WATCH StatusofAreaPreset", Command::Watch, "StatusofAreaPreset", ""},
                      GoodRow{"Unwatch StatusArea1", Command::Unwatch, "StatusArea1", ""},
                      GoodRow{"RUN Lobby On", Command::Run, "", "Lobby On"},
                      GoodRow{"RUN \xc3\x9c"
                              "bung",
                              Command::Run, "",
                              "\xc3\x9c"
                              "bung"},
                      GoodRow{"TOPIC", Command::Topic, "", ""}));

struct BadRow {
    QByteArray line;
    const char* reasonPart;
};

void PrintTo(const BadRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.line);
}

class BadRequest : public ::testing::TestWithParam<BadRow> {};

TEST_P(BadRequest, GivesTheReason) {
    const ParsedRequest parsed = parseRequest(GetParam().line);
    EXPECT_FALSE(parsed.request.has_value());
    EXPECT_TRUE(parsed.error.contains(QLatin1String(GetParam().reasonPart))) << parsed.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, BadRequest,
                         ::testing::Values(BadRow{"   ", "empty line"},
                                           BadRow{"POKE SetArea12 5", "unknown command \"POKE\""},
                                           BadRow{"GET", "GET needs an item name"},
                                           BadRow{"GET StatusArea12 extra", "one item name"},
                                           BadRow{"SET  5", "SET needs an item name"},
                                           BadRow{"RUN   ", "RUN needs a macro name"},
                                           BadRow{"TOPIC Quorvel", "TOPIC takes nothing"},
                                           BadRow{QByteArray("GET Status\0Area", 15), "control characters"},
                                           BadRow{"SET Macro \xff\xfe", "not UTF-8"}));

TEST(BadRequest, QuotesLongGarbageOnlyInPart) {
    const ParsedRequest parsed = parseRequest(QByteArray(1000, 'Z'));
    ASSERT_FALSE(parsed.request);
    EXPECT_LT(parsed.error.size(), 80);
}

TEST(RequestLine, RoundTripsThroughTheParser) {
    const struct {
        Command command;
        QString item;
        QString value;
    } rows[] = {{Command::Get, "StatusArea12", ""},
                {Command::Set, "Macro", "Lobby On"},
                {Command::Run, "", "Lobby On"}};
    for (const auto& row : rows) {
        const auto line = requestLine(row.command, row.item, row.value);
        ASSERT_TRUE(line);
        const ParsedRequest parsed = parseRequest(*line);
        ASSERT_TRUE(parsed.request) << line->toStdString();
        EXPECT_EQ(parsed.request->command, row.command);
        EXPECT_EQ(parsed.request->item, row.item);
        EXPECT_EQ(parsed.request->value, row.value);
    }
}

TEST(RequestLine, RefusesLineBreaks) {
    EXPECT_FALSE(requestLine(Command::Set, "Macro", "a\nGET StatusArea1"));
    EXPECT_FALSE(requestLine(Command::Run, {}, "a\rb"));
    EXPECT_FALSE(requestLine(Command::Get, "Status\nArea1"));
}

TEST(ReplyLines, AreOneLineEach) {
    EXPECT_EQ(okLine(), "OK\n");
    EXPECT_EQ(okLine("5"), "OK 5\n");
    EXPECT_EQ(errLine("bad\nthing"), "ERR bad thing\n");
    EXPECT_EQ(changedLine("StatusofAreaPreset", "12,5"), "CHANGED StatusofAreaPreset 12,5\n");
}

TEST(ReplyLines, AreReadBackByTheClient) {
    Reply r = parseReply("OK");
    EXPECT_EQ(r.kind, Reply::Kind::Ok);
    EXPECT_EQ(r.text, "");
    r = parseReply("OK 12,5");
    EXPECT_EQ(r.kind, Reply::Kind::Ok);
    EXPECT_EQ(r.text, "12,5");
    r = parseReply("ERR unknown item \"X\"");
    EXPECT_EQ(r.kind, Reply::Kind::Err);
    EXPECT_EQ(r.text, "unknown item \"X\"");
    r = parseReply("CHANGED StatusArea12 5");
    EXPECT_EQ(r.kind, Reply::Kind::Changed);
    EXPECT_EQ(r.item, "StatusArea12");
    EXPECT_EQ(r.text, "5");
    r = parseReply("CHANGED Macro ");
    EXPECT_EQ(r.kind, Reply::Kind::Changed);
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(parseReply("OKAY").kind, Reply::Kind::Unknown);
}

// ---- LineReader -------------------------------------------------------------

std::vector<std::string> texts(const std::vector<LineReader::Line>& lines) {
    std::vector<std::string> out;
    for (const auto& l : lines) out.push_back(l.tooLong ? std::string("<too long>") : l.text.toStdString());
    return out;
}

using Lines = std::vector<std::string>;

TEST(LineReader, SplitsOnLfAndDropsTheCrOfCrLf) {
    LineReader reader(16);
    EXPECT_EQ(texts(reader.feed("GET a\r\nGET b\nGE")), (Lines{"GET a", "GET b"}));
    EXPECT_EQ(reader.pendingBytes(), 2);
    EXPECT_EQ(texts(reader.feed("T c\n\n")), (Lines{"GET c", ""}));
    EXPECT_EQ(reader.pendingBytes(), 0);
}

TEST(LineReader, LineOfExactlyTheCapPassesWithOrWithoutCr) {
    LineReader reader(8);
    EXPECT_EQ(texts(reader.feed("12345678\n")), (Lines{"12345678"}));
    // The CR arrives in one read and the LF in the next.
    EXPECT_EQ(texts(reader.feed("12345678\r")), Lines{});
    EXPECT_EQ(texts(reader.feed("\n")), (Lines{"12345678"}));
}

TEST(LineReader, OverlongLineIsReportedOnceAndSkippedToItsEnd) {
    LineReader reader(8);
    EXPECT_EQ(texts(reader.feed("123456789")), (Lines{"<too long>"}));
    // The rest of that line, however long, is thrown away without growing the buffer.
    for (int i = 0; i < 100; ++i) EXPECT_TRUE(reader.feed(QByteArray(1000, 'x')).empty());
    EXPECT_EQ(reader.pendingBytes(), 0);
    EXPECT_EQ(texts(reader.feed("tail\nGET a\n")), (Lines{"GET a"}));
}

TEST(LineReader, OverlongLineInOneChunkKeepsTheLinesAround) {
    LineReader reader(8);
    EXPECT_EQ(texts(reader.feed("ok1\n" + QByteArray(50, 'y') + "\nok2\n")),
              (Lines{"ok1", "<too long>", "ok2"}));
}

TEST(LineReader, CrFollowedByMoreTextCountsAgainstTheCap) {
    LineReader reader(8);
    EXPECT_EQ(texts(reader.feed("12345678\r")), Lines{});
    EXPECT_EQ(texts(reader.feed("x\nok\n")), (Lines{"<too long>", "ok"}));
}

}  // namespace
}  // namespace qv::exchange
