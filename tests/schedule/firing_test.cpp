// Firing by the minute with a hand-driven clock: due keys, midnight, late
// ticks, daylight-saving changes and failures. Daylight-saving cases use
// QDateTimes in Europe/London explicitly; the process's TZ is not touched.

#include "schedule/due_keys.h"
#include "schedule/events_timer.h"
#include "schedule/schedule_editor.h"
#include "schedule/schedule_firing.h"
#include "schedule/scheduling.h"
#include "schedule/workspace.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>

namespace qv::schedule::test {
namespace {

const QString kStarted = QStringLiteral("Scheduled Event started!");

class FiringTest : public MainDbTest {
protected:
    void SetUp() override {
        MainDbTest::SetUp();
        workspace.emplace(*db, monitor, clock, sun);
        firing.emplace(*db, *workspace, monitor, macros, clock);
    }

    void at(const QDate& date, const QTime& time, const QTimeZone& zone = QTimeZone::systemTimeZone()) {
        clock.set(QDateTime(date, time, zone));
    }
    // A tick as the timer delivers it, at the clock's reading.
    void tick() { firing->onMinute(clock.now()); }

    int started() { return monitor.countComment(kStarted); }

    ManualClock clock{QDateTime(QDate(2026, 1, 5), QTime(9, 0, 30))};
    FixedSun sun;
    std::optional<ScheduleWorkspace> workspace;
    std::optional<ScheduleFiring> firing;
};

TEST_F(FiringTest, SavedForTheNextMinuteItFiresAtTheStartOfThatMinuteAndADisabledOneDoesNot) {
    scheduleAt(QStringLiteral("Blinds"), "2026-01-05 09:01:00", {{"Disabled", 1}});
    ScheduleEditor editor(*db, *firing);
    ScheduleDraft draft = fixedTimeDraft(clock.now(), addMacro(QStringLiteral("Lights")), QTime(9, 1));
    ASSERT_TRUE(editor.save(draft).saved);

    EXPECT_TRUE(macros.ran.isEmpty());  // not yet: it is 09:00:30
    EXPECT_TRUE(firing->hasDueKey(QStringLiteral("2601050901")));

    clock.advance(29);  // 09:00:59, a tick inside the old minute
    tick();
    EXPECT_TRUE(macros.ran.isEmpty());

    clock.advance(1);  // 09:01:00
    tick();
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Lights")});
    ASSERT_EQ(started(), 1);
    const auto& record = monitor.records.back();
    EXPECT_EQ(record.MsgType, QStringLiteral("Scheduler"));
    EXPECT_EQ(record.DateTime, QStringLiteral("2026-01-05 09:01:00"));
    EXPECT_TRUE(record.RS232.isEmpty() && record.Macro.isEmpty() && record.area.isEmpty());

    clock.advance(60);
    tick();
    EXPECT_EQ(macros.ran.size(), 1);
}

TEST_F(FiringTest, TwoSchedulesOfOneMinuteFireInOneTickInOrder) {
    scheduleAt(QStringLiteral("Second"), "2026-01-05 09:05:00");
    scheduleAt(QStringLiteral("First"), "2026-01-05 09:04:00", kEveryDay);
    scheduleAt(QStringLiteral("Third"), "2026-01-05 09:04:00");
    firing->rebuildAndFire();
    at(QDate(2026, 1, 5), QTime(9, 4));
    tick();
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("First"), QStringLiteral("Third")}));
    EXPECT_EQ(started(), 1);
}

TEST_F(FiringTest, ADisabledScheduleKeepsItsRowButNeverGetsAKey) {
    const int id = scheduleAt(QStringLiteral("Off"), "2026-01-05 09:02:00", {{"Disabled", 1}});
    firing->rebuildAndFire();
    EXPECT_EQ(workspaceRows(), QStringList{QStringLiteral("%1 2026-01-05 09:02:00").arg(id)});
    EXPECT_FALSE(firing->hasDueKey(QStringLiteral("2601050902")));
    at(QDate(2026, 1, 5), QTime(9, 2));
    tick();
    EXPECT_TRUE(macros.ran.isEmpty());
    EXPECT_EQ(started(), 0);
}

TEST_F(FiringTest, SavingForTheCurrentMinuteFiresAtOnceAndOnlyOnce) {
    ScheduleEditor editor(*db, *firing);
    ScheduleDraft draft = fixedTimeDraft(clock.now(), addMacro(QStringLiteral("Lights")), QTime(9, 0));
    ASSERT_TRUE(editor.save(draft).saved);
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Lights")});

    // A second save in the same minute runs the new one, not the first again.
    draft.macroId = addMacro(QStringLiteral("Fan"));
    clock.advance(10);
    ASSERT_TRUE(editor.save(draft).saved);
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Lights"), QStringLiteral("Fan")}));
}

