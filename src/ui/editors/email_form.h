#pragma once
// The stored e-mails window: the name list, recipients (completed from the
// addresses already stored), subject and message; New, OK, Delete, Cancel.

#include "editors/email_store.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class EmailForm : public QWidget {
    Q_OBJECT
public:
    explicit EmailForm(shell::Engine& engine, QWidget* parent = nullptr);
    void reload();

private:
    void showChosen();
    void clearFields();
    void save();
    void remove();

    editors::EmailStore m_emails;
    QComboBox* m_name;
    QLineEdit* m_recipients;
    QLineEdit* m_subject;
    QPlainTextEdit* m_message;
};

}  // namespace qv::ui
