#pragma once
// LampsOnChannelsForm: how many lamps of each type hang on a channel.

#include "features/devices/lamp_editors.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace qv::ui {

class LampsOnChannelsWindow : public QWidget {
    Q_OBJECT
public:
    explicit LampsOnChannelsWindow(store::Database& main, QWidget* parent = nullptr);

    void reload();

private:
    void showLamps();

    devices::LampEditors m_editors;
    QSpinBox* m_area;
    QSpinBox* m_channel;
    QComboBox* m_types;
    QLineEdit* m_number;
    QListWidget* m_lamps;
};

}  // namespace qv::ui
