#pragma once
// The monitor window MonitorListViewForm: the engine's monitor list in a grid,
// newest row selected and in view unless frozen, the in-box and out-box
// counts, and a filter, pause and CSV export over the rows held.

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTimer;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class MonitorBatchModel;

class MonitorWindow : public QWidget {
    Q_OBJECT
public:
    explicit MonitorWindow(shell::Engine& engine, QWidget* parent = nullptr);

    MonitorBatchModel& rows() const { return *m_rows; }
    QTableView* grid() const { return m_grid; }
    // The visible rows (after the filter) as CSV, header first.
    QString visibleRowsCsv() const;
    bool exportVisibleRows(const QString& fileName) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void applyFilter();
    void showNewest();
    void refreshCaption();

    shell::Engine& m_engine;
    MonitorBatchModel* m_rows = nullptr;
    QSortFilterProxyModel* m_filter = nullptr;
    QTableView* m_grid = nullptr;
    QCheckBox* m_freeze = nullptr;
    QLineEdit* m_filterType = nullptr;
    QLineEdit* m_filterArea = nullptr;
    QLineEdit* m_filterText = nullptr;
    QTimer* m_clock = nullptr;
};

}  // namespace qv::ui
