// One client's requests and the replies they get, without a socket: every
// request is answered by exactly one line, and bad ones by "ERR".

#include "features/exchange/exchange_fixture.h"
#include "features/exchange/exchange_session.h"
#include "features/exchange/protocol.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::exchange {
namespace {

using test::ExchangeWorld;

class Session : public ::testing::Test {
protected:
    Session() { items.load(world.state); }

    QByteArray send(const QByteArray& text) { return session.handle(LineReader::Line{text, false}); }

    ExchangeWorld world;
    ExchangeItems items{world.sent.sender(), world.runner};
    ExchangeSession session{items};
};

struct ReplyRow {
    QByteArray request;
    QByteArray reply;  // the whole reply, or its start when it ends in "*"
};

void PrintTo(const ReplyRow& row, std::ostream* os) {
    *os << qv::test::caseName(row.request);
}

class SessionReplies : public Session, public ::testing::WithParamInterface<ReplyRow> {};

TEST_P(SessionReplies, AreOneLine) {
    const QByteArray reply = send(GetParam().request);
    QByteArray expected = GetParam().reply;
    EXPECT_TRUE(reply.endsWith('\n'));
    EXPECT_EQ(reply.count('\n'), 1);
    if (expected.endsWith('*')) {
        expected.chop(1);
        EXPECT_TRUE(reply.startsWith(expected)) << reply.toStdString();
    } else {
        EXPECT_EQ(reply, expected + '\n');
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SessionReplies,
    ::testing::Values(ReplyRow{"TOPIC", "OK Quorvel"}, ReplyRow{"GET SetArea12", "OK 0"},
                      ReplyRow{"GET Macro", "OK"}, ReplyRow{"GET StatusArea12", "OK"},
                      ReplyRow{"SET SetArea12 5", "OK"},
                      ReplyRow{"SET SetArea12 97", "ERR SetArea12 takes a preset 0-96, not \"97\""},
                      ReplyRow{"GET SetArea256", "ERR unknown item \"SetArea256\""},
                      ReplyRow{"WATCH Lights", "ERR unknown item \"Lights\""},
                      ReplyRow{"SET StatusArea12 5", "ERR StatusArea12 is written by the program*"},
                      ReplyRow{"DELETE Macro", "ERR unknown command \"DELETE\""},
                      ReplyRow{"RUN Lobby On", "OK"},
                      ReplyRow{"GET " + QByteArray(300, 'a'), "ERR unknown item \"aaaa*"}));

TEST_F(Session, WatchRepliesWithTheTextNowAndIsRemembered) {
    items.statusHeard(12, 5);
    EXPECT_EQ(send("WATCH StatusArea12"), "OK 5\n");
    EXPECT_EQ(send("WATCH statusofareapreset"), "OK 12,5\n");
    EXPECT_TRUE(session.watches(ItemRef{ItemKind::StatusArea, 12}));
    EXPECT_TRUE(session.watches(ItemRef{ItemKind::StatusofAreaPreset, 0}));
    EXPECT_FALSE(session.watches(ItemRef{ItemKind::StatusArea, 13}));
    EXPECT_EQ(send("WATCH StatusArea12"), "OK 5\n");
    EXPECT_EQ(session.watchCount(), 2u);
    EXPECT_EQ(send("UNWATCH StatusArea12"), "OK\n");
    EXPECT_FALSE(session.watches(ItemRef{ItemKind::StatusArea, 12}));
    EXPECT_EQ(send("UNWATCH StatusArea12"), "OK\n");
}

TEST_F(Session, KeepsTheFirstErrorForTheMonitor) {
    send("GET StatusArea1");
    EXPECT_EQ(session.errorCount(), 0);
    send("JUNK");
    send("GET Nope");
    EXPECT_EQ(session.errorCount(), 2);
    EXPECT_EQ(session.firstError(), "unknown command \"JUNK\"");
}

}  // namespace
}  // namespace qv::exchange
