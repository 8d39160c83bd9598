// Lamp types, measured points and their interpolation tables.

#include "energy_fixture.h"

#include "features/devices/lamp_interpolation.h"
#include "features/devices/messages.h"

#include <map>
#include "support/case_names.h"

namespace qv::devices {

void PrintTo(const MeasuredPoint& point, std::ostream* os) {
    *os << qv::test::caseName(point.percentage, point.load);
}

namespace {

using test::EnergyTest;

std::multimap<int, float> byPercentage(const std::vector<InterpolatedPoint>& rows) {
    std::multimap<int, float> map;
    for (const InterpolatedPoint& row : rows) map.emplace(row.percentage, row.level);
    return map;
}

TEST(InterpolateTest, AnInnerPointIsWrittenTwiceWithItsMeasuredLoad) {
    const auto rows = byPercentage(interpolate({{0, 0}, {100, 60}, {50, 25}}));
    EXPECT_EQ(rows.size(), 102u);
    EXPECT_EQ(rows.count(50), 2u);
    auto [first, last] = rows.equal_range(50);
    for (auto it = first; it != last; ++it) EXPECT_EQ(it->second, 25.0f);
    EXPECT_NEAR(rows.find(75)->second, 42.5f, 1e-5);
    EXPECT_NEAR(rows.find(25)->second, 12.5f, 1e-5);
}

TEST(InterpolateTest, NothingBelowTheLowestOrAboveTheHighestPoint) {
    const auto rows = byPercentage(interpolate({{90, 54}, {10, 6}}));
    EXPECT_EQ(rows.size(), 81u);
    EXPECT_EQ(rows.count(5), 0u);
    EXPECT_EQ(rows.count(95), 0u);
    EXPECT_EQ(rows.find(10)->second, 6.0f);
    EXPECT_TRUE(interpolate({{50, 10}}).empty());
    EXPECT_TRUE(interpolate({}).empty());
}

class InnerPointTest : public ::testing::TestWithParam<std::vector<MeasuredPoint>> {};

// Loads whose segments do not land exactly on the inner point in binary:
// both rows must still be equal, or the report would count the load twice.
TEST_P(InnerPointTest, BothRowsOfAnInnerPointAreEqual) {
    const std::vector<MeasuredPoint> points = GetParam();
    const auto rows = byPercentage(interpolate(points));
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        auto [first, last] = rows.equal_range(points[i].percentage);
        ASSERT_EQ(std::distance(first, last), 2);
        EXPECT_EQ(first->second, std::next(first)->second) << points[i].percentage;
        EXPECT_EQ(first->second, static_cast<float>(points[i].load));
    }
}

INSTANTIATE_TEST_SUITE_P(Loads, InnerPointTest,
                         ::testing::Values(std::vector<MeasuredPoint>{{100, 1.1}, {37, 0.3}, {0, 0}},
                                           std::vector<MeasuredPoint>{
                                               {100, 61.7}, {63, 40.1}, {29, 9.3}, {3, 0.7}},
                                           std::vector<MeasuredPoint>{{97, 0.1}, {41, 0.7}, {13, 0.3}}));

TEST_F(EnergyTest, EnteringAPointAgainReplacesItsLoadAndRebuildsTheTable) {
    const int id = lampType("Spot", {{100, 60}, {0, 0}});
    EXPECT_EQ(readInterpolations(*main, id).size(), 101u);
    ASSERT_TRUE(lamps.enterMeasuredPoint(id, "100", "80").ok);
    EXPECT_EQ(scalar(*main, "SELECT count(*) FROM LampProperties WHERE LampFitting_ID = ?", {id}).toInt(), 2);
    EXPECT_EQ(byPercentage(readInterpolations(*main, id)).find(50)->second, 40.0f);
    EXPECT_EQ(interpolationLines(*main, id).at(50), "50%   =40.00000");

    ASSERT_TRUE(lamps.removeMeasuredPoint(id, 0).ok);
    EXPECT_TRUE(readInterpolations(*main, id).empty());
}

TEST_F(EnergyTest, RebuildingOneTypeLeavesTheOthersAlone) {
    const int a = lampType("A", {{100, 60}, {0, 0}});
    const int b = lampType("B", {{100, 10}, {50, 4}});
    ASSERT_TRUE(lamps.enterMeasuredPoint(a, "50", "20").ok);
    EXPECT_EQ(readInterpolations(*main, a).size(), 102u);
    EXPECT_EQ(readInterpolations(*main, b).size(), 51u);
}

struct PointCase {
    const char* percentage;
    const char* load;
    const QString* message;
};

void PrintTo(const PointCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.percentage, row.load);
}

