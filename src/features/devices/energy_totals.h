#pragma once
// The energy a channel used over the report's range. Levels change in steps,
// so each logged load is held until the channel's next logged change (the
// last one until the end of the range): a left Riemann sum. Loads are taken
// to be watts.

#include <QtGlobal>

#include <vector>

namespace qv::devices {

struct LoadSample {
    int area = 0;
    int channel = 0;
    qint64 atSecs = 0;  // seconds since the epoch of the logged change
    qint64 order = 0;   // the log's ID: orders changes logged in the same second
    int level = 0;      // percentage
    double watts = 0;   // PowerUsage at that change
};

struct ChannelEnergy {
    int area = 0;
    int channel = 0;
    double hours = 0;  // time at a level above 0 % (lamps lit)
    double kWh = 0;
};

// Samples in any order; one result per channel that has samples, by area
// and channel. A sample at or after rangeEndSecs contributes nothing.
std::vector<ChannelEnergy> energyTotals(std::vector<LoadSample> samples, qint64 rangeEndSecs);

}  // namespace qv::devices
