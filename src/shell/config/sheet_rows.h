#pragma once
// The rows of the area and channel name sheet as read, before they mean
// anything: column A the area number, B the area name, C the channel
// number, D the channel name. Reading starts at the sheet's second row (the
// first holds the headings) and stops before the first row whose column A is
// empty.

#include <QString>
#include <vector>

namespace qv::config {

struct SheetRow {
    int line = 0;  // the row's number in the sheet, 2 for the first one read
    QString area;
    QString areaName;
    QString channel;
    QString channelName;
};

struct SheetRead {
    bool ok = false;
    QString error;  // why the file could not be read, when not ok
    std::vector<SheetRow> rows;
};

}  // namespace qv::config
