#include "ui/desktop/monitor_batch_model.h"

#include "ui/common/units.h"

#include <QBrush>

namespace qv::ui {

MonitorBatchModel::MonitorBatchModel(store::MonitorModel& source, QObject* parent)
    : QAbstractTableModel(parent), m_source(source), m_shown(source.rowCount()) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(kFlushIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &MonitorBatchModel::flush);
    connect(&m_source, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex&, int first, int last) {
                // The cap only ever drops from the front.
                if (first == 0) m_dropped += last - first + 1;
                schedule();
            });
    connect(&m_source, &QAbstractItemModel::rowsInserted, this, &MonitorBatchModel::schedule);
    connect(&m_source, &QAbstractItemModel::modelReset, this, [this] {
        beginResetModel();
        m_shown = m_source.rowCount();
        m_dropped = 0;
        endResetModel();
    });
}

int MonitorBatchModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_shown;
}

int MonitorBatchModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : store::MonitorModel::kColumnCount;
}

int MonitorBatchModel::sourceRow(int row) const {
    const int at = row - m_dropped;
    return at >= 0 && at < m_source.rowCount() ? at : -1;
}

QVariant MonitorBatchModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int at = sourceRow(index.row());
    if (at < 0) return {};
    const QModelIndex from = m_source.index(at, index.column());
    switch (role) {
        case Qt::BackgroundRole:
            return QBrush(colourFromRgb(static_cast<int>(
                m_source.data(from, store::MonitorModel::BackgroundRgbRole).value<quint32>())));
        case Qt::ForegroundRole: {
            const QVariant text = m_source.data(from, store::MonitorModel::TextRgbRole);
            if (!text.isValid()) return {};
            return QBrush(colourFromRgb(static_cast<int>(text.value<quint32>())));
        }
        default:
            return m_source.data(from, role);
    }
}

QVariant MonitorBatchModel::headerData(int section, Qt::Orientation orientation, int role) const {
    return m_source.headerData(section, orientation, role);
}

void MonitorBatchModel::setPaused(bool paused) {
    m_paused = paused;
    if (!paused) schedule();
}

void MonitorBatchModel::schedule() {
    if (!m_paused && !m_timer.isActive()) m_timer.start();
}

void MonitorBatchModel::flush() {
    m_timer.stop();
    if (m_paused) return;
    const int drop = std::min(m_dropped, m_shown);
    if (drop > 0) {
        beginRemoveRows({}, 0, drop - 1);
        m_shown -= drop;
        m_dropped -= drop;
        endRemoveRows();
    }
    // Rows dropped beyond what was shown were never seen here.
    m_dropped = 0;
    const int total = m_source.rowCount();
    if (total > m_shown) {
        const int first = m_shown;
        beginInsertRows({}, first, total - 1);
        m_shown = total;
        endInsertRows();
        emit rowsShown(first, total - 1);
    }
}

}  // namespace qv::ui
