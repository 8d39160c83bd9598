#pragma once
// The energy usage report: every channel-level change the monitor log holds
// between two dates becomes an EnergyUsage row of energyusage.db with the
// load the channel draws at that level (the lamps on the channel times the
// interpolated load of their type). Beside it, EnergyTotals holds each
// channel's energy over the range, and the report can go to CSV too.
//
// The range is from the first date at 00:00:00 to the last date at
// 00:00:00, both included: a report ending today leaves out today's rows.
//
// The whole report is written in one transaction: a report that fails
// leaves the previous one in place.

#include "features/devices/energy_csv.h"
#include "store/data_paths.h"
#include "store/database.h"

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

namespace qv::devices {

// 0..100 as the report advances (for the progress label).
using EnergyProgress = std::function<void(int percent)>;

struct EnergyReportResult {
    bool ok = false;
    int records = 0;
    // The completion message on success, else what went wrong.
    QString message;
    // Each channel's energy over the range, by area and channel.
    std::vector<ChannelEnergy> totals;
};

// The message shown (and printed by the headless command) when done.
QString energyReportCompleteMessage(int records);

EnergyReportResult createEnergyUsageReport(store::Database& main, store::Database& monitorLog,
                                           store::Database& energyUsage, const QDate& from, const QDate& to,
                                           const QString& csvPath = {}, const EnergyProgress& progress = {});

// Opens the three files of the data folder for the report and closes them
// again: the report window's button and `quorvel energy-report`. A missing
// main database or monitor log is reported, never created.
EnergyReportResult createEnergyUsageReport(const store::DataPaths& paths, const QDate& from, const QDate& to,
                                           const QString& csvPath = {}, const EnergyProgress& progress = {});

}  // namespace qv::devices
