#include "ui/devices/sensors_window.h"

#include "features/devices/sensor_editors.h"
#include "features/devices/sensor_grid_model.h"
#include "features/devices/sensor_interval.h"
#include "features/devices/sensor_logging.h"
#include "features/devices/sensor_rows.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/message_box.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace qv::ui {

namespace {

// The text colour the grid asks for (a sensor that did not answer).
class TextColourDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const QVariant rgb = index.data(devices::SensorGridModel::TextRgbRole);
        if (rgb.isValid()) option->palette.setColor(QPalette::Text, QColor::fromRgb(rgb.toUInt()));
    }
};

}  // namespace

SensorsWindow::SensorsWindow(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_engine(engine),
      m_grid(new QTableView(this)),
      m_interval(new QLineEdit(this)) {
    shell::FeatureSet& features = *engine.features();
    devices::SensorLogging* logging = &features.sensors();
    m_editors =
        std::make_unique<devices::SensorEditors>(engine.mainDatabase(), features.sensorLog(),
                                                 features.clock(), [logging] { logging->GetSensorstoLog(); });
    setWindowTitle(tr("Light Sensors"));
    m_grid->setObjectName("sensorGrid");
    m_interval->setObjectName("intervalField");
    m_grid->setModel(&logging->grid());
    m_grid->setItemDelegate(new TextColourDelegate(m_grid));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(devices::SensorGridModel::DescriptionColumn, 200);
    m_grid->setColumnWidth(devices::SensorGridModel::RespondedColumn, 150);

    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(new QLabel(tr("Logging interval (seconds)"), this));
    intervalRow->addWidget(m_interval);
    intervalRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(intervalRow);
    resize(640, 360);

    connect(m_interval, &QLineEdit::editingFinished, this, &SensorsWindow::applyInterval);
    reload();
}

SensorsWindow::~SensorsWindow() = default;

void SensorsWindow::reload() {
    try {
        m_interval->setText(QString::number(devices::readSensorInterval(m_engine.mainDatabase())));
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
}

void SensorsWindow::applyInterval() {
    const devices::IntervalInput input = devices::checkIntervalInput(m_interval->text());
    m_interval->setText(QString::number(input.value));
    if (!input.message.isEmpty()) {
        showMessage(this, BoxKind::Exclamation, input.message);
        return;
    }
    const devices::Outcome outcome = m_editors->applyInterval(input.value);
    if (!outcome.message.isEmpty())
        showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
}

}  // namespace qv::ui
