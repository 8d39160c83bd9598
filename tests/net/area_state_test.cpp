#include "net/area_state.h"

#include <gtest/gtest.h>

namespace qv::net {
namespace {

TEST(AreaState, EverythingStartsUnknown) {
    const AreaState state;
    for (int area : {1, 128, 255}) {
        EXPECT_EQ(state.GetPresetforArea(area), 0);
        EXPECT_EQ(state.lux(area), -1);
        for (int channel : {0, 1, 256}) EXPECT_EQ(state.channelLevel(area, channel), -1);
    }
}

TEST(AreaState, AllAreasCoversOneTo255Only) {
    AreaState state;
    state.setPresetAllAreas(14);
    EXPECT_EQ(state.GetPresetforArea(1), 14);
    EXPECT_EQ(state.GetPresetforArea(255), 14);
    EXPECT_EQ(state.GetPresetforArea(0), 0);
}

TEST(AreaState, OutOfRangeIsNeitherStoredNorRead) {
    AreaState state;
    state.setPreset(0, 5);
    state.setPreset(256, 5);
    state.setChannelLevel(1, 257, 10);
    state.setChannelLevel(0, 1, 10);
    state.setChannelLevel(1, 1, 300);
    state.setLux(0, 10);
    state.setLux(256, 10);
    EXPECT_EQ(state.GetPresetforArea(0), 0);
    EXPECT_EQ(state.GetPresetforArea(256), 0);
    EXPECT_EQ(state.GetPresetforArea(1), 0);
    EXPECT_EQ(state.GetPresetforArea(255), 0);
    EXPECT_EQ(state.channelLevel(1, 257), -1);
    EXPECT_EQ(state.channelLevel(1, 1), -1);
    EXPECT_EQ(state.lux(0), -1);
    EXPECT_EQ(state.lux(255), -1);
}

TEST(AreaState, ResetForgetsWhatWasHeard) {
    AreaState state;
    state.setPreset(5, 3);
    state.setChannelLevel(5, 256, 0xFF);
    state.setLux(7, 300);
    EXPECT_EQ(state.channelLevel(5, 256), 0xFF);
    EXPECT_EQ(state.lux(7), 300);
    state.reset();
    EXPECT_EQ(state.GetPresetforArea(5), 0);
    EXPECT_EQ(state.channelLevel(5, 256), -1);
    EXPECT_EQ(state.lux(7), -1);
}

}  // namespace
}  // namespace qv::net
