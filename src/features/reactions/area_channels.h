#pragma once
// The known channels of each area (AreaChannels): read for the light-levels
// and floating windows, named by the user, and extended by a channel seek.
// All throw store::StoreError; every change runs in one transaction.

#include <QString>

#include <vector>

namespace qv::store {
class Database;
}

namespace qv::reactions {

struct AreaChannel {
    int channel = 0;
    QString name;
    bool operator==(const AreaChannel&) const = default;
};

// The name a seek gives a channel it found.
inline const QString kSeekChannelName = QStringLiteral(" ");

// Channels 1..256 of the area, ascending, each once (the first row of a
// channel stored twice gives its name).
std::vector<AreaChannel> loadAreaChannels(store::Database& db, int area);

// The channel's description: its row is updated, or added when missing. Two
// rows of one channel become one.
void setChannelDescription(store::Database& db, int area, int channel, const QString& name);

// Appends each channel not stored yet with the name " "; returns the added ones.
std::vector<int> addSeekChannels(store::Database& db, int area, const std::vector<int>& channels);

}  // namespace qv::reactions
