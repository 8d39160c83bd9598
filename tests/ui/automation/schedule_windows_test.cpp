// The schedule windows driven as a user would: a schedule made in the editor
// for the next minute fires its macro on the engine's own minute tick and the
// listing shows it, then shows it as passed; the editor's messages and live
// description; enable/disable, edit, the next 7 days, the day buttons and
// delete.

#include "clock/clock.h"
#include "schedule/due_keys.h"
#include "schedule/scheduling.h"
#include "shell/engine.h"
#include "store/database.h"
#include "store/monitor_log.h"
#include "store/monitor_record.h"
#include "ui/automation/scheduler_form.h"
#include "ui/automation/show_schedules_form.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTimeEdit>
#include <QToolButton>

using namespace qv;
using schedule::ScheduleListing;
using test::child;
using test::click;

namespace {

// The machine's time moved by an offset the test sets, so that the next
// minute starts a few seconds from now.
class ShiftedClock final : public qv::Clock {
public:
    ShiftedClock() { m_started.start(); }
    QDateTime now() const override { return QDateTime::currentDateTime().addMSecs(offsetMs); }
    qint64 monotonicMs() const override { return m_started.elapsed(); }
    qint64 offsetMs = 0;

private:
    QElapsedTimer m_started;
};

const QString kMacro = QStringLiteral("Hall's Lights");

// The grid row of a schedule, or -1.
int gridRow(QTableView* grid, int schedulerId) {
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        if (grid->model()->index(row, 0).data(ScheduleListing::SchedulerIdRole).toInt() == schedulerId)
            return row;
    }
    return -1;
}

QVariant cell(QTableView* grid, int row, int column, int role = Qt::DisplayRole) {
    return grid->model()->index(row, column).data(role);
}

void clickRow(QTableView* grid, int row) {
    const QRect rect = grid->visualRect(grid->model()->index(row, ScheduleListing::DescriptionColumn));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class ScheduleWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void madeInTheEditorItFiresOnTheMinuteTickAndShowsAsPassed();
};

