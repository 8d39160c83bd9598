#pragma once
// The item exchange (where the DDE server window stood): the socket other
// programs connect to, whether it listens, its clients, a switch, and the
// items as they change.

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;

namespace qv::shell {
class Engine;
}
namespace qv::exchange {
class ItemExchange;
}

namespace qv::ui {

class ItemExchangeWindow : public QWidget {
    Q_OBJECT
public:
    explicit ItemExchangeWindow(shell::Engine& engine, QWidget* parent = nullptr);

    void refresh();

private:
    void follow();
    void showItem(const QString& item, const QString& text);

    shell::Engine& m_engine;
    QPointer<exchange::ItemExchange> m_followed;
    QLabel* m_state;
    QLabel* m_socket;
    QPushButton* m_switch;
    QTableWidget* m_items;
};

}  // namespace qv::ui
