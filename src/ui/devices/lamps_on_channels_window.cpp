#include "ui/devices/lamps_on_channels_window.h"
#include "ui/devices/lamp_type_choices.h"

#include "ui/common/message_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <map>

namespace qv::ui {

LampsOnChannelsWindow::LampsOnChannelsWindow(store::Database& main, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_editors(main),
      m_area(new QSpinBox(this)),
      m_channel(new QSpinBox(this)),
      m_types(new QComboBox(this)),
      m_number(new QLineEdit(this)),
      m_lamps(new QListWidget(this)) {
    setWindowTitle(tr("Lamps on Channels"));
    m_area->setObjectName("areaField");
    m_channel->setObjectName("channelField");
    m_types->setObjectName("lampTypeCombo");
    m_number->setObjectName("numberField");
    m_lamps->setObjectName("lampsList");
    m_area->setRange(1, 255);
    m_channel->setRange(1, 256);
    auto* set = new QPushButton(tr("Set"), this);
    set->setObjectName("setButton");

    auto* fields = new QFormLayout;
    fields->addRow(tr("Area"), m_area);
    fields->addRow(tr("Channel"), m_channel);
    fields->addRow(tr("Lamp type"), m_types);
    fields->addRow(tr("Number of lamps (0 takes them off)"), m_number);
    fields->addRow(set);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_lamps, 1);
    resize(380, 360);

    connect(m_area, &QSpinBox::valueChanged, this, &LampsOnChannelsWindow::showLamps);
    connect(m_channel, &QSpinBox::valueChanged, this, &LampsOnChannelsWindow::showLamps);
    connect(set, &QPushButton::clicked, this, [this] {
        const store::Outcome outcome = m_editors.setLampsOnChannel(
            m_area->value(), m_channel->value(), m_types->currentData().toInt(), m_number->text());
        if (!outcome.message.isEmpty())
            showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
        showLamps();
    });
    reload();
}

void LampsOnChannelsWindow::reload() {
    const QVariant chosen = m_types->currentData();
    fillLampTypes(m_types, m_editors, chosen, this);
    showLamps();
}

void LampsOnChannelsWindow::showLamps() {
    m_lamps->clear();
    std::map<int, QString> names;
    for (int i = 0; i < m_types->count(); ++i) names[m_types->itemData(i).toInt()] = m_types->itemText(i);
    try {
        for (const devices::LampsOnChannelRow& row :
             m_editors.lampsOnChannel(m_area->value(), m_channel->value()))
            m_lamps->addItem(tr("%1 x %2").arg(row.number).arg(names[row.fittingId]));
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
}

}  // namespace qv::ui
