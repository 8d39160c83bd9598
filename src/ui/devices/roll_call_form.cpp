#include "ui/devices/roll_call_form.h"

#include "features/reactions/choice_lists.h"
#include "ui/common/message_box.h"
#include "ui/common/named_button.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace qv::ui {

namespace {
constexpr int kDeviceIdRole = Qt::UserRole;
constexpr int kBoxRole = Qt::UserRole + 1;
}  // namespace

RollCallForm::RollCallForm(store::Database& main, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_main(main),
      m_editor(main),
      m_names(new QComboBox(this)),
      m_devices(new QListWidget(this)),
      m_types(new QComboBox(this)),
      m_box(new QLineEdit(this)),
      m_description(new QLineEdit(this)),
      m_macroCheck(new QCheckBox(tr("Run a macro"), this)),
      m_macro(new QComboBox(this)),
      m_emailCheck(new QCheckBox(tr("E-mail the report to"), this)),
      m_recipients(new QLineEdit(this)) {
    setWindowTitle(tr("Roll Call"));
    m_names->setObjectName("RollCallNameCombo");
    m_names->setEditable(true);
    m_names->setInsertPolicy(QComboBox::NoInsert);
    m_devices->setObjectName("devicesList");
    m_types->setObjectName("deviceTypeCombo");
    m_box->setObjectName("boxField");
    m_description->setObjectName("descriptionField");
    m_macroCheck->setObjectName("MacroCheck");
    m_macro->setObjectName("macroCombo");
    m_emailCheck->setObjectName("emailCheck");
    m_recipients->setObjectName("recipientsField");
    m_recipients->setPlaceholderText(tr("addresses separated by ;"));

    auto* deleteRollCall = namedButton(tr("Delete Roll Call"), "deleteRollCallButton", this);
    auto* addDevice = namedButton(tr("Add Device"), "addDeviceButton", this);
    auto* deleteDevice = namedButton(tr("Delete Device"), "deleteDeviceButton", this);
    auto* saveActions = namedButton(tr("Save Actions"), "saveActionsButton", this);
    auto* exit = namedButton(tr("Exit"), "exitButton", this);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(tr("Roll Call Name"), this));
    nameRow->addWidget(m_names, 1);
    nameRow->addWidget(deleteRollCall);

    auto* devicesBox = new QGroupBox(tr("Installed devices (tick those on this Roll Call)"), this);
    auto* devicesLayout = new QVBoxLayout(devicesBox);
    devicesLayout->addWidget(m_devices, 1);
    auto* newDevice = new QFormLayout;
    newDevice->addRow(tr("Device type"), m_types);
    newDevice->addRow(tr("Box number"), m_box);
    newDevice->addRow(tr("Description"), m_description);
    devicesLayout->addLayout(newDevice);
    auto* deviceButtons = new QHBoxLayout;
    deviceButtons->addWidget(addDevice);
    deviceButtons->addWidget(deleteDevice);
    deviceButtons->addStretch(1);
    devicesLayout->addLayout(deviceButtons);

    auto* actionsBox = new QGroupBox(tr("When a device does not answer"), this);
    auto* actions = new QGridLayout(actionsBox);
    actions->addWidget(m_macroCheck, 0, 0);
    actions->addWidget(m_macro, 0, 1);
    actions->addWidget(m_emailCheck, 1, 0);
    actions->addWidget(m_recipients, 1, 1);
    actions->addWidget(saveActions, 2, 1, Qt::AlignRight);
    actions->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addWidget(devicesBox, 1);
    layout->addWidget(actionsBox);
    layout->addWidget(exit, 0, Qt::AlignRight);
    resize(460, 520);

    connect(m_names, &QComboBox::currentTextChanged, this, [this] {
        if (!m_filling) showRollCall();
    });
    connect(m_devices, &QListWidget::itemChanged, this, &RollCallForm::memberTicked);
    connect(addDevice, &QPushButton::clicked, this, [this] {
        if (!shown(m_editor.addInstalledDevice(m_types->currentData().toInt(), m_box->text(),
                                               m_description->text())))
            return;
        m_box->clear();
        m_description->clear();
        showRollCall();
    });
    connect(deleteDevice, &QPushButton::clicked, this, [this] {
        const QListWidgetItem* item = m_devices->currentItem();
        if (!item) return;
        if (shown(m_editor.deleteInstalledDevice(item->data(kDeviceIdRole).toInt(),
                                                 item->data(kBoxRole).toInt())))
            showRollCall();
    });
    connect(deleteRollCall, &QPushButton::clicked, this, [this] {
        if (!shown(m_editor.deleteRollCall(m_names->currentText()))) return;
        m_names->setCurrentText(QString());
        reload();
    });
    connect(saveActions, &QPushButton::clicked, this, [this] {
        const QString name = m_names->currentText();
        if (!shown(m_editor.saveActions(name, m_macroCheck->isChecked(), m_macro->currentText(),
                                        m_emailCheck->isChecked(), m_recipients->text())))
            return;
        refreshNames();
    });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    reload();
}

