#pragma once
// LampPropertiesForm: the measured loads of a lamp type at given power
// percentages, and the interpolated table each entered point rebuilds.

#include "features/devices/lamp_editors.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;

namespace qv::ui {

class LampPropertiesWindow : public QWidget {
    Q_OBJECT
public:
    explicit LampPropertiesWindow(store::Database& main, QWidget* parent = nullptr);

    // The lamp types again (another window may have changed them).
    void reload();

private:
    void showPoints();
    int chosenId() const;

    store::Database& m_main;
    devices::LampEditors m_editors;
    QComboBox* m_types;
    QLineEdit* m_percentage;
    QLineEdit* m_load;
    QListWidget* m_points;
    QListWidget* m_table;
};

}  // namespace qv::ui
