#include "ui/editors/custom_code_form.h"

#include "comms/in_box.h"
#include "net/builders.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "store/store_error.h"
#include "ui/common/message_box.h"
#include "ui/common/named_button.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qv::ui {

CustomCodeForm::CustomCodeForm(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window), m_engine(engine), m_codes(engine.mainDatabase()) {
    setObjectName(QStringLiteral("CustomCodeForm"));
    setWindowTitle(tr("Custom Codes"));
    m_name = new QComboBox(this);
    m_name->setObjectName(QStringLiteral("CustomCombo"));
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("CustomCodeTextBox"));
    m_code->setInputMask(QStringLiteral(">nn nn nn nn nn nn nn nn"));
    m_code->setFont(QFont(QStringLiteral("Monospace")));
    m_dollar = new QLineEdit(this);
    m_dollar->setObjectName(QStringLiteral("DollarTextBox"));
    m_dollar->setReadOnly(true);
    m_listen = new QCheckBox(tr("Listen"), this);
    m_listen->setObjectName(QStringLiteral("ListenCheck"));

    auto* fields = new QFormLayout;
    fields->addRow(tr("Name"), m_name);
    auto* codeRow = new QHBoxLayout;
    auto* sum = namedButton(tr("Checksum"), QStringLiteral("calcchecksum"), this);
    codeRow->addWidget(m_code, 1);
    codeRow->addWidget(sum);
    fields->addRow(tr("Code"), codeRow);
    fields->addRow(tr("Dollar form"), m_dollar);
    fields->addRow(QString(), m_listen);
    auto* buttons = new QHBoxLayout;
    auto* create = namedButton(tr("New"), QStringLiteral("NewButton"), this);
    auto* ok = namedButton(tr("Save"), QStringLiteral("SaveButton"), this);
    auto* del = namedButton(tr("Delete"), QStringLiteral("DeleteButton"), this);
    auto* send = namedButton(tr("Test"), QStringLiteral("TestButton"), this);
    auto* exit = namedButton(tr("Exit"), QStringLiteral("ExitButton"), this);
    buttons->addStretch();
    for (QPushButton* b : {create, ok, del, send, exit}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(460, 200);

    m_engine.inbox().addReactions(&m_listener);
    connect(m_listen, &QCheckBox::toggled, this, [this](bool on) { m_listener.setListening(on); });
    connect(&m_listener, &editors::CustomCodeListener::heard, this,
            [this](const QString& hex) { m_code->setText(editors::CustomCodeStore::spaced(hex)); });
    connect(m_code, &QLineEdit::textChanged, this, &CustomCodeForm::changed);
    connect(m_name, &QComboBox::activated, this, &CustomCodeForm::showChosen);
    connect(create, &QPushButton::clicked, this, [this] {
        m_name->setCurrentIndex(-1);
        m_name->clearEditText();
        m_code->clear();
    });
    connect(ok, &QPushButton::clicked, this, &CustomCodeForm::save);
    connect(del, &QPushButton::clicked, this, &CustomCodeForm::remove);
    connect(send, &QPushButton::clicked, this, &CustomCodeForm::test);
    connect(sum, &QPushButton::clicked, this, &CustomCodeForm::checksum);
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    reload();
}

CustomCodeForm::~CustomCodeForm() {
    m_engine.inbox().removeReactions(&m_listener);
}

void CustomCodeForm::reload() {
    try {
        m_name->clear();
        for (const auto& code : m_codes.all()) m_name->addItem(code.name);
        m_name->setCurrentIndex(-1);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
    m_code->clear();
}

void CustomCodeForm::changed() {
    m_dollar->setText(editors::CustomCodeStore::dollarNotation(m_code->text()));
}

void CustomCodeForm::showChosen() {
    m_listen->setChecked(false);
    try {
        if (const auto code = m_codes.find(m_name->currentText())) m_code->setText(code->code);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void CustomCodeForm::save() {
    if (!showResult(this, m_codes.save(m_name->currentText(), m_code->text()))) return;
    if (auto* features = m_engine.features()) {
        features->GetCustomCodeEvents();
        features->GetButtonChanges();
    }
    reload();
}

void CustomCodeForm::remove() {
    if (m_name->currentText().isEmpty()) return;
    if (!showResult(this, m_codes.remove(m_name->currentText()))) return;
    if (auto* features = m_engine.features()) {
        features->GetCustomCodeEvents();
        features->GetButtonChanges();
    }
    reload();
}

void CustomCodeForm::test() {
    if (QString(m_code->text()).remove(QLatin1Char(' ')).isEmpty()) return;
    if (!editors::CustomCodeStore::isHex(m_code->text())) {
        showMessage(this, BoxKind::Critical, editors::CustomCodeStore::kNotHex);
        return;
    }
    m_engine.sendRS232(editors::CustomCodeStore::rawForm(m_code->text()));
}

void CustomCodeForm::checksum() {
    const auto result = net::customCodeChecksumTool(m_code->text().toStdString());
    if (!result.ok) {
        showMessage(this, BoxKind::Information, QString::fromStdString(result.error));
        return;
    }
    m_code->setText(QString::fromStdString(result.text));
}

}  // namespace qv::ui
