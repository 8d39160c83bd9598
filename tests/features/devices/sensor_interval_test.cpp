// The interval field and the reading texts. The polling period itself is
// timed in sensor_logging_test.

#include "features/devices/sensor_interval.h"
#include "features/devices/messages.h"

#include <gtest/gtest.h>
#include "support/case_names.h"

namespace qv::devices {
namespace {

struct InputCase {
    const char* text;
    int value;
    bool refused;
};

void PrintTo(const InputCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.text);
}

class IntervalInputTest : public ::testing::TestWithParam<InputCase> {};

TEST_P(IntervalInputTest, KeepsTheFieldInRange) {
    const IntervalInput input = checkIntervalInput(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(input.value, GetParam().value);
    EXPECT_EQ(input.message, GetParam().refused ? msg::kIntervalRange : QString());
}

INSTANTIATE_TEST_SUITE_P(Texts, IntervalInputTest,
                         ::testing::Values(InputCase{"10", 10, false}, InputCase{" 20 ", 20, false},
                                           InputCase{"0", 0, false}, InputCase{"30000", 30000, false},
                                           InputCase{"30001", 30000, true},
                                           InputCase{"99999999999", 30000, true}, InputCase{"-1", 0, true},
                                           InputCase{"ten", 0, true}, InputCase{"", 0, true},
                                           InputCase{"2.5", 0, true}));

struct CalibrationCase {
    const char* actual;
    int measured;
    const char* expected;  // nullptr: no calibration
};

void PrintTo(const CalibrationCase& row, std::ostream* os) {
    *os << qv::test::caseName(row.actual, row.measured);
}

class CalibrationTextTest : public ::testing::TestWithParam<CalibrationCase> {};

TEST_P(CalibrationTextTest, IsActualOverMeasuredWithThreeDecimals) {
    const auto text = calibrationText(QString::fromUtf8(GetParam().actual), GetParam().measured);
    if (GetParam().expected == nullptr) {
        EXPECT_FALSE(text.has_value()) << text.value_or(QString()).toStdString();
    } else {
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(*text, QString::fromUtf8(GetParam().expected));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Readings, CalibrationTextTest,
    ::testing::Values(CalibrationCase{"450", 300, "1.500"}, CalibrationCase{"1", 3, "0.333"},
                      CalibrationCase{"2", 3, "0.667"}, CalibrationCase{"0", 120, "0.000"},
                      CalibrationCase{"450", 0, nullptr}, CalibrationCase{"450", -1, nullptr},
                      CalibrationCase{"bright", 300, nullptr}, CalibrationCase{"-5", 300, nullptr}));

TEST(LuxTextTest, RoundsHalfAwayFromZeroAndShowsZero) {
    EXPECT_EQ(luxText(450.0), "450");
    EXPECT_EQ(luxText(449.5), "450");
    EXPECT_EQ(luxText(449.49), "449");
    EXPECT_EQ(luxText(0.2), "0");
}

}  // namespace
}  // namespace qv::devices
