// The main window on a real engine against quorvel-sim: its commands follow
// the permissions, its buttons follow the presets the network reports, and
// its close box respects the no-shutdown setting.

#include "ui/main_window/main_window.h"
#include "features/reactions/button_panel.h"
#include "net/builders.h"
#include "shell/config/config_engine.h"
#include "shell/feature_set.h"
#include "ui/main_window/button_panel_widget.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

using qv::test::execOnFile;
using qv::test::UiSession;
namespace window = qv::ui::window;

namespace {

UiSession::Options withMainWindow(qv::test::Seed seed = {}) {
    UiSession::Options options;
    options.mainWindow = true;
    options.seed = std::move(seed);
    return options;
}

QAction* menuAction(QMenuBar* bar, const QString& caption) {
    for (QAction* menu : bar->actions())
        for (QAction* item : menu->menu() ? menu->menu()->actions() : QList<QAction*>{})
            if (item->text() == caption) return item;
    return nullptr;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void toolbarKeysOpenTheirWindowsAndFollowPermissions();
    void aRuleChangesTheButtonWhenThePresetIsReported();
    void closeIsRefusedWhileShutdownIsNotAllowed();
};

void MainWindowTest::toolbarKeysOpenTheirWindowsAndFollowPermissions() {
    UiSession session(
        withMainWindow([](const QString& dir) { execOnFile(dir, "UPDATE Config SET monitor = 0"); }));
    QVERIFY2(session.start(), qPrintable(session.why()));
    qv::ui::MainWindow* main = session.mainWindow();

    // The six keys in their order, each with the tool tip of its name.
    auto* toolbar = main->findChild<QToolBar*>("Toolbar1");
    QVERIFY(toolbar);
    QStringList keys;
    for (QAction* action : toolbar->actions())
        if (!action->toolTip().isEmpty() && action->icon().isNull() == false && !action->isSeparator())
            if (auto* button = qobject_cast<QToolButton*>(toolbar->widgetForAction(action)))
                if (button->objectName() != "MiniPanelButton") keys << button->objectName();
    QCOMPARE(keys,
             (QStringList{"DirectControl", "LightLevels", "PlanView", "Macros", "Monitor", "Scheduler"}));
    QCOMPARE(main->findChild<QToolButton*>("Monitor")->toolTip(), QString("Monitor"));

    // Monitor switched off: the key and the menu item are disabled.
    auto* monitorKey = main->findChild<QToolButton*>("Monitor");
    QAction* monitorItem = menuAction(main->menuBar(), "Monitor");
    QVERIFY(monitorItem);
    QVERIFY(!monitorKey->isEnabled());
    QVERIFY(!monitorItem->isEnabled());
    QTest::mouseClick(monitorKey, Qt::LeftButton);
    QVERIFY(!session.windows().find(window::kMonitor));

    // Switched on again, both follow, and the key opens the monitor.
    auto& permissions = session.engine().configEngine()->permissions();
    qv::config::Permissions all = permissions.current();
    all.allowed[static_cast<int>(qv::config::Function::Monitor)] = true;
    permissions.set(all);
    QVERIFY(monitorItem->isEnabled());
    QVERIFY(monitorKey->isEnabled());
    QTest::mouseClick(monitorKey, Qt::LeftButton);
    QWidget* monitor = session.windows().find(window::kMonitor);
    QVERIFY2(monitor, "the Monitor key opened no window");
    QVERIFY(monitor->isVisible());
}

void MainWindowTest::aRuleChangesTheButtonWhenThePresetIsReported() {
    UiSession session(withMainWindow([](const QString& dir) {
        execOnFile(dir,
                   "INSERT INTO Macros (Macro_ID, Macro, Enabled, MacroFolder_ID, SortOrder) VALUES"
                   " (1, 'Up', 1, 0, 1), (2, 'Down', 1, 0, 2)");
        execOnFile(dir,
                   "INSERT INTO Buttons (ButtonIndex, Invisible, Buttonlabel, Macro_ID) VALUES"
                   " (2, 0, 'Boardroom', 1), (3, 1, 'Hidden', 1)");
        // Red 0x20, green 0x40, blue 0xC0.
        execOnFile(dir,
                   "INSERT INTO ButtonMultiState (ButtonIndex, Area, Preset, ButtonLabel, Macro_ID, Colour)"
                   " VALUES (2, 3, 2, 'Meeting on', 2, 12599328)");
    }));
    QVERIFY2(session.start(), qPrintable(session.why()));
    auto* panel = session.mainWindow()->buttonPanel();
    QPushButton* button = panel->button(2);
    QCOMPARE(button->text(), QString("Boardroom"));
    QVERIFY(panel->button(3)->isHidden());
    QVERIFY(session.mainWindow()->findChild<QWidget*>("InvisiblebuttonLabel3"));

    session.engine().sendRS232(*qv::net::GoAreaPreset(3, 2));
    QVERIFY(UiSession::waitUntil([&] { return button->text() == "Meeting on"; }));
    QVERIFY2(button->styleSheet().contains("#2040c0"), qPrintable(button->styleSheet()));
    QCOMPARE(session.engine().features()->buttons().button(2).macro, QString("Down"));
    // The mini panel mirrors the caption.
    QAction* mini = session.mainWindow()->miniPanel()->findChild<QAction*>("MiniButton2");
    QVERIFY(mini);
    QCOMPARE(mini->text(), QString("Meeting on"));

    // A button without a macro says so.
    QTest::mouseClick(panel->button(1), Qt::LeftButton);
    QVERIFY(session.sawBox(qv::reactions::ButtonPanel::kNoMacro));
    QCOMPARE(session.boxes.back().kind, qv::ui::BoxKind::Exclamation);
}

void MainWindowTest::closeIsRefusedWhileShutdownIsNotAllowed() {
    UiSession session(withMainWindow(
        [](const QString& dir) { execOnFile(dir, "UPDATE Config SET donotallowshutdown = 1"); }));
    QVERIFY2(session.start(), qPrintable(session.why()));
    qv::ui::MainWindow* main = session.mainWindow();
    QSignalSpy quit(main, &qv::ui::MainWindow::quitRequested);
    QVERIFY(!main->close());
    QVERIFY(main->isVisible());
    QCOMPARE(quit.count(), 0);
    QVERIFY(session.sawBox(qv::ui::MainWindow::kNoShutdownText));
    QCOMPARE(session.boxes.back().kind, qv::ui::BoxKind::Information);

    // A logout or system shutdown is never refused, and the place is kept
    // for the next start.
    main->move(140, 90);
    main->resize(700, 400);
    main->allowClose();
    QVERIFY(main->close());
    QSettings& settings = session.userSettings();
    QCOMPARE(settings.value("Client/QuorvelWindowState").toInt(), 0);
    QVERIFY(settings.contains("Client/QuorvelTop"));
    qv::ui::MainWindow again(session.engine(), session.windows(), settings);
    QCOMPARE(again.size(), QSize(700, 400));
    QCOMPARE(again.pos(), main->pos());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
