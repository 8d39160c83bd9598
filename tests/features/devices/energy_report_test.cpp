// The energy report over real files: the load at each logged change, the
// date range, the energy totals and the CSV export.

#include "energy_fixture.h"

#include "features/devices/energy_csv.h"
#include "features/devices/energy_totals.h"

#include "store/transaction.h"

#include <QFile>

#include <cmath>
#include "support/case_names.h"

namespace qv::devices {
namespace {

using test::EnergyTest;

const QDate kFrom(2024, 3, 10);
const QDate kTo(2024, 3, 13);

TEST_F(EnergyTest, LoadsFollowTheLampTypesOfEachChannel) {
    const int straight = lampType("Straight", {{100, 60}, {0, 0}});
    const int kinked = lampType("Kinked", {{100, 60}, {50, 25}, {0, 0}});
    const int upper = lampType("Upper range", {{100, 60}, {10, 6}});
    const int twenty = lampType("Twenty at 40", {{100, 50}, {0, 0}});
    const int thirtyFive = lampType("Thirty-five at 40", {{100, 87.5}, {0, 0}});
    lampsOn(1, 1, straight, 1);
    lampsOn(1, 2, kinked, 1);
    lampsOn(1, 3, upper, 1);
    lampsOn(1, 4, twenty, 3);
    lampsOn(1, 4, thirtyFive, 2);
    lampsOn(2, 1, kinked, 4);

    logged("2024-03-10 08:00:00", 1, 1, 50);   // 1: 30
    logged("2024-03-10 08:00:01", 1, 2, 50);   // 2: inner point, counted once: 25
    logged("2024-03-10 08:00:02", 1, 3, 5);    // 3: below the measured range: 0
    logged("2024-03-10 08:00:03", 1, 3, 10);   // 4: 6
    logged("2024-03-10 08:00:04", 1, 4, 40);   // 5: 3 x 20 + 2 x 35 = 130
    logged("2024-03-10 08:00:05", 1, 5, 80);   // 6: no lamps: 0
    logged("2024-03-10 08:00:06", 2, 1, 50);   // 7: 4 x 25 = 100
    logged("2024-03-10 08:00:07", 1, 1, 100);  // 8: 60

    const EnergyReportResult result = report(kFrom, kTo);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(result.records, 8);
    EXPECT_EQ(usage(), (std::vector<UsageRow>{{1, "2024-03-10 08:00:00", 1, 1, 50, 30},
                                              {2, "2024-03-10 08:00:01", 1, 2, 50, 25},
                                              {3, "2024-03-10 08:00:02", 1, 3, 5, 0},
                                              {4, "2024-03-10 08:00:03", 1, 3, 10, 6},
                                              {5, "2024-03-10 08:00:04", 1, 4, 40, 130},
                                              {6, "2024-03-10 08:00:05", 1, 5, 80, 0},
                                              {7, "2024-03-10 08:00:06", 2, 1, 50, 100},
                                              {8, "2024-03-10 08:00:07", 1, 1, 100, 60}}));
}

TEST_F(EnergyTest, TheRangeRunsFromMidnightToMidnightAndSkipsRowsWithoutALevel) {
    const int straight = lampType("Straight", {{100, 60}, {0, 0}});
    lampsOn(1, 1, straight, 1);
    logged("2024-03-09 23:59:59", 1, 1, 10);    // 1: before the range
    logged("2024-03-10 00:00:00", 1, 1, 20);    // 2: first moment in
    logged("2024-03-11 12:00:00", 1, {}, {});   // 3: a preset change
    logged("2024-03-11 12:00:01", {}, {}, {});  // 4: a custom code
    logged("2024-03-11 12:00:02", 1, 1, {});    // 5: no level
    logged("2024-03-12 23:59:59", 1, 1, 30);    // 6
    logged("2024-03-13 00:00:00", 1, 1, 40);    // 7: last moment in
    logged("2024-03-13 00:00:01", 1, 1, 50);    // 8: on the end date, after midnight: out
    logged("2024-03-13 18:00:00", 1, 1, 60);    // 9: out

    const EnergyReportResult result = report(kFrom, kTo);
    ASSERT_TRUE(result.ok);
    std::vector<qint64> ids;
    for (const UsageRow& row : usage()) ids.push_back(row.id);
    EXPECT_EQ(ids, (std::vector<qint64>{2, 6, 7}));
    EXPECT_EQ(result.message, energyReportCompleteMessage(3));
}

TEST_F(EnergyTest, ANewReportReplacesTheOldAndAFailedOneKeepsIt) {
    logged("2024-03-10 08:00:00", 1, 1, 50);
    logged("2024-03-11 08:00:00", 1, 1, 60);
    ASSERT_TRUE(report(kFrom, kTo).ok);
    ASSERT_EQ(usage().size(), 2u);
    const EnergyReportResult narrower = report(QDate(2024, 3, 11), kTo);
    ASSERT_TRUE(narrower.ok);
    ASSERT_EQ(usage().size(), 1u);

    monitorLog->close();
    monitorLog.reset();
    ASSERT_TRUE(QFile::remove(paths.monitorLog()));
    const EnergyReportResult failed = report(kFrom, kTo);
    EXPECT_FALSE(failed.ok);
    EXPECT_TRUE(failed.message.contains("does not exist")) << failed.message.toStdString();
    EXPECT_EQ(usage().size(), 1u);
}

TEST_F(EnergyTest, ADamagedMonitorLogIsReportedAndNothingIsLost) {
    logged("2024-03-10 08:00:00", 1, 1, 50);
    ASSERT_TRUE(report(kFrom, kTo).ok);
    monitorLog->close();
    monitorLog.reset();
    {
        QFile log(paths.monitorLog());
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write(QByteArray(8192, '\x5a'));
    }
    const EnergyReportResult result = devices::createEnergyUsageReport(paths, kFrom, kTo);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.startsWith("The energy usage report could not be made"))
        << result.message.toStdString();
    EXPECT_EQ(usage().size(), 1u);
}

TEST_F(EnergyTest, ProgressRisesToAHundred) {
    {
        store::Transaction transaction(*monitorLog);
        for (int i = 0; i < 5000; ++i)
            logged(QStringLiteral("2024-03-10 %1").arg(QTime(0, 0).addSecs(i).toString("HH:mm:ss")), 1, 1,
                   i % 101);
        transaction.commit();
    }
    monitorLog->close();
    monitorLog.reset();
    main->close();
    main.reset();
    std::vector<int> seen;
    const EnergyReportResult result = devices::createEnergyUsageReport(
        paths, kFrom, kTo, {}, [&](int percent) { seen.push_back(percent); });
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.records, 5000);
    ASSERT_GE(seen.size(), 4u);
    EXPECT_EQ(seen.front(), 0);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    main.emplace(store::Database::open(paths.mainDb(), store::DbKind::Main));
    monitorLog.emplace(store::Database::open(paths.monitorLog(), store::DbKind::MonitorLog));
}