void ScheduleWindowsTest::madeInTheEditorItFiresOnTheMinuteTickAndShowsAsPassed() {
    test::RecordingMonitor heard;  // outlives the session, which reports until it ends
    ShiftedClock clock;
    test::UiSession::Options options;
    options.clock = &clock;
    test::UiSession session(options);
    QVERIFY2(session.start(), qPrintable(session.why()));
    session.engine().monitorLog()->addSink(&heard);
    session.execOnMain(
        QStringLiteral("INSERT INTO Macros (Macro_ID, Macro, Enabled, Description, MacroFolder_ID, "
                       "SortOrder) VALUES (901, ?, 1, '', 0, 1)"),
        {kMacro});
    session.execOnMain(
        QStringLiteral("INSERT INTO Orvanet (Orvanet_ID, Area, Preset, Fade, Channel, Level, "
                       "OrvanetRS232) VALUES (901, 1, 1, 1, 0, 0, X'1C0132000000FFB2')"));
    session.execOnMain(QStringLiteral(
        "INSERT INTO MacrosDetails (Macro_ID, Description, Orvanet_ID) VALUES (901, '<no comments>', 901)"));

    // Eight seconds before a minute starts (not near midnight), and the
    // engine's minute timer set again from that clock.
    const QDateTime real = QDateTime::currentDateTime();
    QDateTime shifted(real.date(), QTime(real.time().hour(), real.time().minute(), 52));
    if (shifted.time() >= QTime(23, 55)) shifted = shifted.addSecs(-600);
    clock.offsetMs = real.msecsTo(shifted);
    auto& scheduling = *session.engine().scheduling();
    scheduling.timer().start(schedule::msToNextMinute(clock.now()));
    const QDateTime due = shifted.addSecs(8);

    auto* listing = qobject_cast<ui::ShowSchedulesForm*>(session.windows().open(ui::window::kSchedules));
    QVERIFY(listing);
    auto* grid = child<QTableView>(listing, "ScheduleGrid");
    QCOMPARE(child<QDateEdit>(listing, "ShowSchedulesforThisDateDTPicker")->date(), shifted.date());
    QVERIFY(!child<QPushButton>(listing, "TodayButton")->isVisible());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d:\\d\\d$"))
                .match(child<QLabel>(listing, "SunSetLabel")->text())
                .hasMatch());
    QCOMPARE(grid->model()->rowCount(), 0);

    click(listing, "CreateButton");
    auto* editor = session.windows().find<ui::SchedulerForm>(ui::window::kScheduler);
    QVERIFY(editor);
    QVERIFY(child<QLabel>(editor, "Scheduler_IDLabel")->text().isEmpty());
    auto* save = child<QPushButton>(editor, "SaveButton");
    // Refused saves: no macro, then no time mode.
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(session.sawBox(schedule::ScheduleEditor::kNoMacro));
    auto* macro = child<QComboBox>(editor, "MacroCombo");
    QCOMPARE(macro->itemText(0), schedule::ScheduleEditor::kCreateMacroEntry);
    macro->setCurrentIndex(macro->findText(kMacro));
    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(session.boxes.back().text, schedule::ScheduleEditor::kNoTimeMode);
    QCOMPARE(session.boxes.back().kind, ui::BoxKind::Critical);
    QVERIFY(!child<QTimeEdit>(editor, "SpecificTimeDTPicker")->isVisible());

    click(editor, "SpecificTimeOption");
    auto* time = child<QTimeEdit>(editor, "SpecificTimeDTPicker");
    QVERIFY(time->isVisible());
    QVERIFY(!child<QTimeEdit>(editor, "HoursBeforeAfterDTPicker")->isVisible());
    time->setTime(due.time());
    const QString hhmmss = due.time().toString(QStringLiteral("HH:mm:00"));
    const QString effective = due.date().toString(QStringLiteral("dd/MM/yyyy ")) + hhmmss;
    auto* description = child<QLabel>(editor, "ScheduleDescriptionLabel");
    QCOMPARE(description->text(), QStringLiteral("Once only on %1 at %2").arg(effective, hhmmss));
    // Recurring daily (the default pattern), then a count the engine refuses.
    QVERIFY(!child<QGroupBox>(editor, "RecurrenceFrame")->isVisible());
    click(editor, "ScheduleRecursCheckBox");
    QVERIFY(child<QGroupBox>(editor, "RecurrenceFrame")->isVisible());
    QVERIFY(child<QRadioButton>(editor, "DailyOption")->isChecked());
    QCOMPARE(description->text(), QStringLiteral("Every day at %1- effective %2").arg(hhmmss, effective));
    auto* days = child<QLineEdit>(editor, "D1_EveryXDaysTextbox");
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("0"));
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(session.sawBox(QStringLiteral("Please enter the number of days as a whole number of 1 or more")));
    click(editor, "D2_EveryWeekDayOption");
    QVERIFY(child<QRadioButton>(editor, "D2_EveryWeekDayOption")->isChecked());
    QVERIFY(!days->isEnabled());
    click(editor, "D1_Option");
    days->selectAll();
    QTest::keyClicks(days, QStringLiteral("1"));
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(
        test::UiSession::waitUntil([&] { return !session.windows().find(ui::window::kScheduler); }, 2000));

    // Listed for today with its description, not yet passed.
    QCOMPARE(grid->model()->rowCount(), 1);
    const int id = cell(grid, 0, 0, ScheduleListing::SchedulerIdRole).toInt();
    QCOMPARE(cell(grid, 0, ScheduleListing::DescriptionColumn).toString(),
             QStringLiteral("Every day at %1- effective %2").arg(hhmmss, effective));
    QCOMPARE(cell(grid, 0, ScheduleListing::MacroColumn).toString(), kMacro);
    QCOMPARE(cell(grid, 0, ScheduleListing::TimeColumn).toString(),
             due.time().toString(QStringLiteral("HH:mm")));
    QVERIFY(!cell(grid, 0, 1, Qt::BackgroundRole).isValid());  // today's row: uncoloured
    QVERIFY(!cell(grid, 0, 1, ScheduleListing::PassedRole).toBool());
    QVERIFY(!heard.saw(QStringLiteral("Macro Started !"), kMacro));

    // The minute tick fires it, reaches the simulator, and the listing marks it passed.
    QVERIFY2(test::UiSession::waitUntil(
                 [&] {
                     return std::any_of(heard.records.begin(), heard.records.end(), [](const auto& r) {
                         return r.MsgType == QStringLiteral("Comms") && r.area.contains(QLatin1Char('1'));
                     });
                 },
                 20000),
             "the schedule's macro was not heard on the network");
    QVERIFY(heard.saw(QStringLiteral("Scheduled Event started!")));
    QVERIFY(heard.saw(QStringLiteral("Macro Started !"), kMacro));
    QCOMPARE(grid->model()->rowCount(), 1);
    QVERIFY(cell(grid, 0, 1, ScheduleListing::PassedRole).toBool());
    QCOMPARE(cell(grid, 0, 1, Qt::ForegroundRole).value<QColor>(), QColor(0x80, 0x80, 0x80));

    // Disable it from the listing: the button's caption and colour follow the row.
    auto* enable = child<QPushButton>(listing, "EnableDisableButton");
    QCOMPARE(enable->text(), ScheduleListing::kEnableDisable);
    clickRow(grid, 0);
    QCOMPARE(enable->text(), ScheduleListing::kDisableThis);
    QVERIFY(enable->styleSheet().contains(QStringLiteral("ffc0c0")));
    QTest::mouseClick(enable, Qt::LeftButton);
    QCOMPARE(cell(grid, gridRow(grid, id), 1, Qt::BackgroundRole).value<QColor>(), QColor(0xFF, 0xC0, 0xC0));
    QCOMPARE(enable->text(), ScheduleListing::kEnableDisable);
    clickRow(grid, gridRow(grid, id));
    QCOMPARE(enable->text(), ScheduleListing::kEnableThis);
    QVERIFY(enable->styleSheet().contains(QStringLiteral("c0ffc0")));

    // Edit: the editor opens on the row's schedule; made relative to sunset,
    // it keeps its disabled mark.
    click(listing, "EditButton");
    editor = session.windows().find<ui::SchedulerForm>(ui::window::kScheduler);
    QVERIFY(editor);
    QCOMPARE(child<QLabel>(editor, "Scheduler_IDLabel")->text(), QString::number(id));
    QCOMPARE(child<QComboBox>(editor, "MacroCombo")->currentText(), kMacro);
    QVERIFY(child<QTimeEdit>(editor, "SpecificTimeDTPicker")->isVisible());
    click(editor, "SunRiseSunSetOption");
    child<QTimeEdit>(editor, "HoursBeforeAfterDTPicker")->setTime(QTime(1, 30));
    child<QComboBox>(editor, "BeforeAfterCombo")->setCurrentText(QStringLiteral("After"));
    child<QComboBox>(editor, "SunriseSunsetCombo")->setCurrentText(QStringLiteral("Sunset"));
    QVERIFY2(child<QLabel>(editor, "ScheduleDescriptionLabel")
                 ->text()
                 .startsWith(QStringLiteral("Every day at 01hrs & 30mins after sunset")),
             qPrintable(child<QLabel>(editor, "ScheduleDescriptionLabel")->text()));
    click(editor, "SaveButton");
    QCOMPARE(grid->model()->rowCount(), 1);
    QVERIFY(cell(grid, 0, ScheduleListing::DescriptionColumn)
                .toString()
                .startsWith(QStringLiteral("Every day at 01hrs & 30mins after sunset")));
    QVERIFY(cell(grid, 0, 1, ScheduleListing::DisabledRole).toBool());
    const int edited = cell(grid, 0, 0, ScheduleListing::SchedulerIdRole).toInt();

    // "Next 7 days": a daily 06:15 and the sunset one, each on seven days in a row.
    session.execOnMain(
        QStringLiteral("INSERT INTO Scheduler (Scheduler_ID, Macro_ID, Disabled, startdate, "
                       "starttime, hours, RecurringDaily, D1_EveryXdays) VALUES (902, 901, 0, "
                       "'2026-01-01 06:15:00', '06:15', '00:00', 1, 1)"));
    auto* week = child<QCheckBox>(listing, "NextSevenDaysCheck");
    QCOMPARE(week->text(), QStringLiteral("Next 7 days"));
    click(listing, "NextSevenDaysCheck");
    QStringList daily, sunset;
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        const QString when = cell(grid, row, ScheduleListing::DateColumn).toString() + QLatin1Char(' ') +
                             cell(grid, row, ScheduleListing::TimeColumn).toString();
        const int scheduleId = cell(grid, row, 0, ScheduleListing::SchedulerIdRole).toInt();
        (scheduleId == 902 ? daily : sunset) << when;
        QCOMPARE(cell(grid, row, ScheduleListing::MacroColumn).toString(), kMacro);
    }
    QCOMPARE(daily.size(), 7);
    QCOMPARE(sunset.size(), 7);
    for (int day = 0; day < 7; ++day) {
        const QString date = shifted.date().addDays(day).toString(QStringLiteral("dd/MM/yyyy"));
        QCOMPARE(daily[day], date + QStringLiteral(" 06:15"));
        QVERIFY2(
            QRegularExpression(QStringLiteral("^%1 \\d\\d:\\d\\d$").arg(date)).match(sunset[day]).hasMatch(),
            qPrintable(sunset[day]));
    }
    // Passed is judged at the listing's time, which is past the minute the test began in.
    QVERIFY(cell(grid, 0, 1, ScheduleListing::PassedRole).toBool() == (clock.now().time() >= QTime(6, 15)));
    QCOMPARE(cell(grid, grid->model()->rowCount() - 1, 1, Qt::BackgroundRole).value<QColor>(),
             QColor(0xFF, 0xC0, 0xC0));  // the disabled sunset one
    session.execOnMain(QStringLiteral("DELETE FROM Scheduler WHERE Scheduler_ID = 902"));
    click(listing, "NextSevenDaysCheck");
    QCOMPARE(grid->model()->rowCount(), 1);

    // The day buttons: another day shows the note and "Go to Today".
    auto* picker = child<QDateEdit>(listing, "ShowSchedulesforThisDateDTPicker");
    click(listing, "UpDown1Up");
    QCOMPARE(picker->date(), shifted.date().addDays(1));
    QVERIFY(child<QLabel>(listing, "NotTodayLabel")->isVisible());
    click(listing, "TodayButton");
    QCOMPARE(picker->date(), shifted.date());
    QVERIFY(!child<QLabel>(listing, "NotTodayLabel")->isVisible());

    // Delete asks first; No keeps it, Yes deletes it.
    session.answers = {false, true};
    clickRow(grid, 0);
    click(listing, "DeleteButton");
    QVERIFY(session.sawBox(ScheduleListing::kDeleteQuestion));
    QCOMPARE(session.boxes.back().title, ScheduleListing::kDeleteTitle);
    QCOMPARE(gridRow(grid, edited), 0);
    clickRow(grid, 0);
    click(listing, "DeleteButton");
    QCOMPARE(grid->model()->rowCount(), 0);
    QCOMPARE(session.valueOnMain(QStringLiteral("SELECT COUNT(*) FROM Scheduler")).toInt(), 0);
}

QTEST_MAIN(ScheduleWindowsTest)
#include "schedule_windows_test.moc"
