#include "ui/devices/lamp_type_window.h"

#include "features/devices/lamp_editors.h"
#include "ui/common/message_box.h"

#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qv::ui {

namespace {

QDoubleSpinBox* wattsBox(QWidget* parent, const char* name) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(name);
    box->setRange(0, 100000);
    box->setDecimals(1);
    box->setSuffix(QStringLiteral(" W"));
    return box;
}

}  // namespace

LampTypeWindow::LampTypeWindow(store::Database& main, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_editors(main),
      m_types(new QListWidget(this)),
      m_description(new QLineEdit(this)),
      m_wattage(wattsBox(this, "wattageField")),
      m_losses(wattsBox(this, "lossesField")) {
    setWindowTitle(tr("Lamp Types"));
    m_types->setObjectName("lampTypeList");
    m_description->setObjectName("descriptionField");
    auto* add = new QPushButton(tr("Add"), this);
    auto* update = new QPushButton(tr("Update"), this);
    auto* remove = new QPushButton(tr("Delete"), this);
    add->setObjectName("addButton");
    update->setObjectName("updateButton");
    remove->setObjectName("deleteButton");

    auto* fields = new QFormLayout;
    fields->addRow(tr("Description"), m_description);
    fields->addRow(tr("Rated wattage"), m_wattage);
    fields->addRow(tr("Losses"), m_losses);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(update);
    buttons->addWidget(remove);
    fields->addRow(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_types, 1);
    layout->addLayout(fields, 1);
    resize(520, 260);

    connect(m_types, &QListWidget::currentRowChanged, this, &LampTypeWindow::showChosen);
    connect(add, &QPushButton::clicked, this, [this] {
        answer(m_editors.addLampType(m_description->text(), m_wattage->value(), m_losses->value()));
    });
    connect(update, &QPushButton::clicked, this, [this] {
        answer(m_editors.updateLampType(chosenId(), m_description->text(), m_wattage->value(),
                                        m_losses->value()));
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        if (chosenId() <= 0) return;
        if (!askYesNo(this,
                      tr("Delete the lamp type %1 with its measured points and its lamps on channels?")
                          .arg(m_types->currentItem()->text()),
                      {}, true))
            return;
        answer(m_editors.deleteLampType(chosenId()));
    });
    reload();
}

void LampTypeWindow::reload() {
    const QString chosen = m_types->currentItem() ? m_types->currentItem()->text() : m_description->text();
    m_types->clear();
    try {
        for (const devices::LampTypeRow& row : m_editors.lampTypes()) {
            auto* item = new QListWidgetItem(row.description, m_types);
            item->setData(Qt::UserRole, row.fittingId);
            item->setData(Qt::UserRole + 1, row.ratedWattage);
            item->setData(Qt::UserRole + 2, row.losses);
            if (row.description == chosen) m_types->setCurrentItem(item);
        }
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
}

void LampTypeWindow::showChosen() {
    const QListWidgetItem* item = m_types->currentItem();
    if (!item) return;
    m_description->setText(item->text());
    m_wattage->setValue(item->data(Qt::UserRole + 1).toDouble());
    m_losses->setValue(item->data(Qt::UserRole + 2).toDouble());
}

int LampTypeWindow::chosenId() const {
    return m_types->currentItem() ? m_types->currentItem()->data(Qt::UserRole).toInt() : 0;
}

void LampTypeWindow::answer(const store::Outcome& outcome) {
    if (!outcome.message.isEmpty())
        showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
    if (outcome.ok) reload();
}

}  // namespace qv::ui