// Two lamps of 60 W at 100 % (30 W each at 50 %) on area 5 channel 1, one day.
TEST_F(EnergyTest, KilowattHoursHoldEachLoadUntilTheNextChangeToTheWattHour) {
    const int lamp = lampType("Sixty", {{100, 60}, {0, 0}});
    lampsOn(5, 1, lamp, 2);
    const int odd = lampType("Odd", {{100, 37}, {0, 0}});
    lampsOn(5, 2, odd, 3);
    logged("2024-03-10 08:00:00", 5, 1, 100);  // 120 W for 2.5 h  = 300 Wh
    logged("2024-03-10 10:30:00", 5, 1, 50);   //  60 W for 1.5 h  =  90 Wh
    logged("2024-03-10 12:00:00", 5, 1, 0);    //   0 W for 11 h
    logged("2024-03-10 23:00:00", 5, 1, 100);  // 120 W until the end at midnight = 120 Wh
    logged("2024-03-10 09:00:00", 5, 2, 100);  // 111 W for 7 h 20 min = 814 Wh
    logged("2024-03-10 16:20:00", 5, 2, 100);  // 111 W for 20 min = 37 Wh (a level request's answer)
    logged("2024-03-10 16:40:00", 5, 2, 0);
    logged("2024-03-10 12:00:00", 5, 3, 70);  // no lamps: lit for 12 h, 0 kWh

    const EnergyReportResult result = report(kFrom, QDate(2024, 3, 11));
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    store::Database energy = store::Database::open(paths.energyUsage(), store::DbKind::EnergyUsage);
    QSqlQuery q = energy.prepare(
        QStringLiteral("SELECT Area, Channel, Hours, kWh FROM EnergyTotals ORDER BY Area, Channel"));
    energy.exec(q);
    struct Expected {
        int channel;
        double hours;
        double kWh;
    };
    for (const Expected& e :
         {Expected{1, 5.0, 0.510}, Expected{2, 7 + 40 / 60.0, 0.851}, Expected{3, 12.0, 0.0}}) {
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 5);
        EXPECT_EQ(q.value(1).toInt(), e.channel);
        EXPECT_NEAR(q.value(2).toDouble(), e.hours, 1e-9);
        EXPECT_NEAR(q.value(3).toDouble(), e.kWh, 0.0005) << "channel " << e.channel;
    }
    EXPECT_FALSE(q.next());
}

