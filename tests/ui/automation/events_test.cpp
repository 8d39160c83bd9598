// The events window driven as a user would: an area/preset event made by its
// widgets fires its macro when the network reports that preset; a half-chosen
// event is refused with its message; a deleted event stops firing.

#include "macros/line_builder.h"
#include "macros/macro_engine.h"
#include "net/area_state.h"
#include "net/message.h"
#include "shell/engine.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

using namespace qv;

class EventsTest : public QObject {
    Q_OBJECT
private slots:
    void madeEventFiresOnPresetReport();
};

void EventsTest::madeEventFiresOnPresetReport() {
    test::UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    const QString macro = QStringLiteral("Foyer's welcome");
    macros::MacroLines lines;
    for (const QString& line : macros::buildPresetLine(7, 2, QStringLiteral("1")).lines)
        lines.append(line, line, "");
    QVERIFY(session.engine().macroEngine()->macroStore().SaveMacroLines(macro, lines).saved);
    QStringList ran;
    QObject::connect(&session.engine().macroEngine()->pool(), &macros::MacroPool::RunningCommandnumber,
                     [&ran](int, const QString& name, int, const QString&) { ran << name; });

    QWidget* form = session.windows().open(ui::window::kEvents);
    QVERIFY(form);
    auto* name = form->findChild<QComboBox*>("EventNameCombo");
    auto* macroCombo = form->findChild<QComboBox*>("MacroCombo");
    auto* area = form->findChild<QComboBox*>("AreaCombo");
    auto* preset = form->findChild<QComboBox*>("PresetCombo");
    auto* ok = form->findChild<QPushButton*>("OKButton");
    QVERIFY(name && macroCombo && area && preset && ok);

    // An area without a preset (and no custom code) is not enough.
    QTest::keyClicks(name, QStringLiteral("Lobby's arrival"));
    macroCombo->setCurrentIndex(macroCombo->findText(macro));
    area->setCurrentIndex(area->findData(5));
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(session.sawBox(
        QStringLiteral("You need to select an Area, Preset and Macro before you can save this event")));

    preset->setCurrentIndex(preset->findData(3));
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(session.boxes.size(), std::size_t(1));
    // Saved: the choices are cleared and the new name is in the list.
    QCOMPARE(area->currentIndex(), 0);
    const int saved = name->findText(QStringLiteral("Lobby's arrival"));
    QVERIFY(saved >= 0);

    // Choosing the event loads its choices back.
    name->setCurrentIndex(saved);
    emit name->activated(saved);
    QCOMPARE(area->currentData().toInt(), 5);
    QCOMPARE(preset->currentData().toInt(), 3);
    QCOMPARE(macroCombo->currentText(), macro);

    // A preset select for area 5 preset 3: the simulator echoes it and the
    // area reports its new preset; the event's macro runs at once.
    session.engine().sendRS232(net::withChecksum({0x1C, 5, 0x32, 0x02, 0, 0, 0xFF}));
    QVERIFY(test::UiSession::waitUntil([&] { return ran.contains(macro); }));
    auto& state = session.engine().areaState();
    session.engine().sendRS232(net::withChecksum({0x1C, 6, 0x32, 0x03, 0, 0, 0xFF}));
    QVERIFY(test::UiSession::waitUntil([&] {
        return state.GetPresetforArea(6) == 4 && session.engine().macroEngine()->pool().busySlots() == 0;
    }));

    // Deleted: the same report no longer runs it.
    QTest::mouseClick(form->findChild<QPushButton*>("DeleteButton"), Qt::LeftButton);
    QCOMPARE(name->findText(QStringLiteral("Lobby's arrival")), -1);
    ran.clear();
    session.engine().sendRS232(net::withChecksum({0x1C, 5, 0x32, 0x02, 0, 0, 0xFF}));
    // Area 8 preset 4 is heard after it: once area 8 shows it, the line before was decoded too.
    session.engine().sendRS232(net::withChecksum({0x1C, 8, 0x32, 0x03, 0, 0, 0xFF}));
    QVERIFY(test::UiSession::waitUntil([&] { return state.GetPresetforArea(8) == 4; }));
    QVERIFY2(!ran.contains(macro), qPrintable(ran.join(',')));
}

QTEST_MAIN(EventsTest)
#include "events_test.moc"
