// The cue and the processor pool: lookups and their monitor texts, the
// restart rule, 30 slots and the silent drop of the 31st, cancelling and
// enabling, the actions a running macro asks for, and slot release.

#include "pool_fixture.h"

#include "macros/macro_processor.h"
#include "macros/stored_message.h"

namespace qv::macros::test {
namespace {

const QString kLongWait = QStringLiteral("(DELAY:)1000");

TEST_F(PoolTest, ThirtyOneCuedWhileNoneFinishesThirtyRunAndTheLastIsDropped) {
    for (int i = 1; i <= 31; ++i) save(QStringLiteral("Macro %1").arg(i), {kLongWait});
    for (int i = 1; i <= 31; ++i) pool->RunMacro(QStringLiteral("Macro %1").arg(i));
    ASSERT_TRUE(cueDrained());

    EXPECT_EQ(pool->busySlots(), 30);
    for (int slot = 1; slot <= 30; ++slot) {
        EXPECT_EQ(pool->threads().ThreadLabel(slot), QStringLiteral("Macro %1").arg(slot));
        EXPECT_EQ(pool->slotMacroName(slot), QStringLiteral("Macro %1").arg(slot));
    }
    // The 31st was logged as started and then dropped without a further word.
    EXPECT_EQ(started("Macro 31"), 1);
    EXPECT_EQ(monitor.count([](const auto& r) { return r.Macro == QLatin1String("Macro 31"); }), 1);
    EXPECT_EQ(static_cast<int>(monitor.records.size()), 31);

    clock.advance(1000 * 1000);
    ASSERT_TRUE(until([this] { return pool->busySlots() == 0; }));
    for (int i = 1; i <= 30; ++i) EXPECT_EQ(ended(QStringLiteral("Macro %1").arg(i)), 1);
    EXPECT_EQ(ended("Macro 31"), 0);
    EXPECT_EQ(pool->threads().ThreadLabel(1), QString());
}

TEST_F(PoolTest, RecueingARunningMacroCancelsItAndStartsANewRunInAnotherSlot) {
    save("A", {kLongWait});
    save("B", {kLongWait});
    pool->RunMacro("A");
    pool->RunMacro("B");
    ASSERT_TRUE(cueDrained());
    MacroProcessor* first = pool->processorInSlot(1);
    ASSERT_NE(first, nullptr);

    pool->RunMacro("A");
    ASSERT_TRUE(cueDrained());
    // The old run freed slot 1 once it completed; the new one went to slot 3,
    // the first empty slot when it started.
    EXPECT_EQ(ended("A"), 1);
    EXPECT_EQ(started("A"), 2);
    EXPECT_EQ(pool->slotMacroName(1), QString());
    EXPECT_EQ(pool->slotMacroName(2), QStringLiteral("B"));
    EXPECT_EQ(pool->slotMacroName(3), QStringLiteral("A"));
    EXPECT_EQ(pool->busySlots(), 2);
}

TEST_F(PoolTest, CancelledRunKeepsItsSlotUntilItCompletes) {
    save("A", {kLongWait});
    pool->RunMacro("A");
    ASSERT_TRUE(cueDrained());
    // The cancelled run still held slot 1 when the new one started, so it took slot 2.
    pool->RunMacro("A");
    clock.advance(MacroPool::kCueIntervalMs);
    EXPECT_EQ(pool->slotMacroName(1), QString());
    EXPECT_EQ(pool->slotMacroName(2), QStringLiteral("A"));
    EXPECT_FALSE(pool->processorInSlot(2)->Cancel());
    EXPECT_EQ(pool->busySlots(), 1);
}

TEST_F(PoolTest, NameDifferingOnlyInCaseStartsASecondRunWithoutCancelling) {
    save("Lobby", {kLongWait});
    pool->RunMacro("Lobby");
    pool->RunMacro("LOBBY");
    ASSERT_TRUE(cueDrained());
    EXPECT_EQ(pool->busySlots(), 2);
    EXPECT_FALSE(pool->processorInSlot(1)->Cancel());
    EXPECT_EQ(pool->slotMacroName(2), QStringLiteral("LOBBY"));
    EXPECT_EQ(started("LOBBY"), 1);
}

struct LookupRow {
    const char* what;
    const char* name;
    QVariant enabled;  // invalid: no such macro
    const char* type;
    const char* comment;
};

void PrintTo(const LookupRow& row, std::ostream* out) {
    *out << row.what;
}

class LookupTest : public PoolTest, public ::testing::WithParamInterface<LookupRow> {};

TEST_P(LookupTest, WritesTheMonitorTextOfTheOutcome) {
    const LookupRow& row = GetParam();
    if (row.enabled.isValid()) save("Present", {}, row.enabled);
    pool->RunMacro(QString::fromLatin1(row.name));
    ASSERT_TRUE(cueDrained());
    ASSERT_EQ(monitor.records.size(),
              row.enabled.isValid() && QString::fromLatin1(row.comment).startsWith("Macro")
                  ? 2u  // started and ended
                  : 1u);
    const store::MonitorRecord& r = monitor.records.front();
    EXPECT_EQ(r.MsgType, QString::fromLatin1(row.type));
    EXPECT_EQ(r.comment, QString::fromLatin1(row.comment));
    EXPECT_EQ(r.Macro, QString::fromLatin1(row.name));
    EXPECT_EQ(r.DateTime, QStringLiteral("2024-03-09 18:30:00"));
    EXPECT_EQ(r.RS232, QString());
    EXPECT_EQ(r.area + r.Preset + r.channel + r.ChannelLevel, QString());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, LookupTest,
    ::testing::Values(
        LookupRow{"missing startup", "startup", QVariant(), "System", "There is no 'Startup' Macro"},
        LookupRow{"missing Startup in another case", "Startup", QVariant(), "ERROR ***",
                  "Attempted to Start but Does not exist !"},
        LookupRow{"missing", "Nobody", QVariant(), "ERROR ***", "Attempted to Start but Does not exist !"},
        LookupRow{"disabled", "Present", QVariant(0), "Warning **", "Attempted to start but is Disabled !"},
        LookupRow{"enabled is Null", "Present", QVariant(QMetaType::fromType<int>()), "Warning **",
                  "Attempted to start but is Disabled !"},
        LookupRow{"yes from an old file", "Present", QVariant(-1), "System", "Macro Started !"},
        LookupRow{"found in another case", "PRESENT", QVariant(1), "System", "Macro Started !"},
        LookupRow{"quotes in the name", "It's \"quoted\"", QVariant(), "ERROR ***",
                  "Attempted to Start but Does not exist !"}));

TEST_F(PoolTest, StoredMacroRunsThroughTheCueInManualTime) {
    save("Scene", {"(ORVANET:) (AREA:)5 (PRESET:)9 (FADE:)10", "(DELAY:)1.5",
                   "(ORVANET:) (AREA:)5 (CHANNEL:)3 (LEVEL:)100 (FADE:)2"});
    pool->RunMacro("Scene");
    ASSERT_TRUE(cueDrained());
    EXPECT_EQ(started("Scene"), 1);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].message, net::withChecksum({0x1C, 5, 244, 0x00, 1, 1, 0xFF}));

