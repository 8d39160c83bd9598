#pragma once
// The interpolation table of a lamp type: the load of one lamp at every whole
// percentage between its lowest and highest measured point, straight lines
// between neighbouring points. Each segment writes both of its ends, so an
// inner measured percentage has two rows; both carry the measured load
// exactly, which is what lets the report count them once.

#include "store/database.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace qv::devices {

struct MeasuredPoint {
    int percentage = 0;  // PowerPercentage
    double load = 0;     // Load of one lamp
};

struct InterpolatedPoint {
    int percentage = 0;  // InterpolatedPercentage
    float level = 0;     // InterpolatedLevel, single precision as stored
    bool operator==(const InterpolatedPoint&) const = default;
};

// points in any order; rows in the order they are written (highest segment
// first, each segment from its low end up).
std::vector<InterpolatedPoint> interpolate(std::vector<MeasuredPoint> points);

// Stores a measured point (replacing the load of an existing percentage) and
// rebuilds the type's table, all in one transaction. Throws StoreError.
void storeMeasuredPoint(store::Database& main, int fittingId, int percentage, double load);
// Removes a measured point and rebuilds the table, in one transaction.
void deleteMeasuredPoint(store::Database& main, int fittingId, int percentage);
// Rebuilds the type's table from its measured points; inside the caller's transaction.
void rebuildInterpolations(store::Database& main, int fittingId);

std::vector<MeasuredPoint> readMeasuredPoints(store::Database& main, int fittingId);
std::vector<InterpolatedPoint> readInterpolations(store::Database& main, int fittingId);

// The lamp-properties window's list: "50%   =30.00000".
QString interpolationLine(const InterpolatedPoint& point);
QStringList interpolationLines(store::Database& main, int fittingId);

}  // namespace qv::devices
