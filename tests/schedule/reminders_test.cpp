// Calendar reminders from iCalendar files: the marker, dismissal (also across
// restarts), recurrence, time zones, bad and missing files.

#include "schedule/calendar_reminders.h"
#include "schedule_fixture.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include "support/case_names.h"

namespace qv::schedule::test {
namespace {

QByteArray calendar(const QByteArray& body) {
    QByteArray text =
        "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Quorvel tests//EN\n" + body + "END:VCALENDAR\n";
    text.replace("\n", "\r\n");
    return text;
}

QByteArray event(const char* uid, const char* summary, const char* start, const char* trigger,
                 const QByteArray& extra = {}) {
    return QByteArray("BEGIN:VEVENT\nUID:") + uid + "\nDTSTAMP:20260101T000000Z\nDTSTART" + start +
           "\nSUMMARY:" + summary + "\n" + extra +
           "BEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:Reminder\nTRIGGER" + trigger +
           "\nEND:VALARM\nEND:VEVENT\n";
}

class RemindersTest : public MainDbTest {
protected:
    void SetUp() override {
        MainDbTest::SetUp();
        ASSERT_TRUE(m_files.isValid());
        path = m_files.filePath(QStringLiteral("work.ics"));
    }

    void write(const QString& file, const QByteArray& text) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(text);
        out.flush();
        // A rewrite within the same second must still count as a change.
        out.setFileTime(QDateTime::currentDateTimeUtc().addSecs(++m_touch),
                        QFileDevice::FileModificationTime);
        out.close();
    }

    CalendarReminders& reminders() {
        if (!m_reminders) m_reminders.emplace(*db, monitor, macros, clock, path);
        return *m_reminders;
    }
    void restart() { m_reminders.reset(); }

    int minute() { return reminders().onMinute(clock.now()); }
    void at(int h, int m, int s = 0) {
        clock.set(QDateTime(QDate(2026, 1, 5), QTime(h, m, s), QTimeZone::utc()));
    }
    int warnings() {
        return monitor.count([](const auto& r) { return r.MsgType == QLatin1String("Warning **"); });
    }
    int dismissedRows() { return scalar(QStringLiteral("SELECT COUNT(*) FROM DismissedReminders")).toInt(); }

    ManualClock clock{QDateTime(QDate(2026, 1, 5), QTime(8, 0), QTimeZone::utc())};
    QString path;

private:
    QTemporaryDir m_files;
    std::optional<CalendarReminders> m_reminders;
    int m_touch = 0;
};

struct MarkerCase {
    const char* text;
    std::optional<QString> macro;
};

void PrintTo(const MarkerCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.text);
}

class Marker : public ::testing::TestWithParam<MarkerCase> {};
TEST_P(Marker, MacroNameAfterTheMarker) {
    EXPECT_EQ(CalendarReminders::macroOfReminder(QString::fromUtf8(GetParam().text)), GetParam().macro);
}
INSTANTIATE_TEST_SUITE_P(Texts, Marker,
                         ::testing::Values(MarkerCase{"QUORVEL Lights On", QStringLiteral("Lights On")},
                                           MarkerCase{"quorvel  Lights On  ", QStringLiteral("Lights On")},
                                           MarkerCase{"QuOrVeL", QString()},
                                           MarkerCase{"QUORVELStartup", QStringLiteral("Startup")},
                                           MarkerCase{"Team meeting", std::nullopt},
                                           MarkerCase{" QUORVEL Lights", std::nullopt},
                                           MarkerCase{"QUORVE", std::nullopt}, MarkerCase{"", std::nullopt}));

