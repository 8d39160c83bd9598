// The roll-call progress window opens when a roll call starts, shows a
// device that never answers with no tries left, and closes at the end.

#include "features/devices/roll_call.h"
#include "shell/feature_set.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QtTest>

using qv::test::UiSession;

namespace {

// "Night check" asks boxes 7 (simulated) and 9 (silent).
void seedRollCall(const QString& dataDir) {
    {
        auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("seed"));
        db.setDatabaseName(dataDir + QStringLiteral("/master/quorvel.db"));
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(
            "INSERT INTO DeviceTypes (Device_ID, Device, DeviceOpCode) VALUES (1, 'Sensor box', 'A5')"));
        QVERIFY(
            query.exec("INSERT INTO DevicesInstalled (BoxNumber, Description, Device_ID) VALUES "
                       "(7, 'Atrium', 1), (9, 'Roof', 1)"));
        query.prepare(
            "INSERT INTO RollCall (RollCallName, Device_ID, Boxnumber) VALUES ('Night check', 1, ?)");
        for (int box : {7, 9}) {
            query.addBindValue(box);
            QVERIFY(query.exec());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("seed"));
}

}  // namespace

class RollCallWindowTest : public QObject {
    Q_OBJECT
private slots:
    void silentDeviceHasNoTriesLeft();
};

void RollCallWindowTest::silentDeviceHasNoTriesLeft() {
    UiSession session({.simArguments = {"--devices", "A5:7:1.4"}, .seed = seedRollCall});
    QVERIFY2(session.start(), qPrintable(session.why()));
    QVERIFY(!session.windows().find(qv::ui::window::kRollCall));
    QVERIFY(UiSession::waitUntil([&] { return session.engine().features() != nullptr; }));
    QTest::qWait(300);  // the window registry looks for the runner five times a second
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
}

QTEST_MAIN(RollCallWindowTest)
#include "roll_call_window_test.moc"
