#include "features/devices/lamp_interpolation.h"

#include "store/transaction.h"

#include <QSqlQuery>

#include <algorithm>

namespace qv::devices {

std::vector<InterpolatedPoint> interpolate(std::vector<MeasuredPoint> points) {
    std::stable_sort(points.begin(), points.end(), [](const MeasuredPoint& a, const MeasuredPoint& b) {
        return a.percentage > b.percentage;
    });
    std::vector<InterpolatedPoint> rows;
    if (points.empty()) return rows;
    MeasuredPoint high = points.front();
    for (std::size_t k = 1; k < points.size(); ++k) {
        const MeasuredPoint low = points[k];
        if (low.percentage < high.percentage) {
            const int span = high.percentage - low.percentage;
            const double slope = (high.load - low.load) / span;
            for (int i = 0; i <= span; ++i) {
                // The top end is the measured load itself, not low + span x
                // slope, whose rounding would leave two unequal rows at an
                // inner point and count its load twice.
                const double level = i == span ? high.load : low.load + i * slope;
                rows.push_back({low.percentage + i, static_cast<float>(level)});
            }
        }
        high = low;
    }
    return rows;
}

std::vector<MeasuredPoint> readMeasuredPoints(store::Database& main, int fittingId) {
    QSqlQuery q =
        main.run(QStringLiteral("SELECT PowerPercentage, Load FROM LampProperties WHERE LampFitting_ID = "
                                "? ORDER BY PowerPercentage DESC"),
                 {fittingId});
    std::vector<MeasuredPoint> points;
    while (q.next()) points.push_back({q.value(0).toInt(), q.value(1).toDouble()});
    return points;
}

std::vector<InterpolatedPoint> readInterpolations(store::Database& main, int fittingId) {
    QSqlQuery q = main.run(QStringLiteral("SELECT InterpolatedPercentage, InterpolatedLevel FROM "
                                          "LampInterpolations WHERE LampFitting_ID = ? "
                                          "ORDER BY LampInterpolations_ID"),
                           {fittingId});
    std::vector<InterpolatedPoint> rows;
    while (q.next()) rows.push_back({q.value(0).toInt(), static_cast<float>(q.value(1).toDouble())});
    return rows;
}

void rebuildInterpolations(store::Database& main, int fittingId) {
    main.run(QStringLiteral("DELETE FROM LampInterpolations WHERE LampFitting_ID = ?"), {fittingId});
    QSqlQuery insert =
        main.prepare(QStringLiteral("INSERT INTO LampInterpolations (LampFitting_ID, InterpolatedPercentage, "
                                    "InterpolatedLevel) VALUES (?, ?, ?)"));
    for (const InterpolatedPoint& row : interpolate(readMeasuredPoints(main, fittingId))) {
        insert.bindValue(0, fittingId);
        insert.bindValue(1, row.percentage);
        insert.bindValue(2, static_cast<double>(row.level));
        main.exec(insert);
    }
}

void storeMeasuredPoint(store::Database& main, int fittingId, int percentage, double load) {
    store::Transaction transaction(main);
    QSqlQuery update = main.run(
        QStringLiteral("UPDATE LampProperties SET Load = ? WHERE LampFitting_ID = ? AND PowerPercentage = ?"),
        {static_cast<double>(static_cast<float>(load)), fittingId, percentage});
    if (update.numRowsAffected() == 0) {
        main.run(QStringLiteral(
                     "INSERT INTO LampProperties (LampFitting_ID, PowerPercentage, Load) VALUES (?, ?, ?)"),
                 {fittingId, percentage, static_cast<double>(static_cast<float>(load))});
    }
    rebuildInterpolations(main, fittingId);
    transaction.commit();
}

void deleteMeasuredPoint(store::Database& main, int fittingId, int percentage) {
    store::Transaction transaction(main);
    main.run(QStringLiteral("DELETE FROM LampProperties WHERE LampFitting_ID = ? AND PowerPercentage = ?"),
             {fittingId, percentage});
    rebuildInterpolations(main, fittingId);
    transaction.commit();
}

QString interpolationLine(const InterpolatedPoint& point) {
    return QStringLiteral("%1%   =%2").arg(point.percentage).arg(static_cast<double>(point.level), 0, 'f', 5);
}

QStringList interpolationLines(store::Database& main, int fittingId) {
    QStringList lines;
    for (const InterpolatedPoint& row : readInterpolations(main, fittingId))
        lines.append(interpolationLine(row));
    return lines;
}

}  // namespace qv::devices