TEST_F(RemindersTest, AMarkedReminderRunsItsMacroOnceAndIsRemembered) {
    write(path, calendar(event("a@x", "quorvel  Lights On", ":20260105T090000Z", ":-PT15M") +
                         event("b@x", "Dentist", ":20260105T090000Z", ":-PT15M")));
    at(8, 44);
    EXPECT_EQ(minute(), 0);
    at(8, 45);
    EXPECT_EQ(minute(), 2);
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Lights On")});
    ASSERT_EQ(monitor.count([](const auto& r) { return r.MsgType == QLatin1String("Outlook"); }), 1);
    const auto& record = monitor.records.back();
    EXPECT_EQ(record.comment, QStringLiteral("Outlook Scheduled Event"));
    EXPECT_EQ(record.Macro, QStringLiteral("Lights On"));
    EXPECT_EQ(record.DateTime, QStringLiteral("2026-01-05 08:45:00"));
    EXPECT_TRUE(record.RS232.isEmpty() && record.area.isEmpty() && record.ChannelLevel.isEmpty());
    // Both were dismissed, the unmarked one too.
    EXPECT_EQ(dismissedRows(), 2);

    at(8, 46);
    EXPECT_EQ(minute(), 0);
    restart();
    at(8, 47);
    EXPECT_EQ(minute(), 0);
    EXPECT_EQ(macros.ran.size(), 1);
}

TEST_F(RemindersTest, TheBareMarkerRunsAnEmptyName) {
    write(path, calendar(event("c@x", "QUORVEL", ":20260105T083000Z", ":PT0M")));
    at(8, 30);
    minute();
    EXPECT_EQ(macros.ran, QStringList{QString()});
}

TEST_F(RemindersTest, AlarmsDueBeforeTheProgramStartedDoNotRun) {
    write(path, calendar(event("d@x", "QUORVEL Early", ":20260105T075900Z", ":PT0M") +
                         event("e@x", "QUORVEL Lost", ":20260105T073000Z", ":PT0M")));
    at(8, 0);
    reminders();  // the watch starts at 08:00
    at(8, 1);
    EXPECT_EQ(minute(), 0);
    EXPECT_TRUE(macros.ran.isEmpty());
}

TEST_F(RemindersTest, ALateTickStillCatchesUpTheLastMinutes) {
    write(path, calendar(event("f@x", "QUORVEL Late", ":20260105T080500Z", ":PT0M")));
    reminders();
    at(8, 9, 30);  // the program was busy from 08:04 to 08:09
    EXPECT_EQ(minute(), 1);
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Late")});
}

TEST_F(RemindersTest, RecurringEventsFireEveryOccurrenceButNotExcludedOnes) {
    write(path, calendar(event("g@x", "QUORVEL Daily", ":20251201T090000Z", ":-PT10M",
                               "RRULE:FREQ=DAILY\nEXDATE:20260106T090000Z\n")));
    at(8, 50);
    EXPECT_EQ(minute(), 1);
    clock.set(QDateTime(QDate(2026, 1, 6), QTime(8, 50), QTimeZone::utc()));
    EXPECT_EQ(minute(), 0);  // excluded
    clock.set(QDateTime(QDate(2026, 1, 7), QTime(8, 50), QTimeZone::utc()));
    EXPECT_EQ(minute(), 1);
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Daily"), QStringLiteral("Daily")}));
}

TEST_F(RemindersTest, LongRunningRulesAreFollowedToTodayAndEndedOnesStayQuiet) {
    write(path,
          calendar(
              event("s@x", "QUORVEL Daily since 2016", ";TZID=Europe/London:20160104T090000", ":-PT15M",
                    "RRULE:FREQ=DAILY\n") +
              event("t@x", "QUORVEL Mondays", ":20180101T100000Z", ":PT0M", "RRULE:FREQ=WEEKLY;BYDAY=MO\n") +
              event("u@x", "QUORVEL Counted", ":20250101T110000Z", ":PT0M", "RRULE:FREQ=DAILY;COUNT=3\n") +
              event("v@x", "QUORVEL Until", ":20250101T120000Z", ":PT0M",
                    "RRULE:FREQ=DAILY;UNTIL=20251231T000000Z\n")));
    at(8, 44);
    EXPECT_EQ(minute(), 0);
    at(8, 45);  // 09:00 in London in January is 09:00 UTC
    EXPECT_EQ(minute(), 1);
    at(10, 0);
    EXPECT_EQ(minute(), 1);
    at(11, 0);
    EXPECT_EQ(minute(), 0);
    at(12, 0);
    EXPECT_EQ(minute(), 0);
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Daily since 2016"), QStringLiteral("Mondays")}));
}

