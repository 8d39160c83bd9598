// The lamp windows and the energy report on a real engine: lamp data entered
// through the windows, channel levels seeded into the monitor log, and the
// report's completion message, stored rows and chart.

#include "features/devices/energy_report.h"
#include "store/database.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCalendarWidget>
#include <QChartView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QtTest>

using qv::test::child;
using qv::test::click;
using qv::test::UiSession;

namespace {

// Four level changes of area 5 on 2 and 3 March, one the day after the
// range, and a preset change without a channel.
void seedLog(const QString& dataDir) {
    qv::test::execOnFile(
        dataDir,
        "INSERT INTO EventLog (Origin, TimeDateStamp, Area, Preset, Channel, ChannelLevel) VALUES"
        " ('Test', '2026-03-02 08:00:00', 5, NULL, 1, 50),"
        " ('Test', '2026-03-02 12:00:00', 5, NULL, 1, 0),"
        " ('Test', '2026-03-02 08:00:00', 5, NULL, 2, 100),"
        " ('Test', '2026-03-03 10:00:00', 5, NULL, 2, 50),"
        " ('Test', '2026-03-04 09:00:00', 5, NULL, 1, 100),"
        " ('Test', '2026-03-02 09:00:00', 5, 3, NULL, NULL)",
        {}, qv::store::DbKind::MonitorLog);
}

}  // namespace

class EnergyWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void lampDataThenReport();
};

void EnergyWindowsTest::lampDataThenReport() {
    UiSession session({.simArguments = {}, .seed = seedLog});
    QVERIFY2(session.start(), qPrintable(session.why()));
    qv::ui::Windows& windows = session.windows();

    // Lamp types: a name with an apostrophe; the same name again is refused.
    QWidget* types = windows.open(qv::ui::window::kLampTypes);
    QVERIFY(types);
    for (const QString& name :
         {QStringLiteral("Downlight's 60W"), QStringLiteral("Spot 40W"), QStringLiteral("downlight's 60w")}) {
        child<QLineEdit>(types, "descriptionField")->setText(name);
        click(types, "addButton");
    }
    QVERIFY(session.sawBox("That Fitting Type already exists"));
    QCOMPARE(child<QListWidget>(types, "lampTypeList")->count(), 2);

    // Measured points: 100 % = 60 and 0 % = 0 make 101 rows, 50 % = 30; the
    // second type is measured only from 10 % up.
    QWidget* properties = windows.open(qv::ui::window::kLampProperties);
    auto* typeCombo = child<QComboBox>(properties, "lampTypeCombo");
    QCOMPARE(typeCombo->count(), 2);
    auto enter = [&](int type, const char* percentage, const char* load) {
        typeCombo->setCurrentIndex(type);
        child<QLineEdit>(properties, "percentageField")->setText(percentage);
        child<QLineEdit>(properties, "loadField")->setText(load);
        click(properties, "enterbutton");
    };
    const int downlight = typeCombo->findText("Downlight's 60W");
    const int spot = 1 - downlight;
    enter(downlight, "100", "60");
    enter(downlight, "0", "0");
    enter(spot, "100", "40");
    enter(spot, "10", "4");
    enter(spot, "150", "4");
    QVERIFY(session.sawBox("the power percentage must be a whole number from 0 to 100"));
    typeCombo->setCurrentIndex(downlight);
    auto* table = child<QListWidget>(properties, "interpolationList");
    QCOMPARE(table->count(), 101);
    QVERIFY(!table->findItems("50%   =30.00000", Qt::MatchExactly).isEmpty());

    // Channel 1 of area 5: 3 downlights; channel 2: 2 downlights and 2 spots.
    QWidget* lamps = windows.open(qv::ui::window::kLampsOnChannels);
    auto place = [&](int channel, int type, const char* number) {
        child<QSpinBox>(lamps, "areaField")->setValue(5);
        child<QSpinBox>(lamps, "channelField")->setValue(channel);
        child<QComboBox>(lamps, "lampTypeCombo")->setCurrentIndex(type);
        child<QLineEdit>(lamps, "numberField")->setText(number);
        click(lamps, "setButton");
    };
    place(1, downlight, "3");
    place(2, downlight, "2");
    place(2, spot, "2");
    QCOMPARE(child<QListWidget>(lamps, "lampsList")->count(), 2);

    // The report from 1 to 4 March (the 4th itself left out): four rows.
    QWidget* energy = windows.open(qv::ui::window::kEnergy);
    QCOMPARE(energy->windowTitle(), QString("Produce Energy Usage Reports"));
    child<QCalendarWidget>(energy, "StartDateMonthView")->setSelectedDate(QDate(2026, 3, 1));
    child<QCalendarWidget>(energy, "EndDateMonthView")->setSelectedDate(QDate(2026, 3, 4));
    auto* create = child<QPushButton>(energy, "CreateEnergyUsageButton");
    QCOMPARE(create->text(), QString("Create EnergyUsage.MDB"));
    create->click();
    QVERIFY(session.sawBox(qv::devices::energyReportCompleteMessage(4)));
    QVERIFY(session.boxes.back().text.endsWith("The date range and available data has produced 4 records"));

    {
        auto db =
            qv::store::Database::open(session.engine().paths().energyUsage(), qv::store::DbKind::EnergyUsage);
        QSqlQuery query =
            db.run(QStringLiteral("SELECT Channel, Level, PowerUsage FROM EnergyUsage ORDER BY ID"));
        QList<QVariantList> rows;
        while (query.next())
            rows.append({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toDouble()});
        // 3 x 30; 0; 2 x 60 + 2 x 40; 2 x 30 + 2 x 20.
        const QList<QVariantList> expected = {{1, 50, 90.0}, {1, 0, 0.0}, {2, 100, 200.0}, {2, 50, 100.0}};
        QCOMPARE(rows, expected);
    }

    // The chart: one bar per channel; channel 1 drew 90 W for 4 hours.
    auto* chart = child<QChartView>(energy, "energyChart")->chart();
    const auto series = chart->series();
    QCOMPARE(series.size(), 1);
    QBarSet* bars = static_cast<QBarSeries*>(series.front())->barSets().front();
    QCOMPARE(bars->count(), 2);
    QCOMPARE(bars->at(0), 0.36);
    auto* axis = static_cast<QBarCategoryAxis*>(chart->axes(Qt::Horizontal).front());
    QCOMPARE(axis->categories(), QStringList({"5/1", "5/2"}));
}

QTEST_MAIN(EnergyWindowsTest)
#include "energy_windows_test.moc"
