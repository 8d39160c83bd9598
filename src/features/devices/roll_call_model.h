#pragma once
// RollCallFlexGrid: one row per device being polled, with its tries left and
// the version it answered with. Kept by the roll-call engine; the progress
// window shows it.

#include <QAbstractTableModel>
#include <QString>

#include <vector>

namespace qv::devices {

class RollCallProgressModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { NameColumn, DeviceColumn, CodeColumn, BoxColumn, TriesColumn, VersionColumn, ColumnCount };

    struct Row {
        QString rollCallName;
        QString device;
        QString deviceCode;  // the stored device code text, shown under "Device_ID"
        int box = 0;
        int triesLeft = 3;
        QString version;  // empty until answered
    };

    explicit RollCallProgressModel(QObject* parent = nullptr);

    void append(const std::vector<Row>& rows);
    void clear();
    Row& row(int i) { return m_rows[static_cast<std::size_t>(i)]; }
    const std::vector<Row>& rows() const { return m_rows; }
    // Tells the views that row i changed.
    void rowChanged(int i);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<Row> m_rows;
};

}  // namespace qv::devices
