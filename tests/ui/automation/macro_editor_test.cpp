// The macro editor driven as a user would: a macro built line by line,
// saved, reloaded and run against the simulator; a folder that is not empty
// refuses deletion.

#include "macros/macro_engine.h"
#include "macros/macro_tree.h"
#include "shell/engine.h"
#include "store/monitor_log.h"
#include "store/monitor_record.h"
#include "ui/automation/macro_editor_form.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

using namespace qv;

namespace {

struct Heard : store::MonitorSink {
    std::vector<store::MonitorRecord> records;
    void MonitorAdditem(const store::MonitorRecord& record) override { records.push_back(record); }
};

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
    void folderNotEmptyRefusesDeletion();
};

void MacroEditorTest::buildSaveReloadAndRun() {
    Heard heard;  // outlives the session, which reports until it ends
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

void MacroEditorTest::folderNotEmptyRefusesDeletion() {
    test::UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    auto& tree = session.engine().macroEngine()->tree();
    const auto folder = tree.createFolder(QStringLiteral("Foyer"), macros::kTopLevel);
    QVERIFY(folder.ok);
    QVERIFY(tree.createMacro(QStringLiteral("Open"), folder.id).ok);

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
}

QTEST_MAIN(MacroEditorTest)
#include "macro_editor_test.moc"
