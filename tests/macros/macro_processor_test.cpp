// The macro processor: lines run in stored order with RunningCommandnumber
// before each, actions come out as signals, delays wait on the (manual)
// timers, zero-delay lines never hog the event loop, and processcomplete
// comes exactly once whatever happens.

#include "macro_fixture.h"

#include "macros/macro_processor.h"
#include "macros/macro_store.h"
#include "macros/stored_message.h"
#include "net/message.h"

#include <QRegularExpression>

namespace qv::macros::test {
namespace {

class MacroProcessorTest : public MacroDbTest {
public:
    void save(const QString& name, const QStringList& commands) {
        MacroLines lines;
        for (const QString& c : commands) lines.append({}, c, {});
        const SaveReport report = MacroStore(*db).SaveMacroLines(name, lines);
        ASSERT_TRUE(report.saved);
        ASSERT_TRUE(report.messages.isEmpty()) << report.messages.join('\n').toStdString();
    }

    // Every signal as one text, in the order raised.
    std::unique_ptr<MacroProcessor> makeProcessor() {
        auto p = std::make_unique<MacroProcessor>(clock);
        MacroProcessor* raw = p.get();
        QObject::connect(raw, &MacroProcessor::RunningCommandnumber,
                         [this](int n, const QString& c) { log << QStringLiteral("#%1 %2").arg(n).arg(c); });
        QObject::connect(raw, &MacroProcessor::RS232command, [this](const QByteArray& m) {
            log << QStringLiteral("RS232 ") + QString::fromLatin1(m.toHex(' ').toUpper());
        });
        QObject::connect(raw, &MacroProcessor::wavfile, [this](const QString& s) { log << "wav " + s; });
        QObject::connect(raw, &MacroProcessor::Email, [this](const QString& s) { log << "email " + s; });
        QObject::connect(raw, &MacroProcessor::submacro, [this](const QString& s) { log << "sub " + s; });
        QObject::connect(raw, &MacroProcessor::CancelMacro,
                         [this](const QString& s) { log << "cancel " + s; });
        QObject::connect(raw, &MacroProcessor::EnableMacro, [this](const QString& s, bool on) {
            log << QStringLiteral("enable %1 %2").arg(s).arg(on);
        });
        QObject::connect(raw, &MacroProcessor::RollCall,
                         [this](const QString& s) { log << "rollcall " + s; });
        QObject::connect(raw, &MacroProcessor::PlanViewNav,
                         [this](qint64 id) { log << QStringLiteral("plan %1").arg(id); });
        QObject::connect(raw, &MacroProcessor::readFailed, [this](const QString&) { log << "readFailed"; });
        QObject::connect(raw, &MacroProcessor::processcomplete, [this] { ++completions; });
        return p;
    }

    // Runs what is due now; no time moves on.
    bool runUntilComplete() {
        clock.advance(0);
        return completions > 0;
    }

