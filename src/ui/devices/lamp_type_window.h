#pragma once
// LampTypeForm: the lamp types with their rated wattage and losses; add,
// update and delete.

#include "features/devices/lamp_editors.h"

#include <QWidget>

class QDoubleSpinBox;
class QLineEdit;
class QListWidget;

namespace qv::ui {

class LampTypeWindow : public QWidget {
    Q_OBJECT
public:
    explicit LampTypeWindow(store::Database& main, QWidget* parent = nullptr);

    void reload();

private:
    void showChosen();
    int chosenId() const;
    void answer(const store::Outcome& outcome);

    devices::LampEditors m_editors;
    QListWidget* m_types;
    QLineEdit* m_description;
    QDoubleSpinBox* m_wattage;
    QDoubleSpinBox* m_losses;
};

}  // namespace qv::ui
