#include "macros/threads_model.h"

namespace qv::macros {

MacroThreadsModel::MacroThreadsModel(int slotCount, QObject* parent) : QAbstractListModel(parent) {
    for (int i = 0; i < slotCount; ++i) m_labels.append(QString());
}

int MacroThreadsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_labels.size());
}

QVariant MacroThreadsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() < 0 || index.row() >= m_labels.size()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return m_labels.at(index.row());
        case SlotRole:
            return index.row() + 1;
        default:
            return {};
    }
}

QHash<int, QByteArray> MacroThreadsModel::roleNames() const {
    return {{Qt::DisplayRole, "macroName"}, {SlotRole, "slot"}};
}

QString MacroThreadsModel::ThreadLabel(int slot) const {
    return m_labels.value(slot - 1);
}

void MacroThreadsModel::setThreadLabel(int slot, const QString& name) {
    const int row = slot - 1;
    if (row < 0 || row >= m_labels.size() || m_labels.at(row) == name) return;
    m_labels[row] = name;
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

}  // namespace qv::macros
