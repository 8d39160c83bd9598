#pragma once
// "Area status": every area's last preset heard ("unknown" before one is
// heard) and the request waiting in the area status file's Request column.
// Read only; it follows the network once a second.

#include <QWidget>

class QLabel;
class QTableWidget;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class AreaStatusWindow : public QWidget {
    Q_OBJECT
public:
    explicit AreaStatusWindow(shell::Engine& engine, QWidget* parent = nullptr);

    void refresh();

private:
    shell::Engine& m_engine;
    QLabel* m_file;
    QTableWidget* m_grid;
};

}  // namespace qv::ui
