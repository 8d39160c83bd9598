#pragma once
// The custom-code editor: the name list, the masked code box with its dollar
// notation, Listen (the next messages heard fill the code box), New, Save,
// Delete, Test, the checksum tool and Exit. After a change the custom-code
// events and the button rules are read again, so they see the new code.

#include "editors/custom_codes.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class CustomCodeForm : public QWidget {
    Q_OBJECT
public:
    explicit CustomCodeForm(shell::Engine& engine, QWidget* parent = nullptr);
    ~CustomCodeForm() override;
    void reload();

private:
    void showChosen();
    void save();
    void remove();
    void test();
    void checksum();
    void changed();

    shell::Engine& m_engine;
    editors::CustomCodeStore m_codes;
    editors::CustomCodeListener m_listener;
    QComboBox* m_name;
    QLineEdit* m_code;
    QLineEdit* m_dollar;
    QCheckBox* m_listen;
};

}  // namespace qv::ui
