// The custom-code editor on a real engine against quorvel-sim: a code heard
// while listening is captured, saved, and then starts its event's macro when
// it is heard again.

#include "editors/custom_codes.h"
#include "macros/macro_engine.h"
#include "macros/macro_pool.h"
#include "net/builders.h"
#include "shell/engine.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using qv::test::UiSession;

class CustomCodesTest : public QObject {
    Q_OBJECT
private slots:
    void aCodeCapturedByListeningIsSavedAndFiresItsEvent();
};

void CustomCodesTest::aCodeCapturedByListeningIsSavedAndFiresItsEvent() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    // The event waits for the first custom code to be stored.
    session.execOnMain("INSERT INTO Macros (Macro_ID, Macro, Enabled) VALUES (40, ?, 1)", {"Door Chime"});
    session.execOnMain("INSERT INTO MacrosDetails (Macro_ID, Delay) VALUES (40, 0)");
    session.execOnMain("INSERT INTO Events (EventName, CustomCode_ID, Macro_ID) VALUES (?, 1, 40)", {"Door"});
    QStringList ran;
    QObject::connect(&session.engine().macroEngine()->pool(), &qv::macros::MacroPool::RunningCommandnumber,
                     [&](int, const QString& macro, int, const QString&) { ran << macro; });

    QWidget* form = session.windows().open(qv::ui::window::kCustomCodes);
    QVERIFY(form);
    auto* name = form->findChild<QComboBox*>(QStringLiteral("CustomCombo"));
    auto* code = form->findChild<QLineEdit*>(QStringLiteral("CustomCodeTextBox"));
    auto* save = form->findChild<QPushButton*>(QStringLiteral("SaveButton"));

    code->setText(QStringLiteral("1C 20 03 6G 00 00 FF 00"));
    name->lineEdit()->setText(QStringLiteral("Panel 32"));
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(session.sawBox(qv::editors::CustomCodeStore::kNotHex));

    // A panel's message as the network carries it; the simulator's gateway
    // echoes it back, so the program hears it like any other.
    const auto panel = *qv::net::SendCustomCode("1C 20 03 62 00 00 FF");
    const QString heard =
        QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(panel.data()), 8).toHex(' ')).toUpper();
    form->findChild<QCheckBox*>(QStringLiteral("ListenCheck"))->setChecked(true);
    session.engine().sendRS232(panel);
    QVERIFY2(UiSession::waitUntil([&] { return code->text() == heard; }), qPrintable(code->text()));
    QVERIFY(ran.isEmpty());
    form->findChild<QCheckBox*>(QStringLiteral("ListenCheck"))->setChecked(false);

    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(name->findText(QStringLiteral("Panel 32")), 0);
    qv::editors::CustomCodeStore store(session.engine().mainDatabase());
    const auto stored = store.find(QStringLiteral("Panel 32"));
    QVERIFY(stored);
    QCOMPARE(stored->id, 1);
    QCOMPARE(stored->code, heard);

    session.engine().sendRS232(panel);
    QVERIFY2(UiSession::waitUntil([&] { return ran.contains(QStringLiteral("Door Chime")); }),
             qPrintable(ran.join(',')));
}

QTEST_MAIN(CustomCodesTest)
#include "custom_codes_test.moc"