    clock.advance(1499);
    clock.advance(0);
    EXPECT_EQ(sent.size(), 1u);
    EXPECT_EQ(ended("Scene"), 0);
    clock.advance(1);
    ASSERT_TRUE(until([this] { return ended("Scene") == 1; }));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1].message, net::withChecksum({0x1C, 5, 2, 0x72, 0, 2, 0xFF}));
    EXPECT_EQ(monitor.records.back().comment, QStringLiteral("Macro Ended !"));
}

TEST_F(PoolTest, CancelAllMacrosFromAMacroSparesTheCaller) {
    save("B", {kLongWait});
    save("All Macros", {kLongWait});
    save("A", {"(CANCELMACRO:)All Macros", "(SUBMACRO:)Still going", kLongWait});
    pool->RunMacro("B");
    pool->RunMacro("All Macros");
    ASSERT_TRUE(cueDrained());
    pool->RunMacro("A");
    ASSERT_TRUE(until([this] { return ended("B") == 1 && ended("All Macros") == 1; }));
    EXPECT_EQ(ended("A"), 0);
    EXPECT_EQ(pool->busySlots(), 1);
    // A went on to its next line, which cued another macro.
    ASSERT_TRUE(until([this] {
        return records("ERROR ***", "Still going", "Attempted to Start but Does not exist !") == 1;
    }));
}

TEST_F(PoolTest, CancelThisMacroComparesNamesExactly) {
    save("Night", {kLongWait});
    pool->RunMacro("Night");
    ASSERT_TRUE(cueDrained());
    pool->CancelThisMacro("NIGHT");
    clock.advance(0);
    EXPECT_EQ(pool->busySlots(), 1);
    pool->CancelThisMacro("Night");
    ASSERT_TRUE(until([this] { return pool->busySlots() == 0; }));
}

