#include "ui/devices/roll_call_window.h"

#include "features/devices/messages.h"
#include "features/devices/roll_call.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QListWidget>
#include <QTableView>

namespace qv::ui {

RollCallWindow::RollCallWindow(devices::RollCallRunner& runner, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_runner(runner),
      m_grid(new QTableView(this)),
      m_names(new QListWidget(this)) {
    setWindowTitle(devices::msg::kRollCallWindowTitle);
    m_grid->setObjectName("RollCallFlexGrid");
    m_names->setObjectName("Rollcalllistbox");
    m_grid->setModel(&runner.grid());
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_grid, 3);
    layout->addWidget(m_names, 1);
    resize(700, 320);
    connect(&runner, &devices::RollCallRunner::started, this, &RollCallWindow::refreshNames);
    connect(&runner, &devices::RollCallRunner::finished, this, &RollCallWindow::refreshNames);
    refreshNames();
}

void RollCallWindow::refreshNames() {
    m_names->clear();
    m_names->addItems(m_runner.Rollcalllistbox());
}

}  // namespace qv::ui
