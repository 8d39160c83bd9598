// The roll-call progress window opens when a roll call starts, shows a
// device that never answers with no tries left, and closes at the end; the
// editor then stores a new roll call and lists it.

#include "features/devices/roll_call.h"
#include "features/devices/roll_call_results.h"
#include "shell/feature_set.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

using qv::test::UiSession;

namespace {

// "Night check" asks boxes 7 (simulated) and 9 (silent).
void seedRollCall(const QString& dataDir) {
    using qv::test::execOnFile;
    execOnFile(dataDir,
               "INSERT INTO DeviceTypes (Device_ID, Device, DeviceOpCode) VALUES (1, 'Sensor box', 'A5')");
    execOnFile(dataDir,
               "INSERT INTO DevicesInstalled (BoxNumber, Description, Device_ID) VALUES "
               "(7, 'Atrium', 1), (9, 'Roof', 1)");
    execOnFile(dataDir,
               "INSERT INTO RollCall (RollCallName, Device_ID, Boxnumber) VALUES "
               "('Night check', 1, 7), ('Night check', 1, 9)");
}

}  // namespace

class RollCallWindowTest : public QObject {
    Q_OBJECT
private slots:
    void silentDeviceHasNoTriesLeftThenTheEditorMakesOne();
};

void RollCallWindowTest::silentDeviceHasNoTriesLeftThenTheEditorMakesOne() {
    UiSession session({.simArguments = {"--devices", "A5:7:1.4"}, .seed = seedRollCall});
    QVERIFY2(session.start(), qPrintable(session.why()));
    QVERIFY(!session.windows().find(qv::ui::window::kRollCall));
    const auto outcome = session.engine().features()->rollCalls().RollCall("Night check");
    QVERIFY2(outcome.ok, qPrintable(outcome.message));
    QVERIFY(
        UiSession::waitUntil([&] { return session.windows().find(qv::ui::window::kRollCall) != nullptr; }));
    QWidget* window = session.windows().find(qv::ui::window::kRollCall);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QString("RollCall in Progress"));
    QAbstractItemModel* model = window->findChild<QTableView*>("RollCallFlexGrid")->model();
    QVERIFY2(UiSession::waitUntil([&] { return model->rowCount() == 2; }, 3000),
             qPrintable(QString::number(model->rowCount())));

    auto cell = [&](int row, const QString& header) {
        for (int c = 0; c < model->columnCount(); ++c)
            if (model->headerData(c, Qt::Horizontal).toString() == header)
                return model->index(row, c).data().toString();
        return QString("no column %1").arg(header);
    };
    auto rowOfBox = [&](int box) {
        for (int r = 0; r < model->rowCount(); ++r)
            if (cell(r, "Box") == QString::number(box)) return r;
        return -1;
    };
    QVERIFY(rowOfBox(7) >= 0 && rowOfBox(9) >= 0);
    QVERIFY2(UiSession::waitUntil([&] { return cell(rowOfBox(9), "Tries Left") == "0"; }),
             qPrintable(cell(rowOfBox(9), "Tries Left")));
    QVERIFY(cell(rowOfBox(7), "Version").contains("1.4"));
    QVERIFY(cell(rowOfBox(7), "Tries Left") != "0");
    QVERIFY(UiSession::waitUntil([&] { return !window->isVisible(); }));

    // The editor lists the roll call's devices; a new one is stored and listed.
    QWidget* form = session.windows().open(qv::ui::window::kRollCallEditor);
    auto* names = form->findChild<QComboBox*>("RollCallNameCombo");
    auto* devices = form->findChild<QListWidget*>("devicesList");
    QVERIFY(names->findText("Night check") >= 0);
    QCOMPARE(devices->count(), 2);

    // A tick without a name is refused and taken back.
    names->setEditText(QString());
    devices->item(0)->setCheckState(Qt::Checked);
    QVERIFY(session.sawBox(
        "you need to give the Rollcall a name before selecting devices to include on the Rollcall list"));
    QCOMPARE(devices->item(0)->checkState(), Qt::Unchecked);

    form->findChild<QLineEdit*>("boxField")->setText("12");
    form->findChild<QLineEdit*>("descriptionField")->setText("Stair");
    form->findChild<QPushButton*>("addDeviceButton")->click();
    QCOMPARE(devices->count(), 3);
    names->setEditText("Stairs");
    const auto stair = devices->findItems("box 12", Qt::MatchContains);
    QCOMPARE(stair.size(), 1);
    stair.front()->setCheckState(Qt::Checked);
    form->findChild<QPushButton*>("saveActionsButton")->click();
    QVERIFY(session.sawBox("You should select an Action to take."));
    form->findChild<QCheckBox*>("emailCheck")->setChecked(true);
    form->findChild<QLineEdit*>("recipientsField")->setText("night@example.com");
    form->findChild<QPushButton*>("saveActionsButton")->click();

    const auto members = qv::devices::readRollCallMembers(session.engine().mainDatabase(), "Stairs");
    QCOMPARE(members.size(), std::size_t{1});
    QCOMPARE(members.front().box, 12);
    QCOMPARE(members.front().description, QString("Stair"));
    QCOMPARE(qv::devices::readRollCallActions(session.engine().mainDatabase(), "Stairs")->emailRecipients,
             QString("night@example.com"));

    // Opened again, the new roll call is listed with its device and action.
    form->close();
    form = session.windows().open(qv::ui::window::kRollCallEditor);
    names->setCurrentIndex(names->findText("Stairs"));
    QVERIFY(names->currentIndex() >= 0);
    QCOMPARE(devices->findItems("box 12", Qt::MatchContains).front()->checkState(), Qt::Checked);
    QCOMPARE(form->findChild<QLineEdit*>("recipientsField")->text(), QString("night@example.com"));
}

QTEST_MAIN(RollCallWindowTest)
#include "roll_call_window_test.moc"