TEST_F(PoolTest, ThreadsWindowCancelsOneSlotOrAll) {
    save("A", {kLongWait});
    save("B", {kLongWait});
    save("C", {kLongWait});
    for (const char* name : {"A", "B", "C"}) pool->RunMacro(name);
    ASSERT_TRUE(cueDrained());
    pool->CancelThreadButton(2);
    pool->CancelThreadButton(17);  // empty: nothing happens
    ASSERT_TRUE(until([this] { return ended("B") == 1; }));
    EXPECT_EQ(pool->busySlots(), 2);
    EXPECT_EQ(pool->threads().data(pool->threads().index(1)).toString(), QString());
    EXPECT_EQ(pool->threads().data(pool->threads().index(2)).toString(), QStringLiteral("C"));
    pool->CancelAllMacros("All");
    ASSERT_TRUE(until([this] { return pool->busySlots() == 0; }));
}

TEST_F(PoolTest, EnableMacroOneOrAll) {
    save("A", {});
    save("B", {});
    pool->EnableMacro("All Macros", false);
    EXPECT_EQ(scalar("SELECT sum(Enabled) FROM Macros").toInt(), 0);
    pool->RunMacro("A");
    ASSERT_TRUE(cueDrained());
    EXPECT_EQ(records("Warning **", "A", "Attempted to start but is Disabled !"), 1);

    pool->EnableMacro("b", true);  // letter case is ignored
    pool->EnableMacro("Nobody", true);
    EXPECT_EQ(scalar("SELECT group_concat(Macro || '=' || Enabled) FROM Macros").toString(),
              QStringLiteral("A=0,B=1"));
}

TEST_F(PoolTest, EnableAndDisableLinesOfARunningMacro) {
    save("Target", {}, 0);
    save("Switcher", {"(ENABLEMACRO:)Target", "(SUBMACRO:)Target", "(DISABLEMACRO:)Switcher"});
    pool->RunMacro("Switcher");
    ASSERT_TRUE(until([this] { return ended("Target") == 1; }));
    EXPECT_EQ(scalar("SELECT Enabled FROM Macros WHERE Macro = 'Switcher'").toInt(), 0);
}

TEST_F(PoolTest, SubmacroNamingItselfRestartsTheMacro) {
    save("Again", {"(SUBMACRO:)Again", kLongWait});
    // Once the second run is on its first line, stop the chain by disabling it.
    QObject::connect(pool.get(), &MacroPool::RunningCommandnumber,
                     [this](int slot, const QString&, int line, const QString&) {
                         if (slot == 2 && line == 1) pool->EnableMacro("Again", false);
                     });
    pool->RunMacro("Again");
    ASSERT_TRUE(until(
        [this] { return records("Warning **", "Again", "Attempted to start but is Disabled !") == 1; }));
    clock.advance(0);
    EXPECT_EQ(started("Again"), 2);
    EXPECT_EQ(ended("Again"), 1);  // the first run, cancelled by the restart
    EXPECT_EQ(pool->busySlots(), 1);
    EXPECT_EQ(pool->slotMacroName(2), QStringLiteral("Again"));
}

TEST_F(PoolTest, SlotReleaseNamesTheMacroOfItsLabelAndClearsIt) {
    save("One", {kLongWait});
    save("Two", {kLongWait});
    save("Three", {"(DELAY:)5"});
    for (const char* name : {"One", "Two", "Three"}) pool->RunMacro(name);
    ASSERT_TRUE(cueDrained());
    EXPECT_EQ(pool->threads().ThreadLabel(3), QStringLiteral("Three"));
    QList<int> changes;
    QObject::connect(&pool->threads(), &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& at, const QModelIndex&) { changes << at.row(); });
    clock.advance(5000);
    ASSERT_TRUE(until([this] { return ended("Three") == 1; }));
    EXPECT_EQ(pool->threads().ThreadLabel(3), QString());
    EXPECT_EQ(changes, QList<int>{2});
    EXPECT_EQ(monitor.records.back().MsgType, QStringLiteral("System"));
}

TEST_F(PoolTest, ActionsReachTheirHandlersAndHooks) {
    addView("Project", 0);
    addEmail("Report", "a@b", "s", "m");
    save("Acts", {"(WAV:)/snd/ding.wav", "(EMAIL:)1", "(ROLLCALL:)Night",
                  "(PLANVIEW:)Project(KEY:)1key(FULLPATH:)Project"});
    QStringList hooks;
    QObject::connect(pool.get(), &MacroPool::RollCall, [&](const QString& n) { hooks << "rollcall " + n; });
    QObject::connect(pool.get(), &MacroPool::PlanViewNav,
                     [&](qint64 id) { hooks << QStringLiteral("plan %1").arg(id); });
    pool->RunMacro("Acts");
    ASSERT_TRUE(until([this] { return ended("Acts") == 1; }));
    EXPECT_EQ(media, QStringList{"Acts:/snd/ding.wav"});
    EXPECT_EQ(emails, QStringList{"Acts:Report"});
    EXPECT_EQ(hooks, QStringList({"rollcall Night", "plan 1"}));
}

