#pragma once
// The program's settings: the one row of Config and the one row of Comms,
// loaded once at start-up and read by every part from then on.

#include "store/settings_loaders.h"

#include <QStringList>

namespace qv::store {
class Database;
}

namespace qv::config {

struct Settings {
    store::ConfigSettings config;
    store::CommsSettings comms;
};

struct LoadedSettings {
    Settings settings;
    bool configRowFound = false;
    bool commsRowFound = false;
    // One text per stored value that was out of range and has been replaced,
    // for the monitor.
    QStringList adjustments;
};

// What the configuration shows before a row is read, and so what OK stores
// when a table has no row: the 8-button layout, 31.8 South, 115.95 East,
// GMT+8, and empty number boxes (0, then limited: the release rate becomes
// 50, the USB delay 25). Check boxes keep the store's defaults.
Settings initialSettings();

// Brings every limited value into its range; returns a text per change.
QStringList applyLimits(Settings& settings);

// Reads both rows; a missing row gives its part of initialSettings(). Values
// are then limited. Throws StoreError when a table cannot be read.
LoadedSettings loadSettings(store::Database& main);

}  // namespace qv::config
