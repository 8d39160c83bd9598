#include "features/devices/sensor_grid_model.h"

#include "features/devices/messages.h"
#include "features/devices/sensor_interval.h"

#include <map>

namespace qv::devices {

SensorGridModel::SensorGridModel(QObject* parent) : QAbstractTableModel(parent) {}

void SensorGridModel::setSensors(const std::vector<SensorRow>& sensors) {
    std::map<int, Row> previous;
    for (Row& row : m_rows) previous[row.sensor.box] = std::move(row);
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(sensors.size());
    for (const SensorRow& sensor : sensors) {
        Row row;
        if (auto it = previous.find(sensor.box); it != previous.end()) row = it->second;
        row.sensor = sensor;
        m_rows.push_back(std::move(row));
    }
    endResetModel();
}

void SensorGridModel::showResult(int box, int lux, double calibration, const QDateTime& now) {
    for (std::size_t i = 0; i < m_rows.size(); ++i) {
        Row& row = m_rows[i];
        if (row.sensor.box != box) continue;
        if (lux < 0) {
            row.noAnswer = true;
            row.lux = msg::kNoAnswer;
        } else {
            row.noAnswer = false;
            row.lux = luxText(lux * calibration);
            row.respondedAt = now.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        }
        const int r = static_cast<int>(i);
        emit dataChanged(index(r, 0), index(r, ColumnCount - 1));
    }
}

const SensorGridModel::Row* SensorGridModel::rowFor(int box) const {
    for (const Row& row : m_rows)
        if (row.sensor.box == box) return &row;
    return nullptr;
}

int SensorGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int SensorGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SensorGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == NoAnswerRole) return index.column() == BoxColumn && row.noAnswer;
    if (role == TextRgbRole) {
        if (index.column() == BoxColumn && row.noAnswer) return kNoAnswerRgb;
        return {};
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case BoxColumn:
            return row.sensor.box;
        case DescriptionColumn:
            return row.sensor.description;
        case LuxColumn:
            return row.lux;
        case RespondedColumn:
            return row.respondedAt;
        case LogColumn:
            return row.sensor.logThisSensor ? QStringLiteral("Yes") : QStringLiteral("No");
        default:
            return {};
    }
}

QVariant SensorGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case BoxColumn:
            return QStringLiteral("Box#");
        case DescriptionColumn:
            return QStringLiteral("Location/Description");
        case LuxColumn:
            return QStringLiteral("Lux");
        case RespondedColumn:
            return QStringLiteral("last responded at");
        case LogColumn:
            return QStringLiteral("Log?");
        default:
            return {};
    }
}

}  // namespace qv::devices
