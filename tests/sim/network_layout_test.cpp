#include "sim/network_layout.h"

#include <gtest/gtest.h>

namespace qv::sim {
namespace {

TEST(SensorList, BoxesWithOrWithoutLux) {
    QString error;
    const auto sensors = parseSensorList(QStringLiteral("7, 9=120,255=65535"), &error);
    ASSERT_TRUE(sensors) << error.toStdString();
    ASSERT_EQ(sensors->size(), 3u);
    EXPECT_EQ((*sensors)[0].box, 7);
    EXPECT_EQ((*sensors)[0].lux, kDefaultLux);
    EXPECT_EQ((*sensors)[1].box, 9);
    EXPECT_EQ((*sensors)[1].lux, 120);
    EXPECT_EQ((*sensors)[2].lux, 65535);
    EXPECT_TRUE(parseSensorList(QString(), &error)->empty());
}

class BadSensorList : public ::testing::TestWithParam<const char*> {};

TEST_P(BadSensorList, IsRefusedWithTheItem) {
    QString error;
    EXPECT_FALSE(parseSensorList(QString::fromLatin1(GetParam()), &error));
    EXPECT_FALSE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(SensorList, BadSensorList,
                         ::testing::Values("0", "256", "x", "7=", "7=65536", "7=-1", "7=1=2", "7,,9=a"));

TEST(DeviceList, TypeInHexBoxAndVersionInDecimal) {
    QString error;
    const auto devices = parseDeviceList(QStringLiteral("A5:7:1.4,20:12:2.10"), &error);
    ASSERT_TRUE(devices) << error.toStdString();
    ASSERT_EQ(devices->size(), 2u);
    EXPECT_EQ((*devices)[0].type, 0xA5);
    EXPECT_EQ((*devices)[0].box, 7);
    EXPECT_EQ((*devices)[0].major, 1);
    EXPECT_EQ((*devices)[0].minor, 4);
    EXPECT_EQ((*devices)[1].type, 0x20);
    EXPECT_EQ((*devices)[1].box, 12);
    EXPECT_EQ((*devices)[1].minor, 10);
}

class BadDeviceList : public ::testing::TestWithParam<const char*> {};

TEST_P(BadDeviceList, IsRefused) {
    QString error;
    EXPECT_FALSE(parseDeviceList(QString::fromLatin1(GetParam()), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("TYPE:BOX:MAJOR.MINOR")));
}

INSTANTIATE_TEST_SUITE_P(DeviceList, BadDeviceList,
                         ::testing::Values("A5:7", "A5:7:1", "G5:7:1.0", "100:7:1.0", "A5:256:1.0",
                                           "A5:7:1.256", "A5:7:1.2.3", "A5:7:1.0:9"));

}  // namespace
}  // namespace qv::sim