    qv::test::ManualClock clock;
    QStringList log;
    int completions = 0;
};

TEST_F(MacroProcessorTest, RunsEveryKindInOrderAndCompletesOnce) {
    addEmail("Alarm", "a@b", "s", "m");
    addCustomCode("Blinds", bytes({0x1C, 1, 2, 3, 4, 5, 6, 0xD7}));
    addLightBoxLevel(3, 9, 10, "Colour", 40, "Red", bytes({0x5C, 3, 9, 0x10, 40, 0, 0xFF, 0x1F}));
    addView("Project", 0);
    save("All kinds",
         {"(ORVANET:) (AREA:)5 (PRESET:)9 (FADE:)10", "(DELAY:)0", "(WAV:)/s.wav", "(ROLLCALL:)Night",
          "(CUSTOM:)Blinds", "(SUBMACRO:)Other", "(CANCELMACRO:)All Macros", "(ENABLEMACRO:)X",
          "(DISABLEMACRO:)Y", "(EMAIL:)1", "(CORVALIN:) (LIGHTBOX:)3 (CHANNEL:)10 (LEVEL:)1",
          "(PLANVIEW:)Project(KEY:)1key(FULLPATH:)Project"});
    auto p = makeProcessor();
    p->StartMacro("all KINDS", *db);
    EXPECT_TRUE(log.isEmpty());  // nothing runs inside StartMacro
    EXPECT_EQ(p->MacroName(), QStringLiteral("all KINDS"));
    ASSERT_TRUE(runUntilComplete());
    clock.advance(0);

    const QString preset = QString::fromLatin1(
        storedBytes(net::withChecksum({0x1C, 5, 244, 0x00, 1, 1, 0xFF})).toHex(' ').toUpper());
    const QStringList actions = log.filter(QRegularExpression(QStringLiteral("^[^#]")));
    EXPECT_EQ(actions,
              QStringList({"RS232 " + preset, "wav /s.wav", "rollcall Night", "RS232 1C 01 02 03 04 05 06 D7",
                           "sub Other", "cancel All Macros", "enable X 1", "enable Y 0", "email Alarm",
                           "RS232 5C 03 09 10 28 00 FF 1F", "plan 1"}));
    // RunningCommandnumber before each of the twelve lines, counting from 1.
    const QStringList traces = log.filter(QRegularExpression(QStringLiteral("^#")));
    ASSERT_EQ(traces.size(), 12);
    EXPECT_TRUE(traces.first().startsWith(QStringLiteral("#1 Send: 1C 05 F4")));
    EXPECT_EQ(traces.at(1), QStringLiteral("#2 Delay for "));
    EXPECT_TRUE(traces.last().startsWith(QStringLiteral("#12 ")));
    EXPECT_EQ(log.indexOf(traces.at(2)) + 1, log.indexOf(QStringLiteral("wav /s.wav")));
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(p->isComplete());
}

TEST_F(MacroProcessorTest, DelayWaitsOnItsTimer) {
    save("Timed", {"(DELAY:)1.5", "(SUBMACRO:)after"});
    auto p = makeProcessor();
    p->StartMacro("Timed", *db);
    clock.advance(0);
    EXPECT_EQ(log, QStringList{"#1 Delay for 1.5 secs "});
    EXPECT_EQ(clock.activeTimers(), 1);
    clock.advance(1499);
    clock.advance(0);
    EXPECT_EQ(log.size(), 1);
    clock.advance(1);
    ASSERT_TRUE(runUntilComplete());
    EXPECT_EQ(log.last(), QStringLiteral("sub after"));
    EXPECT_EQ(clock.monotonicMs(), 1500);
}

TEST_F(MacroProcessorTest, CancelDuringALongDelayEndsTheRunPromptly) {
    save("Long", {"(DELAY:)356400", "(SUBMACRO:)never"});
    auto p = makeProcessor();
    p->StartMacro("Long", *db);
    clock.advance(0);
    ASSERT_EQ(clock.activeTimers(), 1);
    p->setCancel(true);
    EXPECT_TRUE(p->Cancel());
    ASSERT_TRUE(runUntilComplete());
    EXPECT_EQ(clock.activeTimers(), 0);
    EXPECT_FALSE(log.contains(QStringLiteral("sub never")));
    clock.advance(356400LL * 1000);
    p->setCancel(true);
    clock.advance(0);
    EXPECT_EQ(completions, 1);
}

TEST_F(MacroProcessorTest, CancelFromAHandlerStopsBeforeTheNextLine) {
    save("Self", {"(SUBMACRO:)a", "(SUBMACRO:)b", "(SUBMACRO:)c"});
    auto p = makeProcessor();
    MacroProcessor* raw = p.get();
    QObject::connect(raw, &MacroProcessor::submacro, [raw](const QString& s) {
        if (s == QLatin1String("b")) raw->setCancel(true);
    });
    p->StartMacro("Self", *db);
    ASSERT_TRUE(runUntilComplete());
    EXPECT_TRUE(log.contains("sub b"));
    EXPECT_FALSE(log.contains("sub c"));
    EXPECT_TRUE(log.filter(QRegularExpression("^#3")).isEmpty());
}

struct EmptyRunRow {
    const char* what;
    std::function<void(MacroProcessorTest&)> prepare;
    const char* name;
    bool cancelFirst;
    bool readFails;
};

void PrintTo(const EmptyRunRow& row, std::ostream* out) {
    *out << row.what;
}

class CompletesOnceTest : public MacroProcessorTest, public ::testing::WithParamInterface<EmptyRunRow> {};

TEST_P(CompletesOnceTest, ProcesscompleteComesExactlyOnce) {
    GetParam().prepare(*this);
    auto p = makeProcessor();
    if (GetParam().cancelFirst) p->setCancel(true);
    p->StartMacro(QString::fromLatin1(GetParam().name), *db);
    p->StartMacro(QString::fromLatin1(GetParam().name), *db);  // a second start is ignored
    ASSERT_TRUE(runUntilComplete());
    p->setCancel(true);
    clock.advance(0);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(log.contains("readFailed"), GetParam().readFails);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CompletesOnceTest,
    ::testing::Values(
        EmptyRunRow{"no lines", [](MacroProcessorTest& t) { t.addMacro("Empty"); }, "Empty", false, false},
        EmptyRunRow{"unknown macro", [](MacroProcessorTest&) {}, "Nobody", false, false},
        EmptyRunRow{"cancelled before the start",
                    [](MacroProcessorTest& t) { t.save("Some", {"(SUBMACRO:)x"}); }, "Some", true, false},
        EmptyRunRow{"unreadable",
                    [](MacroProcessorTest& t) {
                        t.addMacro("X");
                        t.exec("DROP TABLE MacrosDetails");
                    },
                    "X", false, true}));

TEST_F(MacroProcessorTest, ZeroDelayLinesRunInBatchesThatLetOtherTimersIn) {
    QStringList commands;
    for (int i = 0; i < 1000; ++i) commands << "(DELAY:)0";
    save("Busy", commands);

    int linesRun = 0;
    int linesWhenOtherTimerRan = -1;
    auto other = clock.createSingleShot(0, [&] { linesWhenOtherTimerRan = linesRun; });

    auto p = makeProcessor();
    QObject::connect(p.get(), &MacroProcessor::RunningCommandnumber,
                     [&](int n, const QString&) { linesRun = n; });
    p->StartMacro("Busy", *db);
    other->start();
    ASSERT_TRUE(runUntilComplete());
    EXPECT_EQ(linesRun, 1000);
    ASSERT_GE(linesWhenOtherTimerRan, 0);
    EXPECT_LT(linesWhenOtherTimerRan, 1000);  // it ran while the macro was still going
    EXPECT_EQ(completions, 1);
}

TEST_F(MacroProcessorTest, DamagedStoredMessageIsPassedOnUnchanged) {
    save("Net", {"(ORVANET:) (AREA:)1 (PRESET:)1 (FADE:)1"});
    // As a converted file may hold it: text whose character codes are the bytes.
    exec("UPDATE Orvanet SET OrvanetRS232 = ?", {QString::fromLatin1("\x1c\x01\x32\x00\x00\x00\xff\xb2", 8)});
    auto p = makeProcessor();
    p->StartMacro("Net", *db);
    ASSERT_TRUE(runUntilComplete());
    EXPECT_TRUE(log.contains("RS232 1C 01 32 00 00 00 FF B2"));
}

}  // namespace
}  // namespace qv::macros::test