TEST_F(FiringTest, EditedInItsOwnMinuteItNeitherRunsTwiceNorLosesItsRun) {
    ScheduleEditor editor(*db, *firing);
    ScheduleDraft lights = fixedTimeDraft(clock.now(), addMacro(QStringLiteral("Lights")), QTime(9, 5));
    lights.schedulerId = editor.save(lights).schedulerId;
    ScheduleDraft fan = fixedTimeDraft(clock.now(), addMacro(QStringLiteral("Fan")), QTime(9, 0));
    fan.schedulerId = editor.save(fan).schedulerId;  // the newest schedule, run at once
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Fan")});

    // Edited again in its minute, newest or not: it has run for 09:00 already.
    clock.advance(10);
    ASSERT_EQ(editor.save(fan).schedulerId, *fan.schedulerId);
    lights.specificTime = QTime(9, 0);  // the older one moved into this minute runs now
    ASSERT_TRUE(editor.save(lights).saved);
    ASSERT_TRUE(editor.save(lights).saved);
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Fan"), QStringLiteral("Lights")}));

    // Moved on to a later minute, it runs there.
    fan.specificTime = QTime(9, 3);
    ASSERT_TRUE(editor.save(fan).saved);
    at(QDate(2026, 1, 5), QTime(9, 3));
    tick();
    EXPECT_EQ(macros.ran,
              (QStringList{QStringLiteral("Fan"), QStringLiteral("Lights"), QStringLiteral("Fan")}));
}

TEST_F(FiringTest, MidnightRebuildsWithoutTheLookupAndFiresMidnightSchedules) {
    scheduleAt(QStringLiteral("Night"), "2026-01-01 00:00:00", kEveryDay);
    scheduleAt(QStringLiteral("Morning"), "2026-01-01 07:00:00", kEveryDay);
    firing->rebuildAndFire();  // 5 January, 09:00
    EXPECT_FALSE(firing->hasDueKey(QStringLiteral("2601060000")));

    at(QDate(2026, 1, 6), QTime(0, 0));
    tick();
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Night")});
    EXPECT_EQ(started(), 0);  // the midnight path writes no record
    EXPECT_TRUE(firing->hasDueKey(QStringLiteral("2601060700")));
    // Keys of earlier days are gone.
    EXPECT_FALSE(firing->hasDueKey(QStringLiteral("2601050700")));

    at(QDate(2026, 1, 6), QTime(7, 0));
    tick();
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Night"), QStringLiteral("Morning")}));
}

TEST_F(FiringTest, DeletedOrDisabledAfterItsKeyWasAddedItWritesTheRecordButRunsNothing) {
    const int gone = scheduleAt(QStringLiteral("Gone"), "2026-01-05 09:10:00");
    const int off = scheduleAt(QStringLiteral("Off"), "2026-01-05 09:11:00");
    firing->rebuildAndFire();
    db->exec(QStringLiteral("DELETE FROM Scheduler WHERE Scheduler_ID = %1").arg(gone));
    db->exec(QStringLiteral("UPDATE Scheduler SET Disabled = 1 WHERE Scheduler_ID = %1").arg(off));

    at(QDate(2026, 1, 5), QTime(9, 10));
    tick();
    at(QDate(2026, 1, 5), QTime(9, 11));
    tick();
    EXPECT_EQ(started(), 2);
    EXPECT_TRUE(macros.ran.isEmpty());
}

TEST_F(FiringTest, ALateTickOrAClockSetForwardSkipsTheMinute) {
    scheduleAt(QStringLiteral("Late"), "2026-01-05 09:20:00");
    scheduleAt(QStringLiteral("Jumped"), "2026-01-05 09:30:00");
    firing->rebuildAndFire();
    at(QDate(2026, 1, 5), QTime(9, 21, 2));  // the 09:20 tick came after its minute ended
    tick();
    at(QDate(2026, 1, 5), QTime(9, 45));  // the user set the clock on over 09:30
    tick();
    EXPECT_TRUE(macros.ran.isEmpty());
    EXPECT_EQ(started(), 0);
}

TEST_F(FiringTest, AMinuteAlreadyHandledIsNotHandledAgain) {
    scheduleAt(QStringLiteral("Once"), "2026-01-05 09:40:00");
    at(QDate(2026, 1, 5), QTime(9, 40, 0, 400));
    firing->rebuildAndFire();  // start-up in the due minute fires it ...
    EXPECT_EQ(macros.ran.size(), 1);
    clock.advance(5);
    tick();  // ... and the first tick, five seconds later, finds the minute done
    EXPECT_EQ(started(), 0);
    EXPECT_EQ(macros.ran.size(), 1);
}

TEST_F(FiringTest, AFailingMacroDoesNotStopTheOthersOfItsMinute) {
    scheduleAt(QStringLiteral("Broken"), "2026-01-05 09:50:00");
    scheduleAt(QStringLiteral("O'Brien's \"Lights\""), "2026-01-05 09:50:00");
    macros.throwFor = QStringLiteral("Broken");
    firing->rebuildAndFire();
    at(QDate(2026, 1, 5), QTime(9, 50));
    tick();
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Broken"), QStringLiteral("O'Brien's \"Lights\"")}));
    EXPECT_EQ(monitor.count([](const store::MonitorRecord& r) {
        return r.MsgType == QLatin1String("ERROR ***") && r.Macro == QLatin1String("Broken");
    }),
              1);
}

