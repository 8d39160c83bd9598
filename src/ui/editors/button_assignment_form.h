#pragma once
// The button editor for one button place: caption, hide mark, starting
// macro, Save and Delete; the rule grid ("If I hear", "make Label = ",
// "and next Macro = ") with adding and deleting rules. The panel follows at
// once, as the engine reloads it on every change.

#include "features/reactions/button_editor.h"

#include <QColor>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class ButtonAssignmentForm : public QWidget {
    Q_OBJECT
public:
    ButtonAssignmentForm(shell::Engine& engine, int index, QWidget* parent = nullptr);
    void showButton(int index);
    int index() const { return m_index; }

private:
    void save();
    void removeButton();
    void addRule();
    void deleteRule();
    void showRules();
    void showColour();
    void fillPresets();

    reactions::ButtonEditor m_editor;
    reactions::ButtonPanel& m_panel;
    int m_index = 1;
    QColor m_colour = Qt::green;
    QLineEdit* m_caption;
    QCheckBox* m_invisible;
    QComboBox* m_macro;
    QTableWidget* m_rules;
    QComboBox* m_ruleArea;
    QComboBox* m_rulePreset;
    QComboBox* m_ruleCustom;
    QLineEdit* m_ruleLabel;
    QComboBox* m_ruleMacro;
    QPushButton* m_ruleColour;
};

}  // namespace qv::ui
