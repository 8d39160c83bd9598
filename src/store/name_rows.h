#pragma once
// The stored area, preset and channel names, as rows. Turning them into the
// name tables the labels read (with their ranges) is the caller's business.

#include <QString>
#include <tuple>
#include <vector>

namespace qv::store {

class Database;

struct NameRows {
    std::vector<std::tuple<int, QString>> areas;          // Area, AreaName
    std::vector<std::tuple<int, int, QString>> presets;   // Area, Preset, PresetName
    std::vector<std::tuple<int, int, QString>> channels;  // Area, Channel, Channelname
};

// Rows in ascending order of their numbers. Rows with an empty area, preset or
// channel number are skipped (they name nothing); an empty name reads as "".
// Throws StoreError.
NameRows loadNameRows(Database& main);

}  // namespace qv::store
