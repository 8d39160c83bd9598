// The monitor, the configuration and the small desktop windows, driven on a
// real engine against quorvel-sim.

#include "macros/macro_engine.h"
#include "net/builders.h"
#include "shell/config/messages.h"
#include "store/monitor_colours.h"
#include "store/monitor_log.h"
#include "ui/common/units.h"
#include "ui/desktop/config_window.h"
#include "ui/desktop/monitor_batch_model.h"
#include "ui/desktop/monitor_window.h"
#include "ui/desktop/small_windows.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using qv::test::UiSession;

namespace {

qv::store::MonitorRecord record(const QString& type, const QString& comment, const QString& area = {}) {
    qv::store::MonitorRecord r;
    r.MsgType = type;
    r.comment = comment;
    r.area = area;
    r.DateTime = QStringLiteral("2026-12-07 10:00:00");
    return r;
}

// Types into a line edit and leaves it, so its on-leaving check runs (the
// offscreen platform has no active window to move the focus in).
void typeAndLeave(QLineEdit* box, const QString& text) {
    box->setText(text);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &out);
}

}  // namespace

class DesktopWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(m_session.start(), qPrintable(m_session.why()));
        m_monitor = qobject_cast<qv::ui::MonitorWindow*>(m_session.windows().open(qv::ui::window::kMonitor));
        QVERIFY(m_monitor);
    }

    void monitorShowsTheEchoOfASentMessageInTheCommsColour() {
        QTableView* grid = m_monitor->grid();
        QCOMPARE(grid->model()->headerData(qv::store::MonitorModel::ChannelLevel, Qt::Horizontal).toString(),
                 QStringLiteral("Channel Lvl%"));
        QCOMPARE(grid->columnWidth(qv::store::MonitorModel::Command), qv::ui::twipsToPixels(4300, grid));
        m_session.engine().sendRS232(*qv::net::GoAreaPreset(5, 3));
        int echo = -1;
        QVERIFY(UiSession::waitUntil([&] {
            const QAbstractItemModel* m = grid->model();
            for (int row = m->rowCount() - 1; row >= 0; --row)
                if (m->index(row, qv::store::MonitorModel::Area).data() == QStringLiteral("5") &&
                    m->index(row, qv::store::MonitorModel::Preset).data() == QStringLiteral("3") &&
                    !m->index(row, qv::store::MonitorModel::RS232).data().toString().isEmpty())
                    echo = row;
            return echo >= 0;
        }));
        const QModelIndex cell = grid->model()->index(echo, qv::store::MonitorModel::Command);
        const QColor comms =
            qv::ui::colourFromRgb(qv::store::coloursForMsgType(QStringLiteral("Comms")).background);
        QCOMPARE(comms, QColor(255, 255, 192));
        QCOMPARE(cell.data(Qt::BackgroundRole).value<QBrush>().color(), comms);
        QVERIFY(m_monitor->windowTitle().startsWith(QStringLiteral("System Message Monitor  ")));
    }

    // A flood arrives as one insertion per flush, the newest row selected;
    // frozen, the grid stays where it was; the cap holds.
    void monitorBatchesFreezesAndCaps() {
        qv::store::MonitorModel& source = m_session.engine().monitorLog()->model();
        QTableView* grid = m_monitor->grid();
        m_monitor->rows().flush();
        int inserts = 0;
        auto counting = connect(grid->model(), &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
        for (int i = 0; i < 12000; ++i)
            source.addRecord(record(QStringLiteral("Test"), QStringLiteral("flood %1").arg(i)));
        m_monitor->rows().flush();
        disconnect(counting);
        QCOMPARE(inserts, 1);
        QCOMPARE(grid->model()->rowCount(), qv::store::MonitorModel::kMaxRows);
        const int last = grid->model()->rowCount() - 1;
        QCOMPARE(grid->model()->index(last, qv::store::MonitorModel::Command).data().toString(),
                 QStringLiteral("flood 11999"));
        QCOMPARE(grid->currentIndex().row(), last);

        m_monitor->findChild<QCheckBox*>(QStringLiteral("freezecheck"))->setChecked(true);
        // The reader's row stays current and the grid does not move, even
        // while the cap drops the oldest rows.
        grid->setCurrentIndex(grid->model()->index(500, 1));
        grid->scrollToTop();
        const int scroll = grid->verticalScrollBar()->value();
        const QString reading =
            grid->currentIndex().siblingAtColumn(qv::store::MonitorModel::Command).data().toString();
        for (int i = 0; i < 50; ++i)
            source.addRecord(record(QStringLiteral("Test"), QStringLiteral("frozen %1").arg(i)));
        m_monitor->rows().flush();
        QCoreApplication::processEvents();
        QCOMPARE(grid->verticalScrollBar()->value(), scroll);
        QCOMPARE(grid->currentIndex().row(), 450);
        QCOMPARE(grid->currentIndex().siblingAtColumn(qv::store::MonitorModel::Command).data().toString(),
                 reading);
        m_monitor->findChild<QCheckBox*>(QStringLiteral("freezecheck"))->setChecked(false);

        // Paused, nothing reaches the grid; resumed, the rows come.
        auto* pause = m_monitor->findChild<QCheckBox*>(QStringLiteral("PauseCheck"));
        pause->setChecked(true);
        source.addRecord(record(QStringLiteral("Test"), QStringLiteral("while paused")));
        m_monitor->rows().flush();
        QVERIFY(grid->model()->index(last, qv::store::MonitorModel::Command).data() !=
                QStringLiteral("while paused"));
        pause->setChecked(false);
        m_monitor->rows().flush();
        QCOMPARE(grid->model()->index(last, qv::store::MonitorModel::Command).data().toString(),
                 QStringLiteral("while paused"));
    }

    void monitorFilterExportAndClear() {
        qv::store::MonitorModel& source = m_session.engine().monitorLog()->model();
        source.addRecord(
            record(QStringLiteral("Scheduler"), QStringLiteral("Lights, \"on\""), QStringLiteral("12")));
        source.addRecord(
            record(QStringLiteral("Scheduler"), QStringLiteral("Lights off"), QStringLiteral("13")));
        m_monitor->rows().flush();
        m_monitor->findChild<QLineEdit*>(QStringLiteral("FilterTypeBox"))->setText(QStringLiteral("sched"));
        m_monitor->findChild<QLineEdit*>(QStringLiteral("FilterAreaBox"))->setText(QStringLiteral("12"));
        QTableView* grid = m_monitor->grid();
        QCOMPARE(grid->model()->rowCount(), 1);
        QCOMPARE(grid->model()->index(0, qv::store::MonitorModel::Command).data().toString(),
                 QStringLiteral("Lights, \"on\""));
        // Rows heard while filtering are filtered too.
        source.addRecord(record(QStringLiteral("Scheduler"), QStringLiteral("again"), QStringLiteral("12")));
        source.addRecord(record(QStringLiteral("System"), QStringLiteral("other"), QStringLiteral("12")));
        m_monitor->rows().flush();
        QCOMPARE(grid->model()->rowCount(), 2);

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("rows.csv"));
        QVERIFY(m_monitor->exportVisibleRows(file));
        QFile csv(file);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QStringList lines =
            QString::fromUtf8(csv.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QStringLiteral("#,Type,RS232,Date/Time")));
        QVERIFY(
            lines[1].contains(QStringLiteral(",Scheduler,,07/12/2026 10:00:00,,\"Lights, \"\"on\"\"\",12,")));

        m_monitor->findChild<QLineEdit*>(QStringLiteral("FilterTypeBox"))->clear();
        m_monitor->findChild<QLineEdit*>(QStringLiteral("FilterAreaBox"))->clear();
        QCOMPARE(grid->model(), static_cast<QAbstractItemModel*>(&m_monitor->rows()));
        m_monitor->findChild<QPushButton*>(QStringLiteral("ClearButton"))->click();
        QCOMPARE(grid->model()->rowCount(), 0);
        source.addRecord(record(QStringLiteral("Test"), QStringLiteral("after clear")));
        m_monitor->rows().flush();
        QCOMPARE(grid->model()->index(0, qv::store::MonitorModel::Counter).data().toString(),
                 QStringLiteral("1"));

        m_monitor->close();
        QVERIFY(!m_monitor->isVisible());
        QCOMPARE(m_session.windows().find(qv::ui::window::kMonitor), m_monitor.data());
    }

    void configRefusesAWrongPasswordAndABadServerAddress() {
        m_session.execOnMain(QStringLiteral("DELETE FROM Password"));
        m_session.execOnMain(QStringLiteral("INSERT INTO Password (Password) VALUES (?)"),
                             {QStringLiteral("Secret7")});
        auto* config = qobject_cast<qv::ui::ConfigWindow*>(m_session.windows().open(qv::ui::window::kConfig));
        QVERIFY(config);
        auto* tabs = config->findChild<QTabWidget*>(QStringLiteral("ConfigSSTab"));
        auto* password = config->findChild<QLineEdit*>(QStringLiteral("PasswordTextbox"));
        QVERIFY(!tabs->isEnabled());
        QVERIFY(config->findChild<QWidget*>(QStringLiteral("PWDFrame"))->isVisible());

        m_session.boxes.clear();
        QTest::keyClicks(password, QStringLiteral("wrong"));
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(m_session.sawBox(qv::config::msg::kPasswordIncorrect));
        QCOMPARE(m_session.boxes.back().kind, qv::ui::BoxKind::Critical);
        QCOMPARE(password->text(), QString());
        QVERIFY(!tabs->isEnabled());

        QTest::keyClicks(password, QStringLiteral("Secret7"));
        config->findChild<QPushButton*>(QStringLiteral("PWDokButton"))->click();
        QVERIFY(tabs->isEnabled());
        QVERIFY(!config->findChild<QWidget*>(QStringLiteral("PWDFrame"))->isVisible());

        auto* tcp = config->findChild<QWidget*>(QStringLiteral("TCPOption"));
        qobject_cast<QAbstractButton*>(tcp)->setChecked(true);
        auto* server = config->findChild<QLineEdit*>(QStringLiteral("servernametextbox"));
        tabs->setCurrentIndex(tabs->indexOf(server->parentWidget()->parentWidget()));
        m_session.boxes.clear();
        typeAndLeave(server, QStringLiteral("192.168.1.300"));
        QVERIFY(m_session.sawBox(qv::config::msg::kInvalidIPNumber));
        m_session.boxes.clear();
        typeAndLeave(server, QStringLiteral("192.168.1.30"));
        QVERIFY(!m_session.sawBox(qv::config::msg::kInvalidIPNumber));

        // OK with the server chosen and no address: refused, window stays open.
        server->clear();
        config->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        QVERIFY(m_session.sawBox(qv::config::msg::kServerNeeded));
        QVERIFY(config->isVisible());

        // The release rate is limited on leaving its box.
        auto* rate = config->findChild<QLineEdit*>(QStringLiteral("ReleaserateTextBox"));
        typeAndLeave(rate, QStringLiteral("20"));
        QCOMPARE(rate->text(), QStringLiteral("50"));

        // Unticking an area is stored at once and survives Cancel.
        auto* areas = config->findChild<QListWidget*>(QStringLiteral("AreasAllowedListbox"));
        QVERIFY(areas->isEnabled());
        areas->item(12)->setCheckState(Qt::Unchecked);
        QVERIFY(!m_session.engine().configEngine()->areaPermissions().allowed(12));
        config->findChild<QPushButton*>(QStringLiteral("cancelButton"))->click();
        QVERIFY(!config->isVisible());
        QVERIFY(!m_session.engine().configEngine()->areaPermissions().allowed(12));

        // OK on the mail page's values: stored, then the restart is asked for.
        QCOMPARE(m_session.windows().open(qv::ui::window::kConfig), config);
        QTest::keyClicks(password, QStringLiteral("Secret7"));
        QTest::keyClick(password, Qt::Key_Return);
        QVERIFY(tabs->isEnabled());
        QVERIFY(!qobject_cast<QAbstractButton*>(tcp)->isChecked());
        config->findChild<QLineEdit*>(QStringLiteral("mailhost"))
            ->setText(QStringLiteral("smtp.example.org"));
        config->findChild<QLineEdit*>(QStringLiteral("ReminderCalendarPath"))
            ->setText(QStringLiteral("/srv/site.ics"));
        QSignalSpy alerts(&m_session.engine(), &qv::shell::Engine::information);
        QSignalSpy restarts(&m_session.engine(), &qv::shell::Engine::restartRequested);
        m_session.boxes.clear();
        config->findChild<QPushButton*>(QStringLiteral("okButton"))->click();
        QVERIFY(m_session.boxes.empty());
        QVERIFY(!config->isVisible());
        QCOMPARE(restarts.size(), 1);
        QCOMPARE(alerts.value(0).value(0).toString(), qv::config::msg::kRestartNeeded);
        QCOMPARE(m_session.engine().configEngine()->settings().config.mailhost,
                 QStringLiteral("smtp.example.org"));
        QCOMPARE(m_session.engine().configEngine()->settings().config.ReminderCalendarPath,
                 QStringLiteral("/srv/site.ics"));
    }

    void smallWindows() {
        auto* debug = qobject_cast<qv::ui::DebugWindow*>(m_session.windows().open(qv::ui::window::kDebug));
        QVERIFY(debug);
        m_session.engine().debugLog().AddDebug(QStringLiteral("### the drawings folder could not be made"));
        m_session.engine().debugLog().AddDebug(QStringLiteral("plain line"));
        QListWidget* list = debug->list();
        QCOMPARE(list->item(list->count() - 1)->text(), QStringLiteral("plain line"));
        QCOMPARE(list->item(list->count() - 2)->background().color(), QColor(255, 0, 0));
        QVERIFY(list->item(list->count() - 1)->background().style() == Qt::NoBrush);

        QWidget* console = m_session.windows().open(qv::ui::window::kScriptConsole);
        auto* code = console->findChild<QPlainTextEdit*>(QStringLiteral("Text1"));
        code->setPlainText(QStringLiteral("function main() { nosuchthing(); }"));
        m_session.boxes.clear();
        console->findChild<QPushButton*>(QStringLiteral("executescriptbutton"))->click();
        QCOMPARE(m_session.boxes.size(), std::size_t{1});
        QCOMPARE(m_session.boxes[0].title, QStringLiteral("Quorvel Scripting"));
        QCOMPARE(m_session.boxes[0].kind, qv::ui::BoxKind::Information);
        QVERIFY(m_session.boxes[0].text.startsWith(QStringLiteral("Scripting Error ")));

        QWidget* threads = m_session.windows().open(qv::ui::window::kThreads);
        QVERIFY(threads->findChild<QLabel*>(QStringLiteral("ThreadLabel30")));
        QVERIFY(threads->findChild<QPushButton*>(QStringLiteral("CancelThreadButton30")));
        QVERIFY(threads->findChild<QPushButton*>(QStringLiteral("CancelAllButton")));
        // A slot's label and cancel button follow the slot.
        auto& running = m_session.engine().macroEngine()->pool().threads();
        auto* label3 = threads->findChild<QLabel*>(QStringLiteral("ThreadLabel3"));
        auto* cancel3 = threads->findChild<QPushButton*>(QStringLiteral("CancelThreadButton3"));
        QVERIFY(!cancel3->isEnabled());
        running.setThreadLabel(3, QStringLiteral("Lobby lights"));
        QCOMPARE(label3->text(), QStringLiteral("Lobby lights"));
        QVERIFY(cancel3->isEnabled());
        QCOMPARE(threads->findChild<QLabel*>(QStringLiteral("ThreadLabel4"))->text(), QString());
        running.setThreadLabel(3, QString());
        QVERIFY(!cancel3->isEnabled());
        threads->close();
        QVERIFY(!threads->isVisible());
        QCOMPARE(m_session.windows().find(qv::ui::window::kThreads), threads);
    }

private:
    UiSession m_session;
    QPointer<qv::ui::MonitorWindow> m_monitor;
};

QTEST_MAIN(DesktopWindowsTest)
#include "desktop_windows_test.moc"
