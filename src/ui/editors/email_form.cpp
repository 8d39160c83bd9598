#include "ui/editors/email_form.h"

#include "shell/engine.h"
#include "store/store_error.h"
#include "ui/common/message_box.h"
#include "ui/common/named_button.h"

#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QVBoxLayout>

namespace qv::ui {

EmailForm::EmailForm(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window), m_emails(engine.mainDatabase()) {
    setObjectName(QStringLiteral("emailForm"));
    setWindowTitle(tr("Stored E-mails"));
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("emailcombo"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_recipients = new QLineEdit(this);
    m_recipients->setObjectName(QStringLiteral("RecipientTextbox"));
    m_subject = new QLineEdit(this);
    m_subject->setObjectName(QStringLiteral("subjecttextbox"));
    m_message = new QPlainTextEdit(this);
    m_message->setObjectName(QStringLiteral("Messagetextbox"));

    auto* fields = new QFormLayout;
    fields->addRow(tr("Name"), m_name);
    fields->addRow(tr("To"), m_recipients);
    fields->addRow(tr("Subject"), m_subject);
    fields->addRow(tr("Message"), m_message);
    auto* buttons = new QHBoxLayout;
    auto* create = namedButton(tr("New"), QStringLiteral("NewButton"), this);
    auto* ok = namedButton(tr("OK"), QStringLiteral("OKButton"), this);
    auto* remove = namedButton(tr("Delete"), QStringLiteral("DeleteButton"), this);
    auto* cancel = namedButton(tr("Cancel"), QStringLiteral("CancelButton"), this);
    buttons->addStretch();
    for (QPushButton* b : {create, ok, remove, cancel}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    resize(480, 360);

    connect(m_name, &QComboBox::activated, this, &EmailForm::showChosen);
    connect(create, &QPushButton::clicked, this, [this] {
        m_name->setCurrentIndex(-1);
        m_name->clearEditText();
        clearFields();
    });
    connect(ok, &QPushButton::clicked, this, &EmailForm::save);
    connect(remove, &QPushButton::clicked, this, &EmailForm::remove);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    reload();
}

void EmailForm::reload() {
    try {
        QStringList names;
        QSet<QString> addresses;
        for (const auto& email : m_emails.all()) {
            names << email.name;
            for (const QString& address : email.recipients.split(QLatin1Char(';'), Qt::SkipEmptyParts))
                addresses.insert(address.trimmed());
        }
        m_name->clear();
        m_name->addItems(names);
        m_name->setCurrentIndex(-1);
        QStringList sorted(addresses.begin(), addresses.end());
        sorted.sort(Qt::CaseInsensitive);
        m_recipients->setCompleter(new QCompleter(sorted, m_recipients));
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
    clearFields();
}

void EmailForm::clearFields() {
    m_recipients->clear();
    m_subject->clear();
    m_message->clear();
}

void EmailForm::showChosen() {
    try {
        const auto email = m_emails.find(m_name->currentText());
        if (!email) return;
        m_recipients->setText(email->recipients);
        m_subject->setText(email->subject);
        m_message->setPlainText(email->message);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void EmailForm::save() {
    if (showResult(this, m_emails.save({0, m_name->currentText(), m_recipients->text(), m_subject->text(),
                                        m_message->toPlainText()})))
        reload();
}

void EmailForm::remove() {
    if (m_name->currentText().isEmpty()) return;
    if (showResult(this, m_emails.remove(m_name->currentText()))) reload();
}

}  // namespace qv::ui