TEST_F(RemindersTest, MovedAndCancelledOccurrencesFollowTheirOverrideWithOrWithoutAnAlarm) {
    const QByteArray overrides =
        // Moved to 14:00 with its own alarm.
        "BEGIN:VEVENT\nUID:h@x\nDTSTAMP:20260101T000000Z\nRECURRENCE-ID:20260105T100000Z\n"
        "DTSTART:20260105T140000Z\nSUMMARY:QUORVEL Moved\nBEGIN:VALARM\nACTION:DISPLAY\n"
        "DESCRIPTION:r\nTRIGGER:-PT5M\nEND:VALARM\nEND:VEVENT\n"
        // Moved to 16:00 with its reminder turned off.
        "BEGIN:VEVENT\nUID:g@x\nDTSTAMP:20260101T000000Z\nRECURRENCE-ID:20260105T110000Z\n"
        "DTSTART:20260105T160000Z\nSUMMARY:QUORVEL Hall\nEND:VEVENT\n"
        // Cancelled, as many clients write it: no alarm of its own.
        "BEGIN:VEVENT\nUID:p@x\nDTSTAMP:20260101T000000Z\nRECURRENCE-ID:20260105T120000Z\n"
        "DTSTART:20260105T120000Z\nSUMMARY:QUORVEL Porch\nSTATUS:CANCELLED\nEND:VEVENT\n";
    write(path,
          calendar(event("h@x", "QUORVEL Weekly", ":20251229T100000Z", ":-PT5M", "RRULE:FREQ=WEEKLY\n") +
                   event("g@x", "QUORVEL Hall", ":20260103T110000Z", ":-PT5M", "RRULE:FREQ=DAILY\n") +
                   event("p@x", "QUORVEL Porch", ":20260103T120000Z", ":-PT5M", "RRULE:FREQ=DAILY\n") +
                   overrides));
    at(9, 55);
    EXPECT_EQ(minute(), 0);
    at(10, 55);
    EXPECT_EQ(minute(), 0);
    at(11, 55);
    EXPECT_EQ(minute(), 0);
    at(13, 55);
    EXPECT_EQ(minute(), 1);
    at(15, 55);
    EXPECT_EQ(minute(), 0);
    EXPECT_EQ(macros.ran, QStringList{QStringLiteral("Moved")});
}

TEST_F(RemindersTest, ZonesFromTheFileTheZoneDatabaseAndFloatingTimes) {
    const QByteArray vtimezone =
        "BEGIN:VTIMEZONE\nTZID:Site Time\nBEGIN:STANDARD\nDTSTART:19700101T000000\nTZOFFSETFROM:+0800\n"
        "TZOFFSETTO:+0800\nTZNAME:AWST\nEND:STANDARD\nEND:VTIMEZONE\n";
    write(path,
          calendar(vtimezone + event("i@x", "QUORVEL Perth", ";TZID=Site Time:20260105T170000", ":-PT30M") +
                   event("j@x", "QUORVEL Tokyo", ";TZID=Asia/Tokyo:20260105T180000", ":PT0M") +
                   event("k@x", "QUORVEL Floating", ":20260105T100000", ":PT0M")));
    at(8, 30);  // 17:00 AWST less 30 minutes is 08:30 UTC
    EXPECT_EQ(minute(), 1);
    // 18:00 in Tokyo is 09:00 UTC; floating 10:00 is read in the clock's zone (UTC).
    at(9, 0);
    EXPECT_EQ(minute(), 1);
    at(10, 0);
    EXPECT_EQ(minute(), 1);
    EXPECT_EQ(macros.ran,
              (QStringList{QStringLiteral("Perth"), QStringLiteral("Tokyo"), QStringLiteral("Floating")}));
}

