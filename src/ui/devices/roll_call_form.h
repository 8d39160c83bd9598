#pragma once
// RollCallForm: the roll calls, the installed devices each one asks, and what
// is done when a device stays silent (a macro, an e-mailed report).

#include "features/devices/roll_call_editor.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;

namespace qv::ui {

class RollCallForm : public QWidget {
    Q_OBJECT
public:
    explicit RollCallForm(store::Database& main, QWidget* parent = nullptr);

    // Reads the names, device types, installed devices and macros again.
    void reload();

private:
    // Refills the name list, keeping the name shown.
    void refreshNames();
    void showRollCall();
    void memberTicked(QListWidgetItem* item);
    bool shown(const store::Outcome& outcome);

    store::Database& m_main;
    devices::RollCallEditor m_editor;
    QComboBox* m_names;
    QListWidget* m_devices;
    QComboBox* m_types;
    QLineEdit* m_box;
    QLineEdit* m_description;
    QCheckBox* m_macroCheck;
    QComboBox* m_macro;
    QCheckBox* m_emailCheck;
    QLineEdit* m_recipients;
    bool m_filling = false;
};

}  // namespace qv::ui
