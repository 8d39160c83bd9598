#include "features/devices/energy_totals.h"

#include <algorithm>
#include <tuple>

namespace qv::devices {

std::vector<ChannelEnergy> energyTotals(std::vector<LoadSample> samples, qint64 rangeEndSecs) {
    std::sort(samples.begin(), samples.end(), [](const LoadSample& a, const LoadSample& b) {
        return std::tie(a.area, a.channel, a.atSecs, a.order) <
               std::tie(b.area, b.channel, b.atSecs, b.order);
    });
    std::vector<ChannelEnergy> totals;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const LoadSample& s = samples[i];
        if (totals.empty() || totals.back().area != s.area || totals.back().channel != s.channel)
            totals.push_back({s.area, s.channel, 0, 0});
        const bool nextIsSameChannel =
            i + 1 < samples.size() && samples[i + 1].area == s.area && samples[i + 1].channel == s.channel;
        const qint64 until = std::min(nextIsSameChannel ? samples[i + 1].atSecs : rangeEndSecs, rangeEndSecs);
        const qint64 held = std::max<qint64>(0, until - s.atSecs);
        const double hours = static_cast<double>(held) / 3600.0;
        totals.back().kWh += s.watts * hours / 1000.0;
        if (s.level > 0) totals.back().hours += hours;
    }
    return totals;
}

}  // namespace qv::devices
