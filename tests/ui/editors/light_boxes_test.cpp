// The light-box windows on a real engine against quorvel-sim: a box saved in
// the window is stored, a box overlapping it is refused, and a level entered
// in the levels window is stored once.

#include "editors/light_boxes.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

using qv::editors::LightBoxStore;
using qv::test::UiSession;

class LightBoxesTest : public QObject {
    Q_OBJECT
private slots:
    void aSavedBoxIsStoredAndAnOverlappingOneRefused();
};

namespace {

void choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

}  // namespace

void LightBoxesTest::aSavedBoxIsStoredAndAnOverlappingOneRefused() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    session.execOnMain("INSERT INTO AreaNames (Area, AreaName) VALUES (5, ?)", {"O'Neill Hall"});
    QWidget* form = session.windows().open(qv::ui::window::kLightBoxes);
    QVERIFY(form);
    auto* box = form->findChild<QComboBox*>(QStringLiteral("LightBoxCombo"));
    auto* area = form->findChild<QComboBox*>(QStringLiteral("AreaCombo"));
    auto* first = form->findChild<QComboBox*>(QStringLiteral("FirstChannelCombo"));
    auto* save = form->findChild<QPushButton*>(QStringLiteral("SaveButton"));
    const QStringList names{"FirstChannelTextBox", "SecondChannelTextBox", "ThirdChannelTextBox"};
    session.windows().open(qv::ui::window::kLightBoxes);  // reopening reloads the areas
    QCOMPARE(area->count(), 1);

    box->setEditText(QStringLiteral("3"));
    choose(area, 0);
    QCOMPARE(first->count(), 253);
    choose(first, 6);  // channel 7
    QCOMPARE(form->findChild<QLabel*>(QStringLiteral("ThirdChannelLabel"))->text(), QStringLiteral("9"));
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(session.sawBox(LightBoxStore::kNeedNames));
    for (int i = 0; i < 3; ++i)
        form->findChild<QLineEdit*>(names[i])->setText(QStringLiteral("Lamp %1").arg(i));
    QTest::mouseClick(save, Qt::LeftButton);
    LightBoxStore stored(session.engine().mainDatabase());
    auto rows = stored.boxes();
    QCOMPARE(rows.size(), std::size_t(3));
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(rows[std::size_t(i)].box, 3);
        QCOMPARE(rows[std::size_t(i)].area, 5);
        QCOMPARE(rows[std::size_t(i)].channel, 7 + i);
    }

    // Box 4 on channel 6 would need 7 and 8, which box 3 holds.
    box->setEditText(QStringLiteral("4"));
    choose(area, 0);
    QCOMPARE(first->itemText(7), QStringLiteral("8 (used, box# 3)"));
    choose(first, 5);
    QVERIFY(session.sawBox(LightBoxStore::kNextTwo + QLatin1Char('\n') + LightBoxStore::kNextTwoHint));
    QCOMPARE(first->currentIndex(), -1);
    QTest::mouseClick(save, Qt::LeftButton);
    QVERIFY(session.sawBox(LightBoxStore::kNeedAreaAndChannels));
    QCOMPARE(stored.boxes().size(), std::size_t(3));

    // The levels of box 3's second channel.
    box->setEditText(QStringLiteral("3"));
    emit box->activated(box->findText(QStringLiteral("3")));
    QCOMPARE(first->currentData().toInt(), 7);
    QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("Channel2Levelsbutton")), Qt::LeftButton);
    QWidget* levels = session.windows().find<QWidget>(qv::ui::window::kLightBoxLevels);
    QVERIFY(levels);
    QCOMPARE(levels->findChild<QLabel*>(QStringLiteral("ChannelLabel"))->text(), QStringLiteral("8"));
    auto* level = levels->findChild<QLineEdit*>(QStringLiteral("LevelTextBox"));
    auto* name = levels->findChild<QLineEdit*>(QStringLiteral("ChannelLevelDescTextbox"));
    auto* enter = levels->findChild<QPushButton*>(QStringLiteral("EnterButton"));
    level->setText(QStringLiteral("64"));
    QCOMPARE(levels->findChild<QLabel*>(QStringLiteral("PercentLabel"))->text(), QStringLiteral("(25.1%)"));
    name->setText(QStringLiteral("Slow"));
    QTest::mouseClick(enter, Qt::LeftButton);
    name->setText(QStringLiteral("Fast"));
    QTest::mouseClick(enter, Qt::LeftButton);
    QVERIFY(session.sawBox(LightBoxStore::kLevelTaken));
    auto* list = levels->findChild<QListWidget*>(QStringLiteral("LevelList"));
    QCOMPARE(list->count(), 1);
    const auto named = stored.levels(stored.channelId(5, 8));
    QCOMPARE(named.size(), std::size_t(1));
    QCOMPARE(named[0].name, QStringLiteral("Slow"));
    QCOMPARE(named[0].level, 64);

    // On another box, box 3's level is a favourite that fills both fields.
    QVERIFY(stored.saveBox(6, 5, 20, {"Red", "Green", "Blue"}).done);
    QVERIFY(stored.saveBox(7, 5, 30, {"R", "G", "B"}).done);
    QVERIFY(stored.addLevel(5, 30, "200", "Bright").done);
    session.windows().open(qv::ui::window::kLightBoxLevels, QVariantList{5, 21});
    auto* favourites = levels->findChild<QComboBox*>(QStringLiteral("FavouritesCombo"));
    QCOMPARE(favourites->count(), 2);
    QCOMPARE(favourites->itemText(0), QStringLiteral("64, Slow"));
    choose(favourites, 1);
    QCOMPARE(level->text(), QStringLiteral("200"));
    QCOMPARE(name->text(), QStringLiteral("Bright"));
    session.windows().open(qv::ui::window::kLightBoxLevels, QVariantList{5, 8});
    QCOMPARE(favourites->count(), 1);  // box 3's own level is not offered on box 3
}

QTEST_MAIN(LightBoxesTest)
#include "light_boxes_test.moc"