class MeasuredPointInputTest : public EnergyTest, public ::testing::WithParamInterface<PointCase> {};

TEST_P(MeasuredPointInputTest, IsRefusedWithoutTouchingTheTable) {
    const int id = lampType("Spot", {{100, 60}, {0, 0}});
    const store::Outcome outcome = lamps.enterMeasuredPoint(id, QString::fromUtf8(GetParam().percentage),
                                                            QString::fromUtf8(GetParam().load));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, *GetParam().message);
    EXPECT_EQ(readInterpolations(*main, id).size(), 101u);
}

INSTANTIATE_TEST_SUITE_P(Inputs, MeasuredPointInputTest,
                         ::testing::Values(PointCase{"101", "5", &msg::kPercentageRange},
                                           PointCase{"-1", "5", &msg::kPercentageRange},
                                           PointCase{"50.5", "5", &msg::kPercentageRange},
                                           PointCase{"", "5", &msg::kPercentageRange},
                                           PointCase{"50", "", &msg::kLoadNotNumber},
                                           PointCase{"50", "-2", &msg::kLoadNotNumber},
                                           PointCase{"50", "inf", &msg::kLoadNotNumber}));

TEST_F(EnergyTest, FittingTypeNamesAreUnique) {
    int id = 0;
    ASSERT_TRUE(lamps.addLampType("Fluorescent 58W", 58, 6, &id).ok);
    EXPECT_EQ(lamps.addLampType("fluorescent 58w ", 58, 6).message, msg::kFittingExists);
    EXPECT_EQ(lamps.addLampType("  ", 58, 6).message, msg::kNeedFittingName);
    int other = 0;
    ASSERT_TRUE(lamps.addLampType("Halogen", 50, 0, &other).ok);
    EXPECT_EQ(lamps.updateLampType(other, "FLUORESCENT 58W", 50, 0).message, msg::kFittingExists);
    ASSERT_TRUE(lamps.updateLampType(other, "Halogen 50W", 50, 0).ok);
    ASSERT_TRUE(lamps.updateLampType(id, "Fluorescent 58W", 58, 7).ok);  // its own name again
    EXPECT_EQ(lamps.updateLampType(999, "New", 1, 0).message, msg::kNoSuchFitting);
    EXPECT_EQ(lamps.lampTypes().size(), 2u);
    EXPECT_EQ(lamps.enterMeasuredPoint(999, "50", "1").message, msg::kNoSuchFitting);
}

TEST_F(EnergyTest, DeletingATypeTakesItsPointsTableAndLampsWithIt) {
    const int gone = lampType("Gone", {{100, 60}, {0, 0}});
    const int kept = lampType("Kept", {{100, 30}, {0, 0}});
    lampsOn(1, 1, gone, 2);
    lampsOn(1, 1, kept, 1);
    ASSERT_TRUE(lamps.deleteLampType(gone).ok);
    for (const char* table :
         {"LampProperties", "LampInterpolations", "LampFittingsonChannel", "LampFittings"})
        EXPECT_EQ(scalar(*main, QStringLiteral("SELECT count(*) FROM %1 WHERE LampFitting_ID = ?").arg(table),
                         {gone})
                      .toInt(),
                  0)
            << table;
    EXPECT_EQ(lamps.lampsOnChannel(1, 1).size(), 1u);
    EXPECT_EQ(readInterpolations(*main, kept).size(), 101u);
}

TEST_F(EnergyTest, LampsOnAChannelAreReplacedAndZeroRemovesThem) {
    const int id = lampType("Spot", {{100, 60}, {0, 0}});
    lampsOn(3, 7, id, 4);
    lampsOn(3, 7, id, 6);
    ASSERT_EQ(lamps.lampsOnChannel(3, 7).size(), 1u);
    EXPECT_EQ(lamps.lampsOnChannel(3, 7)[0].number, 6);
    ASSERT_TRUE(lamps.setLampsOnChannel(3, 7, id, "0").ok);
    EXPECT_TRUE(lamps.lampsOnChannel(3, 7).empty());
    EXPECT_EQ(lamps.setLampsOnChannel(0, 7, id, "1").message, msg::kAreaRange);
    EXPECT_EQ(lamps.setLampsOnChannel(3, 257, id, "1").message, msg::kChannelRange);
    EXPECT_EQ(lamps.setLampsOnChannel(3, 7, id, "-1").message, msg::kLampCountRange);
    EXPECT_EQ(lamps.setLampsOnChannel(3, 7, 999, "1").message, msg::kNoSuchFitting);
}

}  // namespace
}  // namespace qv::devices
