#pragma once
// The monitor list as the grid sees it: the engine's MonitorModel, with its
// inserts and the drops of the 10,000-row cap gathered and passed on once per
// flush (one removal and one insertion at most), so a flooded network costs a
// few model signals a pass instead of two per record. Colours come as brushes.

#include "store/monitor_model.h"

#include <QAbstractTableModel>
#include <QTimer>

namespace qv::ui {

class MonitorBatchModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    // How long new rows may wait before they are shown.
    static constexpr int kFlushIntervalMs = 20;

    explicit MonitorBatchModel(store::MonitorModel& source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // While paused the grid keeps what it shows; the rows heard meanwhile
    // appear at the next flush after resuming (less those the cap dropped).
    void setPaused(bool paused);
    bool paused() const { return m_paused; }
    // Passes on what is pending now (tests and the flush timer).
    void flush();

    store::MonitorModel& source() const { return m_source; }
    // The source row shown in a row of this model, or -1 once dropped.
    int sourceRow(int row) const;

signals:
    // A flush added rows (the last one is the newest).
    void rowsShown(int first, int last);

private:
    void schedule();

    store::MonitorModel& m_source;
    QTimer m_timer;
    int m_shown = 0;    // rows this model reports
    int m_dropped = 0;  // source rows dropped from the front since the last flush
    bool m_paused = false;
};

}  // namespace qv::ui
