// quorvelctl, the built program, against an item exchange in this process.

#include "features/exchange/exchange_client.h"
#include "features/exchange/exchange_fixture.h"
#include "features/exchange/item_exchange.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::exchange {
namespace {

using test::ExchangeWorld;

struct CtlResult {
    bool finished = false;
    int exitCode = -1;
    QString out;
    QString err;
};

class Quorvelctl : public ::testing::Test {
protected:
    Quorvelctl() {
        qv::test::qtApp();
        ExchangeOptions o;
        o.socketPath = path;
        exchange = std::make_unique<ItemExchange>(world.deps(), o);
    }

    static void startCtl(QProcess& process, const QStringList& args) {
        process.start(QStringLiteral(QUORVELCTL_PATH), args);
    }

    // Runs quorvelctl to the end while this process keeps serving it.
    CtlResult run(const QStringList& args, bool withSocket = true) {
        QProcess process;
        startCtl(process, withSocket ? QStringList{"--socket", path} + args : args);
        CtlResult r;
        r.finished = qv::test::waitUntil([&] { return process.state() == QProcess::NotRunning; }, 15000);
        if (!r.finished) process.kill();
        process.waitForFinished(1000);
        r.exitCode = process.exitCode();
        r.out = QString::fromUtf8(process.readAllStandardOutput());
        r.err = QString::fromUtf8(process.readAllStandardError());
        return r;
    }

    QTemporaryDir dir;
    QString path = dir.filePath("quorvel-exchange");
    ExchangeWorld world;
    std::unique_ptr<ItemExchange> exchange;
};

TEST_F(Quorvelctl, SetArea12To5AndReadZeroAgain) {
    ASSERT_TRUE(exchange->start());
    const CtlResult set = run({"set", "SetArea12", "5"});
    ASSERT_TRUE(set.finished);
    EXPECT_EQ(set.exitCode, 0) << set.err.toStdString();
    EXPECT_EQ(set.out, "");
    EXPECT_EQ(world.sent.hex, std::vector<std::string>{test::kArea12Preset5});
    const CtlResult get = run({"get", "SetArea12"});
    EXPECT_EQ(get.exitCode, 0);
    EXPECT_EQ(get.out, "0\n");
}

TEST_F(Quorvelctl, RunAndSetMacroTakeNamesWithSpacesAndQuotes) {
    ASSERT_TRUE(exchange->start());
    EXPECT_EQ(run({"run", "Lobby On"}).exitCode, 0);
    EXPECT_EQ(run({"run", "Lobby", "Off"}).exitCode, 0);
    EXPECT_EQ(run({"set", "Macro", "O'Brien \"Hall\""}).exitCode, 0);
    EXPECT_EQ(world.runner.names, (QStringList{"Lobby On", "Lobby Off", "O'Brien \"Hall\""}));
}

TEST_F(Quorvelctl, WatchPrintsEachChangeAndNamesTheItemsWhenThereAreSeveral) {
    ASSERT_TRUE(exchange->start());
    QProcess one, several;
    startCtl(one, {"--socket", path, "watch", "StatusofAreaPreset"});
    startCtl(several, {"--socket", path, "watch", "StatusArea12", "StatusofAreaPreset"});
    ASSERT_TRUE(qv::test::waitUntil([&] { return exchange->watchCount() == 3; }, 10000));
    exchange->items().statusHeard(12, 5);
    exchange->items().statusHeard(3, 1);
    QByteArray outOne, outSeveral;
    EXPECT_TRUE(qv::test::waitUntil(
        [&] {
            outOne += one.readAllStandardOutput();
            outSeveral += several.readAllStandardOutput();
            return outOne.count('\n') >= 2 && outSeveral.count('\n') >= 3;
        },
        10000));
    EXPECT_EQ(outOne, "12,5\n3,1\n");
    EXPECT_EQ(outSeveral, "StatusArea12 5\nStatusofAreaPreset 12,5\nStatusofAreaPreset 3,1\n");

    // The program going away ends a watch with its own exit status.
    exchange->stop();
    for (QProcess* watcher : {&one, &several}) {
        EXPECT_TRUE(qv::test::waitUntil([&] { return watcher->state() == QProcess::NotRunning; }, 10000));
        EXPECT_EQ(watcher->exitCode(), 3);
        EXPECT_TRUE(watcher->readAllStandardError().contains("closed the connection"));
    }
}

struct RefusedRow {
    QStringList args;
    const char* errPart;
};

TEST_F(Quorvelctl, RefusalsExitOneWithTheProgramsReason) {
    ASSERT_TRUE(exchange->start());
    const RefusedRow rows[] = {
        {{"set", "SetArea12", "97"}, "SetArea12 takes a preset 0-96, not \"97\""},
        {{"get", "Lights"}, "unknown item \"Lights\""},
        {{"set", "StatusArea3", "4"}, "written by the program"},
        {{"watch", "Nothing"}, "unknown item \"Nothing\""},
    };
    for (const RefusedRow& row : rows) {
        const CtlResult r = run(row.args);
        EXPECT_EQ(r.exitCode, 1) << row.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(QLatin1String(row.errPart))) << r.err.toStdString();
        EXPECT_EQ(r.out, "");
    }
    EXPECT_TRUE(world.sent.hex.empty());
}

TEST_F(Quorvelctl, NotRunningIsClearAndExitsThree) {
    const CtlResult r = run({"get", "StatusArea12"});
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_TRUE(r.err.contains("Quorvel is not running")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(path));
}

TEST_F(Quorvelctl, TurnedAwayForTooManyClientsSaysSo) {
    ExchangeOptions o;
    o.socketPath = path;
    o.maxClients = 1;
    exchange = std::make_unique<ItemExchange>(world.deps(), o);
    ASSERT_TRUE(exchange->start());
    test::TestClient holder(path);
    ASSERT_TRUE(qv::test::waitUntil([&] { return exchange->clientCount() == 1; }));
    // Several times: whether the request or the refusal comes first varies.
    for (int i = 0; i < 5; ++i) {
        const CtlResult r = run({"get", "StatusArea12"});
        EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
        EXPECT_EQ(r.err.toStdString(), "quorvelctl: too many clients (at most 1)\n");
    }
    EXPECT_EQ(holder.ask("GET SetArea1"), "OK 0");
}

TEST_F(Quorvelctl, HelpAndBadArguments) {
    const CtlResult help = run({"--help"}, false);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: quorvelctl"));
    EXPECT_TRUE(help.out.contains("watch ITEM"));

    const QStringList bad[] = {{},      {"get"},   {"get", "a", "b"}, {"set", "SetArea12"},
                               {"run"}, {"watch"}, {"frob", "x"},     {"--verbose", "get", "x"}};
    for (const QStringList& args : bad) {
        const CtlResult r = run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains("--help")) << r.err.toStdString();
    }
    const CtlResult noPath = run({"--socket"}, false);
    EXPECT_EQ(noPath.exitCode, 2);
}

TEST_F(Quorvelctl, DefaultSocketIsFoundThroughTheRuntimeDirectory) {
    ASSERT_TRUE(exchange->start());
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // quorvel-exchange in the runtime directory, as the program makes it.
    env.insert("XDG_RUNTIME_DIR", dir.path());
    process.setProcessEnvironment(env);
    startCtl(process, {"get", "SetArea1"});
    ASSERT_TRUE(qv::test::waitUntil([&] { return process.state() == QProcess::NotRunning; }, 15000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_EQ(process.readAllStandardOutput(), "0\n");
}

}  // namespace
}  // namespace qv::exchange
