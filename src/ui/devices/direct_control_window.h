#pragma once
// Direct control: pick an area to see which preset it is in, send it a
// preset, or run a macro and change whether it is enabled.

#include <QWidget>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace qv::reactions {
class DirectControl;
}

namespace qv::ui {

class DirectControlWindow : public QWidget {
    Q_OBJECT
public:
    explicit DirectControlWindow(reactions::DirectControl& control, QWidget* parent = nullptr);

    // Fills the lists again from the store.
    void reload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void chooseArea();
    void chooseMacro();
    void send();
    void runMacro();

    reactions::DirectControl& m_control;
    QListWidget* m_areas;
    QListWidget* m_presets;
    QListWidget* m_macros;
    QLabel* m_status;
    QCheckBox* m_enabled;
    QPushButton* m_send;
    QPushButton* m_run;
};

}  // namespace qv::ui