TEST_F(FiringTest, ADatabaseFailureIsReportedAndTheNextPassWorksAgain) {
    scheduleAt(QStringLiteral("Lights"), "2026-01-05 09:00:00");
    db->exec(QStringLiteral("ALTER TABLE ScheduleWorkspace RENAME TO Elsewhere"));
    EXPECT_EQ(firing->rebuildAndFire(), 0);
    EXPECT_EQ(
        monitor.count([](const store::MonitorRecord& r) { return r.MsgType == QLatin1String("ERROR ***"); }),
        1);
    db->exec(QStringLiteral("ALTER TABLE Elsewhere RENAME TO ScheduleWorkspace"));
    EXPECT_EQ(firing->rebuildAndFire(), 1);
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Lights")});
}

TEST_F(FiringTest, ScheduleInTheSkippedHourFiresAtTheFirstMinuteAfterTheClocksGoForward) {
    const QTimeZone london("Europe/London");
    ASSERT_TRUE(london.isValid());
    scheduleAt(QStringLiteral("Gap"), "2026-03-01 01:30:00", kEveryDay);
    scheduleAt(QStringLiteral("Two"), "2026-03-01 02:00:00", kEveryDay);
    at(QDate(2026, 3, 29), QTime(0, 0), london);
    tick();  // midnight rebuild: the keys of 01:30 and 02:00
    ASSERT_TRUE(firing->hasDueKey(QStringLiteral("2603290130")));
    at(QDate(2026, 3, 29), QTime(0, 59), london);
    tick();
    EXPECT_TRUE(macros.ran.isEmpty());
    clock.advance(60);  // 01:00 GMT is 02:00 BST
    ASSERT_EQ(clock.now().time(), QTime(2, 0));
    tick();
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Gap"), QStringLiteral("Two")}));
    EXPECT_EQ(started(), 1);
    clock.advance(60);
    tick();
    EXPECT_EQ(macros.ran.size(), 2);
}

TEST_F(FiringTest, ScheduleInTheRepeatedHourFiresOnceWhenTheClocksGoBack) {
    const QTimeZone london("Europe/London");
    scheduleAt(QStringLiteral("Repeat"), "2026-10-01 01:30:00", kEveryDay);
    at(QDate(2026, 10, 25), QTime(0, 0), london);
    tick();
    clock.set(QDateTime(QDate(2026, 10, 25), QTime(0, 30), london).addSecs(3600));  // the first 01:30 (BST)
    ASSERT_EQ(clock.now().time(), QTime(1, 30));
    ASSERT_EQ(clock.now().offsetFromUtc(), 3600);
    tick();
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Repeat")});
    clock.advance(3600);  // the second 01:30 (GMT)
    ASSERT_EQ(clock.now().time(), QTime(1, 30));
    ASSERT_EQ(clock.now().offsetFromUtc(), 0);
    tick();
    EXPECT_EQ(macros.ran.size(), 1);
    EXPECT_EQ(started(), 1);
}

TEST_F(FiringTest, TheTimerTicksAtTheStartOfTheNextMinute) {
    CheckforEventsTimer timer(clock);
    QList<QDateTime> seen;
    timer.addMinuteHandler([&](const QDateTime& now) { seen << now; });
    timer.addMinuteHandler([](const QDateTime&) { throw std::runtime_error("broken handler"); });
    QList<QDateTime> signalled;
    QObject::connect(&timer, &CheckforEventsTimer::minuteTicked, [&](const QDateTime& now) {
        EXPECT_EQ(seen.size(), signalled.size() + 1);  // after the handlers
        signalled << now;
    });
    at(QDate(2026, 1, 5), QTime(9, 0, 44, 250));
    timer.start(1000);
    clock.advance(1);
    EXPECT_EQ(seen.size(), 1);
    EXPECT_EQ(signalled, seen);
    EXPECT_TRUE(timer.isActive());  // a throwing handler does not stop it
    EXPECT_EQ(timer.interval(), 14750);
    clock.advance(15);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[1].time(), QTime(9, 1));
}

TEST_F(FiringTest, StartUpRebuildsFiresAndStartsTheTimer) {
    scheduleAt(QStringLiteral("Now"), "2026-01-05 09:00:00");
    Scheduling scheduling({*db, monitor, clock, macros, Site{51.5, 0.13, 0, false}, QString()});
    scheduling.start();
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Now")});
    EXPECT_TRUE(scheduling.timer().isActive());
    EXPECT_EQ(scheduling.timer().interval(), CheckforEventsTimer::kFirstIntervalMs);
    scheduling.stop();
    EXPECT_FALSE(scheduling.timer().isActive());
}

}  // namespace
}  // namespace qv::schedule::test
