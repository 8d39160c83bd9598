// Direct control and light levels on a real engine against quorvel-sim.

#include "comms/serial_comms.h"
#include "features/exchange/item_exchange.h"
#include "features/reactions/direct_control.h"
#include "shell/feature_set.h"
#include "store/monitor_log.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTableWidget>
#include <QtTest>

using qv::test::UiSession;

namespace {

// Area 5 has three known channels.
void seedChannels(const QString& dataDir) {
    qv::test::execOnFile(dataDir,
                         QStringLiteral("INSERT INTO AreaChannels (Area, Channel, Channelname) VALUES"
                                        " (5, 1, 'Lamp 1'), (5, 2, 'Lamp 2'), (5, 3, 'Lamp 3')"));
}

void allowSaveAndSeek(const QString& dataDir) {
    seedChannels(dataDir);
    qv::test::execOnFile(
        dataDir, QStringLiteral("UPDATE Config SET UserCanSeekchannels = 1, UserCanSaveLightingPresets = 1"));
}

}  // namespace

class ControlWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void directControlFollowsTheArea();
    void lightLevelsSliderSetsTheChannel();
    void seekFindsTheChannelsAndSaveIsNoted();
    void itemExchangeSwitchesAndShowsItems();
};

void ControlWindowsTest::directControlFollowsTheArea() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    QWidget* window = session.windows().open(qv::ui::window::kDirectControl);
    QVERIFY(window);
    auto* areas = window->findChild<QListWidget*>("areaList");
    auto* status = window->findChild<QLabel*>("statusLabel");
    QVERIFY(areas && status);

    areas->setCurrentRow(5);  // areas start at 0
    QCOMPARE(areas->currentItem()->data(Qt::UserRole).toInt(), 5);
    // The simulator's areas start in preset 1.
    QVERIFY2(
        UiSession::waitUntil([&] { return status->text().startsWith("Area 5 is currently in preset 1\n"); }),
        qPrintable(status->text()));

    auto* presets = window->findChild<QListWidget*>("presetList");
    QVERIFY(presets && presets->count() > 4);
    presets->setCurrentRow(3);
    const int preset = presets->currentItem()->data(Qt::UserRole).toInt();
    QTest::mouseClick(window->findChild<QPushButton*>("sendButton"), Qt::LeftButton);
    const QString expected = QStringLiteral("Area 5 is currently in preset %1\n").arg(preset);
    QVERIFY2(UiSession::waitUntil([&] { return status->text().startsWith(expected); }),
             qPrintable(status->text()));
}

void ControlWindowsTest::lightLevelsSliderSetsTheChannel() {
    UiSession session({.simArguments = {"--channels", "3"}, .seed = seedChannels});
    QVERIFY2(session.start(), qPrintable(session.why()));
    QWidget* window = session.windows().open(qv::ui::window::kLightLevels, 5);
    QVERIFY(window);
    QCOMPARE(window->findChild<QComboBox*>("areaCombo")->currentData().toInt(), 5);
    QVERIFY(window->findChild<QSlider*>("slider3"));
    QVERIFY(!window->findChild<QSlider*>("slider4"));
    // Every channel answers its level query.
    QVERIFY(UiSession::waitUntil([&] { return !window->findChild<QLabel*>("query3")->isVisibleTo(window); }));

    window->findChild<QSlider*>("slider2")->setValue(40);
    // The first change goes at once; the out box empties when the simulator
    // echoes it. Opening the area again asks the simulator for its levels:
    // channel 2 reports what the slider sent.
    QVERIFY(UiSession::waitUntil([&] { return session.engine().comms().outboxCount() == 0; }));
    session.windows().open(qv::ui::window::kLightLevels, 1);
    session.windows().open(qv::ui::window::kLightLevels, 5);
    auto* percent2 = window->findChild<QLabel*>("percent2");
    QVERIFY(UiSession::waitUntil([&] { return percent2->text() == "40%"; }));

    // Saving presets is off in a fresh configuration.
    auto* save = window->findChild<QPushButton*>("saveButton");
    QVERIFY(!save->isEnabled());
    QVERIFY(!window->findChild<QPushButton*>("saveOthersButton")->isEnabled());
}