bool RollCallForm::shown(const store::Outcome& outcome) {
    if (!outcome.message.isEmpty())
        showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
    return outcome.ok;
}

void RollCallForm::refreshNames() {
    const QString name = m_names->currentText();
    m_filling = true;
    try {
        m_names->clear();
        m_names->addItems(m_editor.rollCallNames());
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    m_names->setCurrentText(name);
    m_filling = false;
}

void RollCallForm::reload() {
    refreshNames();
    m_filling = true;
    try {
        m_types->clear();
        for (const devices::DeviceTypeRow& type : m_editor.deviceTypes())
            m_types->addItem(type.device, type.deviceId);
        m_macro->clear();
        for (const reactions::Choice& macro : reactions::macroChoices(m_main)) m_macro->addItem(macro.text);
        m_macro->setCurrentIndex(-1);
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    m_filling = false;
    showRollCall();
}

void RollCallForm::showRollCall() {
    const QString name = m_names->currentText();
    m_filling = true;
    m_devices->clear();
    try {
        const std::vector<devices::MemberKey> members =
            name.trimmed().isEmpty() ? std::vector<devices::MemberKey>{} : m_editor.members(name);
        for (const devices::InstalledDeviceRow& device : m_editor.installedDevices()) {
            auto* item = new QListWidgetItem(
                tr("%1  box %2  %3").arg(device.device).arg(device.box).arg(device.description), m_devices);
            item->setData(kDeviceIdRole, device.deviceId);
            item->setData(kBoxRole, device.box);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            const bool member = std::find(members.begin(), members.end(),
                                          devices::MemberKey{device.deviceId, device.box}) != members.end();
            item->setCheckState(member ? Qt::Checked : Qt::Unchecked);
        }
        const auto actions = name.trimmed().isEmpty() ? std::nullopt : m_editor.actions(name);
        const QString macro = actions ? actions->MacrotoRun : QString();
        const QString recipients = actions ? actions->emailRecipients : QString();
        m_macroCheck->setChecked(!macro.isEmpty());
        m_macro->setCurrentIndex(m_macro->findText(macro));
        m_emailCheck->setChecked(!recipients.isEmpty());
        m_recipients->setText(recipients);
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    m_filling = false;
}

void RollCallForm::memberTicked(QListWidgetItem* item) {
    if (m_filling) return;
    const QString name = m_names->currentText();
    const bool included = item->checkState() == Qt::Checked;
    if (shown(m_editor.setMember(name, item->data(kDeviceIdRole).toInt(), item->data(kBoxRole).toInt(),
                                 included))) {
        refreshNames();
        return;
    }
    m_filling = true;
    item->setCheckState(included ? Qt::Unchecked : Qt::Checked);
    m_filling = false;
}

}  // namespace qv::ui
