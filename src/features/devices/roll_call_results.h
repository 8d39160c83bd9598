#pragma once
// The tables a roll call reads (RollCall, DeviceTypes, DevicesInstalled,
// RollCallActions in the main database) and its results file, a copy of
// rollcalltemplate.db. Every function throws StoreError on a database failure.

#include "store/data_paths.h"
#include "store/database.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

namespace qv::devices {

struct RollCallMember {
    QString rollCallName;
    int deviceId = 0;
    int box = 0;
    QString deviceCode;  // DeviceOpCode as stored: the two hex digits sent
    QString device;      // the type's name
    QString description;
};

// The members of the roll call whose device is installed, in the order they
// were added.
std::vector<RollCallMember> readRollCallMembers(store::Database& main, const QString& name);

struct RollCallActionsRow {
    QString emailRecipients;
    QString MacrotoRun;
};
std::optional<RollCallActionsRow> readRollCallActions(store::Database& main, const QString& name);

// Makes path a fresh copy of the template (replacing an earlier results
// file) and opens it. Without a template a blank results file is made and
// templateMissing set.
store::Database createResultsFile(const store::DataPaths& paths, const QString& path, bool* templateMissing);

// One RollCallResults row per member: not responded, version " ".
void writeResultsRows(store::Database& results, const std::vector<RollCallMember>& members);

// Marks the rows of the device code text and box (in decimal) as responded.
// Returns how many rows changed.
int markResponded(store::Database& results, const QString& deviceCode, int box, const QString& version,
                  const QDateTime& when);

int countNotResponded(store::Database& results);

}  // namespace qv::devices