TEST_F(RemindersTest, TasksAbsoluteTriggersAndCancelledEvents) {
    write(path,
          calendar(
              "BEGIN:VTODO\nUID:t@x\nDTSTAMP:20260101T000000Z\nDUE:20260105T120000Z\nSUMMARY:QUORVEL Task\n"
              "BEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:r\nTRIGGER;RELATED=END:-PT1H\nEND:VALARM\nEND:"
              "VTODO\n" +
              event("l@x", "QUORVEL Absolute", ":20260110T090000Z", ";VALUE=DATE-TIME:20260105T083000Z") +
              event("m@x", "QUORVEL Cancelled", ":20260105T090000Z", ":-PT30M", "STATUS:CANCELLED\n")));
    at(8, 30);
    EXPECT_EQ(minute(), 1);
    at(11, 0);
    EXPECT_EQ(minute(), 1);
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("Absolute"), QStringLiteral("Task")}));
}

TEST_F(RemindersTest, AFolderIsReadFileByFile) {
    path = QFileInfo(path).absolutePath();
    write(path + QStringLiteral("/one.ics"),
          calendar(event("n@x", "QUORVEL One", ":20260105T083000Z", ":PT0M")));
    write(path + QStringLiteral("/TWO.ICS"),
          calendar(event("o@x", "QUORVEL Two", ":20260105T083000Z", ":PT0M")));
    write(path + QStringLiteral("/notes.txt"), "QUORVEL Not a calendar");
    at(8, 30);
    EXPECT_EQ(minute(), 2);
    EXPECT_EQ(macros.ran, (QStringList{QStringLiteral("One"), QStringLiteral("Two")}));
    EXPECT_EQ(warnings(), 0);
}

TEST_F(RemindersTest, AMalformedFileWarnsOnceAndIsIgnoredUntilItChanges) {
    write(
        path,
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART:2026-01-05 nonsense\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    at(8, 29);
    minute();
    at(8, 30);
    minute();
    EXPECT_EQ(warnings(), 1);
    EXPECT_TRUE(monitor.records.back().comment.contains(path));

    write(path, calendar(event("p@x", "QUORVEL Fixed", ":20260105T083100Z", ":PT0M")));
    at(8, 31);
    EXPECT_EQ(minute(), 1);
    EXPECT_EQ(warnings(), 1);

    write(path, "this is not a calendar at all");
    at(8, 32);
    minute();
    EXPECT_EQ(warnings(), 2);
}

TEST_F(RemindersTest, AMissingPathWarnsOnceUntilItAppears) {
    path = path + QStringLiteral(".missing");
    at(8, 29);
    minute();
    at(8, 30);
    minute();
    EXPECT_EQ(warnings(), 1);
    write(path, calendar(event("q@x", "QUORVEL Back", ":20260105T083100Z", ":PT0M")));
    at(8, 31);
    EXPECT_EQ(minute(), 1);
}

TEST_F(RemindersTest, AReminderThatCannotBeDismissedIsNotRun) {
    write(path, calendar(event("r@x", "QUORVEL Risky", ":20260105T083000Z", ":PT0M")));
    at(8, 29);
    minute();  // loads the dismissed keys
    db->exec(QStringLiteral("DROP TABLE DismissedReminders"));
    at(8, 30);
    EXPECT_EQ(minute(), 0);
    EXPECT_TRUE(macros.ran.isEmpty());
    EXPECT_EQ(warnings(), 1);
}

TEST_F(RemindersTest, NoPathNoWork) {
    path.clear();
    at(8, 30);
    EXPECT_EQ(minute(), 0);
    EXPECT_EQ(warnings(), 0);
}

}  // namespace
}  // namespace qv::schedule::test