// Area 6 has no known channels: the user is asked, the seek (a short step
// here; 150 ms in the program) finds the simulator's three and lists exactly
// those. Save writes its monitor line before the save message goes.
void ControlWindowsTest::seekFindsTheChannelsAndSaveIsNoted() {
    qv::test::RecordingMonitor heard;  // outlives the session
    UiSession session(
        {.simArguments = {"--channels", "3"}, .seed = allowSaveAndSeek, .channelSeekStepMs = 5});
    QVERIFY2(session.start(), qPrintable(session.why()));
    session.engine().monitorLog()->addSink(&heard);
    QWidget* window = session.windows().open(qv::ui::window::kLightLevels, 6);
    QVERIFY(session.sawBox("Would you like me to scan for available circuits?"));
    QVERIFY(UiSession::waitUntil([&] { return window->findChild<QSlider*>("slider1") != nullptr; }, 20000));
    QVERIFY(window->findChild<QSlider*>("slider3"));
    QVERIFY(!window->findChild<QSlider*>("slider4"));
    QVERIFY(!window->findChild<QSlider*>("slider255"));

    auto* presets = window->findChild<QComboBox*>("presetCombo");
    presets->setCurrentIndex(2);
    emit presets->activated(2);
    auto saveNotes = [&] {
        return std::count_if(
            heard.records.begin(), heard.records.end(), [](const qv::store::MonitorRecord& r) {
                return r.MsgType == "System" && r.comment == "LightLevels asks to Save this Preset";
            });
    };
    QCOMPARE(saveNotes(), 0);
    QTest::mouseClick(window->findChild<QPushButton*>("saveButton"), Qt::LeftButton);
    QCOMPARE(saveNotes(), 1);
}

// The window turns the exchange on and off through the engine and lists the
// status item of an area whose preset is heard.
void ControlWindowsTest::itemExchangeSwitchesAndShowsItems() {
    UiSession session;
    QVERIFY2(session.start(), qPrintable(session.why()));
    QWidget* window = session.windows().open(qv::ui::window::kItemExchange);
    QVERIFY(window);
    auto* state = window->findChild<QLabel*>("stateLabel");
    auto* toggle = window->findChild<QPushButton*>("switchButton");
    // A fresh configuration has the exchange on (ddeability).
    QVERIFY(session.engine().itemExchangeOn());
    QVERIFY(state->text().startsWith("listening"));
    toggle->click();
    QVERIFY(!session.engine().itemExchangeOn());
    QCOMPARE(state->text(), QString("off"));
    QCOMPARE(toggle->text(), QString("Start"));
    toggle->click();
    QVERIFY(session.engine().itemExchangeOn());
    QVERIFY(state->text().startsWith("listening"));
    QCOMPARE(window->findChild<QLabel*>("socketLabel")->text(),
             session.engine().itemExchange()->socketPath());

    session.engine().features()->directControl().chooseArea(12);
    session.engine().features()->directControl().send(4);
    auto* items = window->findChild<QTableWidget*>("itemTable");
    // Choosing the area asks for its preset (1 in the simulator), then 4 is sent.
    auto value = [&] {
        const auto found = items->findItems("StatusArea12", Qt::MatchExactly);
        return found.isEmpty() ? QString() : items->item(found.front()->row(), 1)->text();
    };
    QVERIFY2(UiSession::waitUntil([&] { return value() == "4"; }), qPrintable(value()));
    QCOMPARE(items->findItems("StatusArea12", Qt::MatchExactly).size(), 1);
}

QTEST_MAIN(ControlWindowsTest)
#include "control_windows_test.moc"
