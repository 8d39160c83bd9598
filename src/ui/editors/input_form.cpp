#include "ui/editors/input_form.h"

#include "ui/common/message_box.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace qv::ui {

InputForm::InputForm(const QString& caption, const QString& name, Decide decide, QWidget* parent)
    : QDialog(parent), m_decide(std::move(decide)) {
    setObjectName(QStringLiteral("InputForm"));
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    m_name = new QLineEdit(name, this);
    m_name->setObjectName(QStringLiteral("NameTextBox"));
    m_name->setMinimumWidth(240);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &InputForm::ok);
}

void InputForm::ok() {
    if (showResult(this, m_decide(m_name->text()))) accept();
}

}  // namespace qv::ui
