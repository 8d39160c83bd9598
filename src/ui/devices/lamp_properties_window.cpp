#include "ui/devices/lamp_properties_window.h"
#include "ui/devices/lamp_type_choices.h"

#include "features/devices/lamp_interpolation.h"
#include "ui/common/message_box.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace qv::ui {

LampPropertiesWindow::LampPropertiesWindow(store::Database& main, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_main(main),
      m_editors(main),
      m_types(new QComboBox(this)),
      m_percentage(new QLineEdit(this)),
      m_load(new QLineEdit(this)),
      m_points(new QListWidget(this)),
      m_table(new QListWidget(this)) {
    setWindowTitle(tr("Lamp Properties"));
    m_types->setObjectName("lampTypeCombo");
    m_percentage->setObjectName("percentageField");
    m_load->setObjectName("loadField");
    m_points->setObjectName("measuredList");
    m_table->setObjectName("interpolationList");
    auto* enter = new QPushButton(tr("Enter"), this);
    enter->setObjectName("enterbutton");
    auto* remove = new QPushButton(tr("Remove point"), this);
    remove->setObjectName("removeButton");

    auto* fields = new QFormLayout;
    fields->addRow(tr("Lamp type"), m_types);
    fields->addRow(tr("Power percentage"), m_percentage);
    fields->addRow(tr("Load of one lamp"), m_load);
    auto* layout = new QGridLayout(this);
    layout->addLayout(fields, 0, 0, 1, 2);
    layout->addWidget(enter, 1, 0);
    layout->addWidget(remove, 1, 1);
    layout->addWidget(new QLabel(tr("Measured points"), this), 2, 0);
    layout->addWidget(new QLabel(tr("Interpolated loads"), this), 2, 1);
    layout->addWidget(m_points, 3, 0);
    layout->addWidget(m_table, 3, 1);
    layout->setRowStretch(3, 1);
    resize(460, 420);

    connect(m_types, &QComboBox::currentIndexChanged, this, &LampPropertiesWindow::showPoints);
    connect(enter, &QPushButton::clicked, this, [this] {
        const store::Outcome outcome =
            m_editors.enterMeasuredPoint(chosenId(), m_percentage->text(), m_load->text());
        if (!outcome.message.isEmpty())
            showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
        if (outcome.ok) showPoints();
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const QListWidgetItem* item = m_points->currentItem();
        if (!item) return;
        const store::Outcome outcome =
            m_editors.removeMeasuredPoint(chosenId(), item->data(Qt::UserRole).toInt());
        if (!outcome.message.isEmpty())
            showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
        showPoints();
    });
    reload();
}

void LampPropertiesWindow::reload() {
    const int chosen = chosenId();
    QSignalBlocker block(m_types);
    fillLampTypes(m_types, m_editors, chosen, this);
    showPoints();
}

void LampPropertiesWindow::showPoints() {
    m_points->clear();
    m_table->clear();
    if (chosenId() <= 0) return;
    try {
        for (const devices::MeasuredPoint& point : devices::readMeasuredPoints(m_main, chosenId())) {
            auto* item = new QListWidgetItem(tr("%1% = %2").arg(point.percentage).arg(point.load), m_points);
            item->setData(Qt::UserRole, point.percentage);
        }
        m_table->addItems(devices::interpolationLines(m_main, chosenId()));
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
}

int LampPropertiesWindow::chosenId() const {
    return m_types->currentData().isValid() ? m_types->currentData().toInt() : 0;
}

}  // namespace qv::ui
