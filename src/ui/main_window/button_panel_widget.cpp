#include "ui/main_window/button_panel_widget.h"

#include "features/reactions/button_panel.h"
#include "ui/common/units.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStackedLayout>

namespace qv::ui {

int buttonColumnsFor(int count) {
    if (count <= 4) return count;
    if (count <= 12) return count / 2 > 4 ? 6 : 4;
    return 6;
}

ButtonPanelWidget::ButtonPanelWidget(reactions::ButtonPanel& panel, QWidget* parent)
    : QWidget(parent), m_panel(panel) {
    setObjectName(QStringLiteral("ButtonPanel"));
    auto* grid = new QGridLayout(this);
    grid->setSpacing(8);
    const int count = m_panel.count();
    const int columns = std::max(1, buttonColumnsFor(count));
    m_buttons.assign(count + 1, nullptr);
    m_places.assign(count + 1, nullptr);
    for (int i = 1; i <= count; ++i) {
        // The place label lies under the button and takes the right press
        // when the button is hidden.
        auto* place = new QLabel(this);
        place->setObjectName(QStringLiteral("InvisiblebuttonLabel%1").arg(i));
        place->setMinimumSize(110, 54);
        place->setFrameShape(QFrame::NoFrame);
        place->installEventFilter(this);
        auto* button = new QPushButton(this);
        button->setObjectName(QStringLiteral("MacroButton%1").arg(i));
        button->setMinimumSize(110, 54);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i] { emit pressed(i); });
        const int row = (i - 1) / columns, column = (i - 1) % columns;
        grid->addWidget(place, row, column);
        grid->addWidget(button, row, column);
        m_buttons[i] = button;
        m_places[i] = place;
        refresh(i);
    }
    connect(&m_panel, &reactions::ButtonPanel::changed, this, &ButtonPanelWidget::refresh);
}

QPushButton* ButtonPanelWidget::button(int index) const {
    return index >= 1 && index < static_cast<int>(m_buttons.size()) ? m_buttons[index] : nullptr;
}

void ButtonPanelWidget::refresh(int index) {
    QPushButton* b = button(index);
    if (!b) return;
    const reactions::ButtonFace& face = m_panel.button(index);
    b->setText(face.caption);
    b->setVisible(!face.hidden);
    if (face.colour) {
        const QColor back = colourFromStored(*face.colour);
        const QColor text = back.lightness() < 128 ? Qt::white : Qt::black;
        b->setStyleSheet(
            QStringLiteral("QPushButton { background-color: %1; color: %2; }").arg(back.name(), text.name()));
    } else {
        b->setStyleSheet({});
    }
}

bool ButtonPanelWidget::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        for (int i = 1; i < static_cast<int>(m_buttons.size()); ++i) {
            if (watched == m_buttons[i] || watched == m_places[i]) {
                emit editRequested(i);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qv::ui
