#pragma once
// "RollCall in Progress": the devices being asked (tries left, the version
// each answered with) and the roll calls running.

#include <QWidget>

class QListWidget;
class QTableView;

namespace qv::devices {
class RollCallRunner;
}

namespace qv::ui {

class RollCallWindow : public QWidget {
    Q_OBJECT
public:
    explicit RollCallWindow(devices::RollCallRunner& runner, QWidget* parent = nullptr);

    // Shows the roll calls running now.
    void refreshNames();

private:
    devices::RollCallRunner& m_runner;
    QTableView* m_grid;
    QListWidget* m_names;
};

}  // namespace qv::ui