TEST_F(PoolTest, DamagedStoredMessageIsReportedAndTheMacroGoesOn) {
    save("Net", {"(ORVANET:) (AREA:)1 (PRESET:)1 (FADE:)1", "(ORVANET:) (AREA:)2 (PRESET:)1 (FADE:)1"});
    exec("UPDATE Orvanet SET OrvanetRS232 = X'1C0102' WHERE Area = 1");
    pool->RunMacro("Net");
    ASSERT_TRUE(until([this] { return ended("Net") == 1; }));
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].message[1], 2);
    EXPECT_EQ(monitor.count([](const auto& r) {
        return r.MsgType == QLatin1String("ERROR ***") && r.RS232 == QLatin1String("1C 01 02");
    }),
              1);
}

TEST_F(PoolTest, LineTracingAndShowAllMacroActivity) {
    save("Traced", {"(DELAY:)0", "(SUBMACRO:)x"});
    QStringList traced;
    QObject::connect(pool.get(), &MacroPool::RunningCommandnumber,
                     [&](int slot, const QString& name, int line, const QString&) {
                         traced << QStringLiteral("%1 %2 %3").arg(slot).arg(name).arg(line);
                     });
    pool->RunMacro("Traced");
    ASSERT_TRUE(until([this] { return ended("Traced") == 1; }));
    EXPECT_EQ(traced, QStringList({"1 Traced 1", "1 Traced 2"}));
    EXPECT_EQ(records("System", "Traced", "Run: x"), 0);

    pool->setShowAllMacroActivity(true);
    pool->RunMacro("Traced");
    ASSERT_TRUE(until([this] { return ended("Traced") == 2; }));
    EXPECT_EQ(records("System", "Traced", "Delay for "), 1);
    EXPECT_EQ(records("System", "Traced", "Run: x"), 1);
}

TEST_F(PoolTest, SystemRestartIsARequestWhenTheShellListens) {
    int requests = 0;
    {
        QObject listener;
        QObject::connect(pool.get(), &MacroPool::restartRequested, &listener, [&] { ++requests; });
        pool->RunMacro("System Restart");
        ASSERT_TRUE(cueDrained());
        EXPECT_EQ(requests, 1);
        EXPECT_TRUE(monitor.records.empty());
    }
    // With nobody to restart the program it is an ordinary (missing) macro name.
    pool->RunMacro("System Restart");
    ASSERT_TRUE(cueDrained());
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(records("ERROR ***", "System Restart", "Attempted to Start but Does not exist !"), 1);
}

TEST_F(PoolTest, UnreadableDatabaseIsReportedAndNothingStarts) {
    exec("DROP TABLE Macros");
    pool->RunMacro("Any");
    ASSERT_TRUE(cueDrained());
    ASSERT_EQ(monitor.records.size(), 1u);
    EXPECT_EQ(monitor.records[0].MsgType, QStringLiteral("ERROR ***"));
    EXPECT_EQ(pool->busySlots(), 0);
    EXPECT_FALSE(pool->SlotStarting(1));
}

TEST_F(PoolTest, MacroWhoseLinesCannotBeReadEndsWithAnErrorAndFreesItsSlot) {
    save("Broken", {kLongWait});
    exec("DROP TABLE MacrosDetails");
    pool->RunMacro("Broken");
    ASSERT_TRUE(until([this] { return ended("Broken") == 1; }));
    EXPECT_EQ(monitor.count([](const auto& r) {
        return r.MsgType == QLatin1String("ERROR ***") && r.Macro == QLatin1String("Broken") &&
               r.comment.startsWith(QLatin1String("The macro could not be read"));
    }),
              1);
    EXPECT_EQ(pool->busySlots(), 0);
}

TEST_F(PoolTest, OneNamePerTickInArrivalOrder) {
    save("A", {kLongWait});
    save("B", {kLongWait});
    pool->RunMacro("B");
    pool->RunMacro("A");
    pool->RunMacro("B");
    EXPECT_EQ(pool->cue(), QStringList({"B", "A", "B"}));
    clock.advance(MacroPool::kCueIntervalMs);
    EXPECT_EQ(pool->cue(), QStringList({"A", "B"}));
    EXPECT_EQ(pool->slotMacroName(1), QStringLiteral("B"));
}

}  // namespace
}  // namespace qv::macros::test
