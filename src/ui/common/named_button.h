#pragma once
// A push button with the object name that tests and the window memory find
// it by.

#include <QPushButton>

namespace qv::ui {

inline QPushButton* namedButton(const QString& caption, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace qv::ui
