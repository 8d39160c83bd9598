#pragma once
// The small name-entry window of the names window: a caption, a text box and
// OK. The owner decides on the name; a refused name leaves the window open.

#include "features/reactions/editor_result.h"

#include <QDialog>

#include <functional>

class QLineEdit;

namespace qv::ui {

class InputForm : public QDialog {
    Q_OBJECT
public:
    using Decide = std::function<reactions::EditorResult(const QString& name)>;
    InputForm(const QString& caption, const QString& name, Decide decide, QWidget* parent);

private:
    void ok();

    QLineEdit* m_name;
    Decide m_decide;
};

}  // namespace qv::ui
