#pragma once
// The stored lamp types in a combo, keyed by fitting, the chosen one kept;
// a failed read is shown as a critical box on the window.

#include "features/devices/lamp_editors.h"
#include "ui/common/message_box.h"

#include <QComboBox>

namespace qv::ui {

inline void fillLampTypes(QComboBox* combo, devices::LampEditors& editors, const QVariant& chosen,
                          QWidget* window) {
    combo->clear();
    try {
        for (const devices::LampTypeRow& row : editors.lampTypes()) {
            combo->addItem(row.description, row.fittingId);
            if (row.fittingId == chosen) combo->setCurrentIndex(combo->count() - 1);
        }
    } catch (const std::exception& error) {
        showMessage(window, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
}

}  // namespace qv::ui
