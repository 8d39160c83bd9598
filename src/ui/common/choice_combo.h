#pragma once
// Combo boxes and lists filled from the engine's pick lists, the id as item data.

#include "features/reactions/choice_lists.h"

#include <QComboBox>
#include <QListWidget>

#include <vector>

namespace qv::ui {

void fillCombo(QComboBox* combo, const std::vector<reactions::Choice>& choices);
void fillList(QListWidget* list, const std::vector<reactions::Choice>& choices);
// The id of the current item, or fallback when nothing is chosen.
int currentChoiceId(const QComboBox* combo, int fallback = -1);
// Selects the item with this id; false when there is none.
bool selectChoiceId(QComboBox* combo, int id);

}  // namespace qv::ui