TEST_F(EnergyTest, ADayWhenTheClocksGoForwardHas23HoursOfLoad) {
    const test::ScopedZone zone("Europe/London");
    const int lamp = lampType("Hundred", {{100, 100}, {0, 0}});
    lampsOn(1, 1, lamp, 1);
    logged("2024-03-31 00:00:00", 1, 1, 100);
    ASSERT_TRUE(report(QDate(2024, 3, 31), QDate(2024, 4, 1)).ok);
    store::Database energy = store::Database::open(paths.energyUsage(), store::DbKind::EnergyUsage);
    EXPECT_NEAR(scalar(energy, "SELECT kWh FROM EnergyTotals").toDouble(), 2.3, 1e-9);
    EXPECT_NEAR(scalar(energy, "SELECT Hours FROM EnergyTotals").toDouble(), 23.0, 1e-9);
}

TEST_F(EnergyTest, TheCsvHoldsTheReportAndItsTotals) {
    const int lamp = lampType("Sixty", {{100, 60}, {0, 0}});
    lampsOn(1, 1, lamp, 1);
    logged("2024-03-10 08:00:00", 1, 1, 100);
    logged("2024-03-10 09:00:00", 1, 1, "full, really");  // a text where a number belongs
    const QString csv = QDir(paths.dir).filePath("out/report.csv");
    QDir().mkpath(QFileInfo(csv).path());
    const EnergyReportResult result = report(kFrom, QDate(2024, 3, 11), csv);
    ASSERT_TRUE(result.ok) << result.message.toStdString();

    QFile rows(csv);
    ASSERT_TRUE(rows.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(rows.readAll()),
              "ID,DateTimeStamp,Area,Channel,Level,PowerUsage\r\n"
              "1,2024-03-10 08:00:00,1,1,100,60\r\n"
              "2,2024-03-10 09:00:00,1,1,\"full, really\",0\r\n");
    QFile totals(QDir(paths.dir).filePath("out/report-totals.csv"));
    ASSERT_TRUE(totals.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(totals.readAll()), "Area,Channel,Hours,kWh\r\n1,1,1.0000,0.060\r\n");
}

TEST_F(EnergyTest, AnUnwritableCsvIsSaidButTheReportStands) {
    logged("2024-03-10 08:00:00", 1, 1, 100);
    const EnergyReportResult result =
        report(kFrom, kTo, QDir(paths.dir).filePath("no/such/folder/report.csv"));
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.message.contains("CSV export failed")) << result.message.toStdString();
    EXPECT_EQ(result.records, 1);
    EXPECT_EQ(usage().size(), 1u);
}

struct TotalsCase {
    const char* what;
    std::vector<LoadSample> samples;
    qint64 end;
    std::vector<std::tuple<int, int, double, double>> expected;  // area, channel, hours, kWh
};

void PrintTo(const TotalsCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.what);
}

class EnergyTotalsTest : public ::testing::TestWithParam<TotalsCase> {};

TEST_P(EnergyTotalsTest, IsALeftRiemannSum) {
    const std::vector<ChannelEnergy> totals = energyTotals(GetParam().samples, GetParam().end);
    ASSERT_EQ(totals.size(), GetParam().expected.size()) << GetParam().what;
    for (std::size_t i = 0; i < totals.size(); ++i) {
        const auto& [area, channel, hours, kWh] = GetParam().expected[i];
        EXPECT_EQ(totals[i].area, area) << GetParam().what;
        EXPECT_EQ(totals[i].channel, channel) << GetParam().what;
        EXPECT_NEAR(totals[i].hours, hours, 1e-9) << GetParam().what;
        EXPECT_NEAR(totals[i].kWh, kWh, 1e-9) << GetParam().what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Samples, EnergyTotalsTest,
    ::testing::Values(TotalsCase{"unsorted, two channels",
                                 {{2, 1, 3600, 1, 100, 500}, {1, 1, 7200, 2, 0, 0}, {1, 1, 0, 3, 50, 1000}},
                                 10800,
                                 {{1, 1, 2.0, 2.0}, {2, 1, 2.0, 1.0}}},
                      TotalsCase{"same second: the log order decides",
                                 {{1, 1, 0, 2, 100, 2000}, {1, 1, 0, 1, 100, 1000}, {1, 1, 3600, 3, 0, 0}},
                                 7200,
                                 {{1, 1, 1.0, 2.0}}},
                      TotalsCase{"a change at the end holds for no time",
                                 {{1, 1, 3600, 1, 100, 1000}},
                                 3600,
                                 {{1, 1, 0, 0}}},
                      TotalsCase{"lit without lamps", {{1, 1, 0, 1, 30, 0}}, 1800, {{1, 1, 0.5, 0}}},
                      TotalsCase{"nothing logged", {}, 3600, {}}));

}  // namespace
}  // namespace qv::devices
