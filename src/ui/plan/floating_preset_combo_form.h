#pragma once
// The small window an indicator's Presets entry opens: a preset to send to
// the indicator's area, and on, off, level and flash for its switching
// channels. It closes itself a little after it loses focus.

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace qv::reactions {
class FloatingPreset;
}
namespace qv::shell {
class Engine;
}

namespace qv::ui {

class FloatingPresetComboForm : public QWidget {
    Q_OBJECT
public:
    FloatingPresetComboForm(shell::Engine& engine, QWidget* parent = nullptr);
    ~FloatingPresetComboForm() override;

    // Opens the window for an indicator; false when it has no area.
    bool openFor(int planIndicatorId);
    void go();

protected:
    void changeEvent(QEvent* event) override;

private:
    void loadChannels();

    shell::Engine& m_engine;
    reactions::FloatingPreset& m_preset;
    QComboBox* m_presets;
    QListWidget* m_channels;
    QLabel *m_check, *m_level;
    QPushButton *m_refresh, *m_toggle, *m_flash;
    QSlider* m_slider;
};

}  // namespace qv::ui
