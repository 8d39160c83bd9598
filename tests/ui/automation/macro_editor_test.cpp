// The macro editor driven as a user would: a macro built line by line,
// saved, reloaded and run against the simulator; light-box and plan-view
// lines and the macro search; a folder that is not empty refuses deletion;
// dragging in the tree.

#include "macros/macro_engine.h"
#include "macros/macro_tree.h"
#include "shell/engine.h"
#include "store/monitor_log.h"
#include "store/monitor_record.h"
#include "ui/automation/macro_editor_form.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QComboBox>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace qv;

namespace {

QStringList lineTexts(QTreeWidget* tree) {
    QStringList texts;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) texts << tree->topLevelItem(i)->text(0);
    return texts;
}

QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& caption) {
    const auto found = tree->findItems(caption, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

}  // namespace

class MacroEditorTest : public QObject {
    Q_OBJECT
private slots:
    void buildSaveReloadAndRun();
    void treeRefusesDeletingAFullFolderCopiesAndDrags();
    void lightBoxAndPlanViewLines();
};

void MacroEditorTest::buildSaveReloadAndRun() {
    test::RecordingMonitor heard;  // outlives the session, which reports until it ends
    test::UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    session.execOnMain(
        QStringLiteral("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES (1, 3, ?)"),
        {QStringLiteral("Downlight's")});
    session.engine().monitorLog()->addSink(&heard);

    auto* form = qobject_cast<ui::MacroEditorForm*>(session.windows().open(ui::window::kMacroEditor));
    QVERIFY(form);
    auto* name = form->findChild<QLineEdit*>("NodeNameTextBox");
    name->setText(QStringLiteral("Evening"));
    QTest::mouseClick(form->findChild<QPushButton*>("NewMacroButton"), Qt::LeftButton);
    QCOMPARE(form->openMacroName(), QStringLiteral("Evening"));
    QVERIFY(findNode(form->findChild<QTreeWidget*>("MacroTree"), QStringLiteral("Evening")));

    auto* presetArea = form->findChild<QComboBox*>("PresetAreaCombo");
    presetArea->setCurrentIndex(presetArea->findData(1));
    auto* preset = form->findChild<QComboBox*>("PresetCombo");
    preset->setCurrentIndex(preset->findData(2));
    form->findChild<QLineEdit*>("FadeTextBox")->setText(QStringLiteral("10"));
    QTest::mouseClick(form->findChild<QPushButton*>("AddPresetButton"), Qt::LeftButton);

    auto* channelArea = form->findChild<QComboBox*>("ChannelAreaCombo");
    channelArea->setCurrentIndex(channelArea->findData(1));
    auto* channel = form->findChild<QComboBox*>("ChannelCombo");
    QCOMPARE(channel->count(), 1);
    form->findChild<QLineEdit*>("LevelTextBox")->setText(QStringLiteral("50"));
    QTest::mouseClick(form->findChild<QPushButton*>("AddChannelButton"), Qt::LeftButton);

    form->findChild<QLineEdit*>("HoursTextBox")->setText(QStringLiteral("1"));
    form->findChild<QLineEdit*>("MinutesTextBox")->setText(QStringLiteral("30"));
    form->findChild<QLineEdit*>("SecondsTextBox")->setText(QStringLiteral("30"));
    QTest::mouseClick(form->findChild<QPushButton*>("AddDelayButton"), Qt::LeftButton);

    auto* lines = form->findChild<QTreeWidget*>("LineTree");
    QCOMPARE(lines->topLevelItemCount(), 3);
    QCOMPARE(lines->topLevelItem(0)->text(1), QStringLiteral("<no comments>"));
    QVERIFY(session.boxes.empty());

    // Saving reloads the macro: the lines show their readable texts.
    QTest::mouseClick(form->findChild<QPushButton*>("SaveButton"), Qt::LeftButton);
    QVERIFY(session.boxes.empty());
    const QStringList built = lineTexts(lines);
    QCOMPARE(built.size(), 3);
    QVERIFY2(built[0].contains(QStringLiteral("10")), qPrintable(built[0]));
    QVERIFY2(built[1].contains(QStringLiteral("50")), qPrintable(built[1]));
    QCOMPARE(built[2], QStringLiteral("Delay for 1 hours 30 mins 30.0 secs "));
    form->openMacro(QStringLiteral("Evening"));
    QCOMPARE(lineTexts(lines), built);

    QTest::mouseClick(form->findChild<QPushButton*>("TestButton"), Qt::LeftButton);
    auto heardArea1 = [&heard](const QString& what) {
        return std::count_if(heard.records.begin(), heard.records.end(), [&](const store::MonitorRecord& r) {
            return r.MsgType == QStringLiteral("Comms") && r.area.contains(QLatin1Char('1')) &&
                   (r.Preset.contains(what) || r.ChannelLevel.contains(what));
        });
    };
    const bool ok = test::UiSession::waitUntil([&] { return heardArea1("2") > 0 && heardArea1("50") > 0; });
    if (!ok)
        for (const auto& r : heard.records) qWarning() << r.toTabbedLine();
    QVERIFY(ok);
}

void MacroEditorTest::treeRefusesDeletingAFullFolderCopiesAndDrags() {
    test::UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    auto& tree = session.engine().macroEngine()->tree();
    const auto folder = tree.createFolder(QStringLiteral("Foyer"), macros::kTopLevel);
    QVERIFY(folder.ok);
    QVERIFY(tree.createMacro(QStringLiteral("Open"), folder.id).ok);
    const auto stage = tree.createFolder(QStringLiteral("Stage"), macros::kTopLevel);
    QVERIFY(stage.ok);
    QVERIFY(tree.createMacro(QStringLiteral("Cue"), macros::kTopLevel).ok);
    QVERIFY(tree.createMacro(QStringLiteral("Walk in"), macros::kTopLevel).ok);

    auto* form = qobject_cast<ui::MacroEditorForm*>(session.windows().open(ui::window::kMacroEditor));
    QVERIFY(form);
    form->reloadTree();
    auto* macroTree = form->findChild<QTreeWidget*>("MacroTree");
    auto* folderItem = findNode(macroTree, QStringLiteral("Foyer"));
    QVERIFY(folderItem);
    macroTree->setCurrentItem(folderItem);
    QTest::mouseClick(form->findChild<QPushButton*>("DeleteNodeButton"), Qt::LeftButton);
    QVERIFY(session.sawBox(
        QStringLiteral("This folder is not empty and can not be deleted.\n"
                       "You should delete, or move its contents elsewhere before trying to delete it")));
    QVERIFY(findNode(macroTree, QStringLiteral("Foyer")));
    QVERIFY(findNode(macroTree, QStringLiteral("Open")));

    // Rename, copy and paste: the copy lands in the selected folder with " (copy)".
    macroTree->setCurrentItem(findNode(macroTree, QStringLiteral("Open")));
    auto* nodeName = form->findChild<QLineEdit*>("NodeNameTextBox");
    nodeName->setText(QStringLiteral("Opening"));
    QTest::mouseClick(form->findChild<QPushButton*>("RenameButton"), Qt::LeftButton);
    QCOMPARE(session.boxes.size(), std::size_t(1));
    QVERIFY(!findNode(macroTree, QStringLiteral("Open")));
    macroTree->setCurrentItem(findNode(macroTree, QStringLiteral("Opening")));
    QTest::mouseClick(form->findChild<QPushButton*>("CopyButton"), Qt::LeftButton);
    QTest::mouseClick(form->findChild<QPushButton*>("PasteButton"), Qt::LeftButton);
    auto* copy = findNode(macroTree, QStringLiteral("Opening (copy)"));
    QVERIFY(copy);
    QCOMPARE(copy->parent(), findNode(macroTree, QStringLiteral("Foyer")));

    // The cancel list offers "All Macros"; the line it adds is stored.
    form->openMacro(QStringLiteral("Opening (copy)"));
    auto* cancel = form->findChild<QComboBox*>("CancelMacroCombo");
    cancel->setCurrentIndex(cancel->findText(QStringLiteral("All Macros")));
    QVERIFY(cancel->currentIndex() > 0);
    QTest::mouseClick(form->findChild<QPushButton*>("AddCancelMacroButton"), Qt::LeftButton);
    QTest::mouseClick(form->findChild<QPushButton*>("SaveButton"), Qt::LeftButton);
    const auto stored =
        session.engine().macroEngine()->macroStore().LoadMacroLines(QStringLiteral("Opening (copy)"));
    QVERIFY(stored.ok());
    QCOMPARE(stored.lines.commandLines, QStringList{QStringLiteral("(CANCELMACRO:)All Macros")});
    QCOMPARE(session.boxes.size(), std::size_t(1));

    // A drag as Qt delivers it: enter (which picks the target widget), then drop.
    auto drop = [macroTree](const QString& dragged, const QString& onto) {
        macroTree->setCurrentItem(findNode(macroTree, dragged));
        std::unique_ptr<QMimeData> mime(macroTree->model()->mimeData({macroTree->currentIndex()}));
        const QPoint at = macroTree->visualItemRect(findNode(macroTree, onto)).center();
        QDragEnterEvent enter(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(macroTree->viewport(), &enter);
        QDropEvent event(at, Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(macroTree->viewport(), &event);
    };
    auto storedParent = [&tree](const QString& caption) {
        for (const auto& node : tree.load())
            if (node.caption == caption) return node.parentKey;
        return QString();
    };

    drop(QStringLiteral("Cue"), QStringLiteral("Stage"));
    QCOMPARE(storedParent(QStringLiteral("Cue")), macros::folderKey(stage.id));
    QCOMPARE(findNode(macroTree, QStringLiteral("Cue"))->parent(),
             findNode(macroTree, QStringLiteral("Stage")));
    QCOMPARE(session.boxes.size(), std::size_t(1));

    // Onto a macro of another folder: refused, nothing moves.
    drop(QStringLiteral("Cue"), QStringLiteral("Walk in"));
    QVERIFY(session.sawBox(
        QStringLiteral("You can only change the order of Macros that appear in the same Folder.\n"
                       "If you wish to move a Macro to another Folder, you need to drop it onto the actual "
                       "Folder itself.")));
    QCOMPARE(storedParent(QStringLiteral("Cue")), macros::folderKey(stage.id));
}

void MacroEditorTest::lightBoxAndPlanViewLines() {
    test::UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    session.execOnMain(
        QStringLiteral("INSERT INTO CorvalinLightBox (CorvalinBoxNumber, Area, Channel, ChannelDesc)"
                       " VALUES (3, 5, 7, 'Colour'), (3, 5, 8, 'Speed'), (3, 5, 9, 'Gobo')"));
    for (const auto& [channel, level, name] : {std::tuple{7, 10, "Red"}, {7, 20, "Blue"}, {9, 40, "Star"}})
        session.execOnMain(QStringLiteral("INSERT INTO CorvalinChannelLevels (CorvalinLightBox_ID, "
                                          "ChannelLevel, ChannelLevelDesc) SELECT CorvalinLightBox_ID, ?, ? "
                                          "FROM CorvalinLightBox WHERE Channel = ?"),
                           {level, QString::fromLatin1(name), channel});
    session.execOnMain(QStringLiteral("INSERT INTO TreeView (TreeView_ID, Label, ChildOf) VALUES "
                                      "(1, 'Project', 0), (2, ?, 1)"),
                       {QStringLiteral("Bob's floor")});
    QVERIFY(session.engine().macroEngine()->tree().createMacro(QStringLiteral("Show"), macros::kTopLevel).ok);

    auto* form = qobject_cast<ui::MacroEditorForm*>(
        session.windows().open(ui::window::kMacroEditor, QStringLiteral("Show")));
    QVERIFY(form);
    auto* box = form->findChild<QComboBox*>("LightBoxCombo");
    box->setCurrentIndex(box->findData(3));
    auto* first = form->findChild<QComboBox*>("LightBoxLevel1Combo");
    auto* third = form->findChild<QComboBox*>("LightBoxLevel3Combo");
    QCOMPARE(first->count(), 3);  // blank, Red, Blue
    first->setCurrentIndex(first->findText(QStringLiteral("Red")));
    third->setCurrentIndex(third->findText(QStringLiteral("Star")));
    QTest::mouseClick(form->findChild<QPushButton*>("AddLightBoxButton"), Qt::LeftButton);
    auto* views = form->findChild<QTreeWidget*>("PlanViewTree");
    views->setCurrentItem(findNode(views, QStringLiteral("Bob's floor")));
    QTest::mouseClick(form->findChild<QPushButton*>("AddPlanViewButton"), Qt::LeftButton);

    auto* lines = form->findChild<QTreeWidget*>("LineTree");
    QCOMPARE(lines->topLevelItemCount(), 3);
    QTest::mouseClick(form->findChild<QPushButton*>("SaveButton"), Qt::LeftButton);
    const QStringList expected{QStringLiteral("lightbox #3: 'Colour' to Red"),
                               QStringLiteral("lightbox #3: 'Gobo' to Star"),
                               QStringLiteral("PlanView Nav:Project\\Bob's floor")};
    QCOMPARE(lineTexts(lines), expected);
    form->openMacro(QStringLiteral("Show"));
    QCOMPARE(lineTexts(lines), expected);

    // "Search macros": by a line's text, by name (any case); Enter opens the
    // macro found; cleared, the whole tree is back.
    QVERIFY(
        session.engine().macroEngine()->tree().createMacro(QStringLiteral("Cue two"), macros::kTopLevel).ok);
    form->reloadTree();
    auto* macroTree = form->findChild<QTreeWidget*>("MacroTree");
    auto* search = form->findChild<QLineEdit*>("MacroSearchEdit");
    QCOMPARE(search->placeholderText(), QStringLiteral("Search macros"));
    QTest::keyClicks(search, QStringLiteral("gobo"));
    QVERIFY(!findNode(macroTree, QStringLiteral("Show"))->isHidden());
    QVERIFY(findNode(macroTree, QStringLiteral("Show"))->font(0).bold());
    QVERIFY(findNode(macroTree, QStringLiteral("Cue two"))->isHidden());
    search->setText(QStringLiteral("CUE"));
    QVERIFY(findNode(macroTree, QStringLiteral("Show"))->isHidden());
    QVERIFY(!findNode(macroTree, QStringLiteral("Cue two"))->isHidden());
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(form->openMacroName(), QStringLiteral("Cue two"));
    search->clear();
    QVERIFY(!findNode(macroTree, QStringLiteral("Show"))->isHidden());
    QVERIFY(!findNode(macroTree, QStringLiteral("Show"))->font(0).bold());
    QVERIFY(session.boxes.empty());
}

QTEST_MAIN(MacroEditorTest)
#include "macro_editor_test.moc"
