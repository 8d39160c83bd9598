#include "features/devices/roll_call_model.h"

namespace qv::devices {

RollCallProgressModel::RollCallProgressModel(QObject* parent) : QAbstractTableModel(parent) {}

void RollCallProgressModel::append(const std::vector<Row>& rows) {
    if (rows.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), rows.begin(), rows.end());
    endInsertRows();
}

void RollCallProgressModel::clear() {
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void RollCallProgressModel::rowChanged(int i) {
    emit dataChanged(index(i, 0), index(i, ColumnCount - 1));
}

int RollCallProgressModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int RollCallProgressModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RollCallProgressModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || role != Qt::DisplayRole) return {};
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    switch (index.column()) {
        case NameColumn:
            return row.rollCallName;
        case DeviceColumn:
            return row.device;
        case CodeColumn:
            return row.deviceCode;
        case BoxColumn:
            return QString::number(row.box);
        case TriesColumn:
            return QString::number(row.triesLeft);
        case VersionColumn:
            return row.version;
        default:
            return {};
    }
}

QVariant RollCallProgressModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case NameColumn:
            return QStringLiteral("RollCall Name");
        case DeviceColumn:
            return QStringLiteral("Device");
        case CodeColumn:
            return QStringLiteral("Device_ID");
        case BoxColumn:
            return QStringLiteral("Box");
        case TriesColumn:
            return QStringLiteral("Tries Left");
        case VersionColumn:
            return QStringLiteral("Version");
        default:
            return {};
    }
}

}  // namespace qv::devices
