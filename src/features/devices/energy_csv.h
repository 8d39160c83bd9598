#pragma once
// The energy report as CSV for other programs: the EnergyUsage rows in one
// file and the per-channel totals beside it ("report.csv" and
// "report-totals.csv"). Comma-separated, a header line, fields quoted when
// they hold a comma, a quote or a line break. Each file is written whole or
// not at all.

#include "features/devices/energy_totals.h"

#include <QString>
#include <QVariant>

#include <vector>

namespace qv::devices {

struct EnergyUsageRow {
    QVariant id;
    QString dateTimeStamp;
    QVariant area;
    QVariant channel;
    QVariant level;
    double powerUsage = 0;
};

QString csvField(const QString& text);
QString totalsCsvPath(const QString& csvPath);

// False with the reason in *error when a file cannot be written.
bool writeEnergyCsv(const QString& csvPath, const std::vector<EnergyUsageRow>& rows,
                    const std::vector<ChannelEnergy>& totals, QString* error);

}  // namespace qv::devices
