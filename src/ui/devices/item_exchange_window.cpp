#include "ui/devices/item_exchange_window.h"

#include "features/exchange/item_exchange.h"
#include "shell/engine.h"

#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTime>
#include <QVBoxLayout>

namespace qv::ui {

ItemExchangeWindow::ItemExchangeWindow(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_engine(engine),
      m_state(new QLabel(this)),
      m_socket(new QLabel(this)),
      m_switch(new QPushButton(this)),
      m_items(new QTableWidget(0, 3, this)) {
    setWindowTitle(tr("DDE Communications"));
    m_state->setObjectName("stateLabel");
    m_socket->setObjectName("socketLabel");
    m_switch->setObjectName("switchButton");
    m_items->setObjectName("itemTable");
    m_socket->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_items->setHorizontalHeaderLabels({tr("Item"), tr("Value"), tr("Changed at")});
    m_items->verticalHeader()->hide();
    m_items->horizontalHeader()->setStretchLastSection(true);
    m_items->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_items->setColumnWidth(0, 180);

    auto* fields = new QFormLayout;
    fields->addRow(tr("Item exchange"), m_state);
    fields->addRow(tr("Socket"), m_socket);
    fields->addRow(m_switch);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(new QLabel(tr("Items changed while this window is open:"), this));
    layout->addWidget(m_items, 1);
    resize(520, 380);

    connect(m_switch, &QPushButton::clicked, this,
            [this] { m_engine.setItemExchange(!m_engine.itemExchangeOn()); });
    connect(&engine, &shell::Engine::itemExchangeChanged, this, &ItemExchangeWindow::refresh);
    refresh();
}

void ItemExchangeWindow::refresh() {
    follow();
    const exchange::ItemExchange* exchange = m_engine.itemExchange();
    const bool on = m_engine.itemExchangeOn();
    m_state->setText(on ? tr("listening, %n client(s)", nullptr, exchange->clientCount()) : tr("off"));
    m_socket->setText(exchange ? exchange->socketPath() : tr("(made when it is first turned on)"));
    m_switch->setText(on ? tr("Stop") : tr("Start"));
}

void ItemExchangeWindow::follow() {
    exchange::ItemExchange* exchange = m_engine.itemExchange();
    if (!exchange || exchange == m_followed) return;
    m_followed = exchange;
    connect(exchange, &exchange::ItemExchange::itemChanged, this, &ItemExchangeWindow::showItem);
}

void ItemExchangeWindow::showItem(const QString& item, const QString& text) {
    const auto found = m_items->findItems(item, Qt::MatchExactly);
    int row = -1;
    for (const QTableWidgetItem* cell : found)
        if (cell->column() == 0) row = cell->row();
    if (row < 0) {
        row = m_items->rowCount();
        m_items->insertRow(row);
        m_items->setItem(row, 0, new QTableWidgetItem(item));
    }
    m_items->setItem(row, 1, new QTableWidgetItem(text));
    m_items->setItem(row, 2, new QTableWidgetItem(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))));
}

}  // namespace qv::ui
