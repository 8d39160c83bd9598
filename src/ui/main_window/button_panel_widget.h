#pragma once
// The panel of 4 to 24 macro buttons: captions, colours and hidden marks
// follow the engine's ButtonPanel live. A right press on a button, or on the
// place label of a hidden one, asks for its editor.

#include <QPushButton>
#include <QWidget>

#include <vector>

namespace qv::reactions {
class ButtonPanel;
}

namespace qv::ui {

class ButtonPanelWidget : public QWidget {
    Q_OBJECT
public:
    explicit ButtonPanelWidget(reactions::ButtonPanel& panel, QWidget* parent = nullptr);

    QPushButton* button(int index) const;  // 1..count

signals:
    // A left press: the window cues the button's macro.
    void pressed(int index);
    void editRequested(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh(int index);

    reactions::ButtonPanel& m_panel;
    std::vector<QPushButton*> m_buttons;  // index 0 unused
    std::vector<QWidget*> m_places;       // InvisiblebuttonLabel per place
};

// Columns of the layout for N buttons: one row of 4, two rows up to 12, and
// rows of 6 for 18 and 24.
int buttonColumnsFor(int count);

}  // namespace qv::ui
