// The data editors driven through their real widgets on a real engine
// against quorvel-sim: what is typed is stored and then changes what the
// network's reports look like.

#include "editors/email_store.h"
#include "features/reactions/button_panel.h"
#include "net/builders.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "store/monitor_log.h"
#include "ui/editors/area_name_form.h"
#include "ui/editors/button_assignment_form.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using qv::test::UiSession;

namespace {

struct Recorder final : qv::store::MonitorSink {
    void MonitorAdditem(const qv::store::MonitorRecord& record) override { comments << record.comment; }
    bool heard(const QString& part) const {
        return std::any_of(comments.begin(), comments.end(),
                           [&](const QString& c) { return c.contains(part); });
    }
    QStringList comments;
};

void doubleClickRow(QTableWidget* grid, int row) {
    grid->scrollToItem(grid->item(row, 1));
    const QRect rect = grid->visualItemRect(grid->item(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, rect.center());
}

// Types into the open entry window and presses OK; true when it then closes.
bool enterName(QWidget* form, const QString& caption, const QString& name, int closeMs = 10000) {
    QDialog* input = nullptr;
    UiSession::waitUntil([&] {
        input = form->findChild<QDialog*>(QStringLiteral("InputForm"));
        return input && input->isVisible();
    });
    if (!input || input->windowTitle() != caption) return false;
    auto* text = input->findChild<QLineEdit*>(QStringLiteral("NameTextBox"));
    text->clear();
    QTest::keyClicks(text, name);
    QTest::mouseClick(input->findChild<QPushButton*>(QStringLiteral("OKButton")), Qt::LeftButton);
    return UiSession::waitUntil(
        [&] { return form->findChild<QDialog*>(QStringLiteral("InputForm")) == nullptr; }, closeMs);
}

void choose(QComboBox* combo, const QString& text) {
    const int i = combo->findText(text, Qt::MatchContains);
    QVERIFY2(i >= 0, qPrintable(text));
    combo->setCurrentIndex(i);
}

}  // namespace

class EditorsTest : public QObject {
    Q_OBJECT
private slots:
    void aPresetNamedInTheNamesWindowDescribesTheNextReport();
    void aButtonRuleChangesTheButtonWhenThePresetIsReported();
    void aNewEmailIsSavedAndListed();
};

void EditorsTest::aPresetNamedInTheNamesWindowDescribesTheNextReport() {
    Recorder recorder;  // outlives the session, which keeps writing records to it as it shuts down
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    session.engine().monitorLog()->addSink(&recorder);
    auto* form = qobject_cast<qv::ui::AreaNameForm*>(session.windows().open(qv::ui::window::kNames));
    QVERIFY(form);
    auto* areas = form->findChild<QTableWidget*>(QStringLiteral("AreaGrid"));
    auto* presets = form->findChild<QTableWidget*>(QStringLiteral("PresetGrid"));
    QCOMPARE(areas->horizontalHeaderItem(0)->text(), QStringLiteral("Area#"));
    QCOMPARE(presets->horizontalHeaderItem(1)->text(), QStringLiteral("Preset Name"));

    // A preset of an unnamed area cannot be named.
    doubleClickRow(areas, 5);
    QVERIFY(!enterName(form, "Name for Area 5", "2nd Floor", 200));  // refused: the window stays
    QVERIFY(
        session.sawBox("Sorry, you can only use Letters and Numbers for Area names, and names can not begin "
                       "with a numeric..."));
    auto* input = form->findChild<QDialog*>(QStringLiteral("InputForm"));
    QVERIFY(input && input->isVisible());
    input->close();
    QVERIFY(UiSession::waitUntil(
        [&] { return form->findChild<QDialog*>(QStringLiteral("InputForm")) == nullptr; }));
    doubleClickRow(presets, 2);
    QVERIFY(session.sawBox("you should name the area before you attempt to name presets for this area"));

    doubleClickRow(areas, 5);
    QVERIFY(enterName(form, "Name for Area 5", "O'Brien's Office"));
    QCOMPARE(areas->item(5, 1)->text(), QStringLiteral("O'Brien's Office"));
    doubleClickRow(presets, 2);
    QVERIFY(enterName(form, "Name for Preset 3", "Fred's \"big\" room"));
    QCOMPARE(presets->item(2, 1)->text(), QStringLiteral("Fred's \"big\" room"));
    form->close();

    session.engine().sendRS232(*qv::net::GoAreaPreset(5, 3));
    session.engine().sendRS232(*qv::net::AskforCurrentPreset(5));
    QVERIFY2(UiSession::waitUntil([&] { return recorder.heard("Fred's \"big\" room"); }),
             qPrintable(recorder.comments.join('\n')));
    QVERIFY(recorder.heard("O'Brien's Office"));
}

void EditorsTest::aButtonRuleChangesTheButtonWhenThePresetIsReported() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    session.execOnMain("INSERT INTO Macros (Macro, Enabled) VALUES (?, 1)", {"Demo Start"});
    session.execOnMain("INSERT INTO Macros (Macro, Enabled) VALUES (?, 1)", {"Demo Next"});
    auto* form =
        qobject_cast<qv::ui::ButtonAssignmentForm*>(session.windows().open(qv::ui::window::kButtonEditor, 2));
    QVERIFY(form);
    auto* rules = form->findChild<QTableWidget*>(QStringLiteral("RuleGrid"));
    QCOMPARE(rules->horizontalHeaderItem(0)->text(), QStringLiteral("If I hear"));
    QCOMPARE(rules->horizontalHeaderItem(1)->text(), QStringLiteral("make Label = "));
    QCOMPARE(rules->horizontalHeaderItem(2)->text(), QStringLiteral("and next Macro = "));

    QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("CaptionTextBox")), "Lights");
    choose(form->findChild<QComboBox*>(QStringLiteral("MacroCombo")), "Demo Start");
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("SaveButton")), Qt::LeftButton);
    auto& panel = session.engine().features()->buttons();
    QCOMPARE(panel.button(2).caption, QStringLiteral("Lights"));

    // A rule without a label is refused; then the full rule is stored.
    auto* add = form->findChild<QPushButton*>(QStringLiteral("AddRuleButton"));
    form->findChild<QComboBox*>(QStringLiteral("RuleAreaCombo"))
        ->setCurrentIndex(6);  // area 5 after the blank
    form->findChild<QComboBox*>(QStringLiteral("RulePresetCombo"))->setCurrentIndex(3);  // preset 3
    choose(form->findChild<QComboBox*>(QStringLiteral("RuleMacroCombo")), "Demo Next");
    QTest::mouseClick(add, Qt::LeftButton);
    QVERIFY(session.sawBox("You need to enter a button label for this line"));
    QCOMPARE(rules->rowCount(), 0);
    QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("RuleLabelTextBox")), "Bright");
    QTest::mouseClick(add, Qt::LeftButton);
    QCOMPARE(rules->rowCount(), 1);
    QVERIFY2(rules->item(0, 0)->text().startsWith("Area 5"), qPrintable(rules->item(0, 0)->text()));
    QCOMPARE(rules->item(0, 1)->text(), QStringLiteral("Bright"));
    QCOMPARE(rules->item(0, 2)->text(), QStringLiteral("Demo Next"));

    session.engine().sendRS232(*qv::net::GoAreaPreset(5, 3));
    session.engine().sendRS232(*qv::net::AskforCurrentPreset(5));
    QVERIFY(UiSession::waitUntil([&] { return panel.button(2).caption == QStringLiteral("Bright"); }));
}

void EditorsTest::aNewEmailIsSavedAndListed() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    QWidget* form = session.windows().open(qv::ui::window::kEmails);
    QVERIFY(form);
    auto* name = form->findChild<QComboBox*>(QStringLiteral("emailcombo"));
    QTest::keyClicks(name->lineEdit(), "O'Brien's alarm");
    QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("RecipientTextbox")), "a@b.c");
    QTest::keyClicks(form->findChild<QLineEdit*>(QStringLiteral("subjecttextbox")), "Alarm");
    auto* ok = form->findChild<QPushButton*>(QStringLiteral("OKButton"));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(session.sawBox(qv::editors::EmailStore::kNeedMessage));
    QCOMPARE(name->count(), 0);
    QTest::keyClicks(form->findChild<QPlainTextEdit*>(QStringLiteral("Messagetextbox")), "Main hall");
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(name->findText("O'Brien's alarm"), 0);
    qv::editors::EmailStore stored(session.engine().mainDatabase());
    QCOMPARE(stored.find("O'Brien's alarm")->message, QStringLiteral("Main hall"));
}

QTEST_MAIN(EditorsTest)
#include "editors_test.moc"
