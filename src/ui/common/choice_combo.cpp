#include "ui/common/choice_combo.h"

#include <QSignalBlocker>

namespace qv::ui {

void fillCombo(QComboBox* combo, const std::vector<reactions::Choice>& choices) {
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (const reactions::Choice& c : choices) combo->addItem(c.text, c.id);
}

void fillList(QListWidget* list, const std::vector<reactions::Choice>& choices) {
    const QSignalBlocker quiet(list);
    list->clear();
    for (const reactions::Choice& c : choices) {
        auto* item = new QListWidgetItem(c.text, list);
        item->setData(Qt::UserRole, c.id);
    }
}

int currentChoiceId(const QComboBox* combo, int fallback) {
    const QVariant id = combo->currentData();
    return id.isValid() ? id.toInt() : fallback;
}

bool selectChoiceId(QComboBox* combo, int id) {
    const int index = combo->findData(id);
    if (index < 0) return false;
    combo->setCurrentIndex(index);
    return true;
}

}  // namespace qv::ui
