#include "ui/devices/sensors_window.h"

#include "features/devices/sensor_editors.h"
#include "features/devices/sensor_grid_model.h"
#include "features/devices/sensor_interval.h"
#include "features/devices/sensor_log_writer.h"
#include "features/devices/sensor_logging.h"
#include "features/devices/sensor_rows.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/message_box.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <QValueAxis>

#include <map>

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
      m_interval(new QLineEdit(this)),
      m_chart(new QChartView(this)),
      m_chartDue(new QTimer(this)) {
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
    m_grid->horizontalHeader()->setDefaultSectionSize(80);
    m_grid->setColumnWidth(devices::SensorGridModel::DescriptionColumn, 200);
    m_grid->setColumnWidth(devices::SensorGridModel::RespondedColumn, 150);

    m_chart->setObjectName("luxChart");
    m_chart->setRenderHint(QPainter::Antialiasing);
    m_chart->setMinimumHeight(240);
    auto* newSensor = new QPushButton(tr("New sensor..."), this);
    newSensor->setObjectName("newSensorButton");

    auto* intervalRow = new QHBoxLayout;
    intervalRow->addWidget(new QLabel(tr("Logging interval (seconds)"), this));
    intervalRow->addWidget(m_interval);
    intervalRow->addStretch();
    intervalRow->addWidget(newSensor);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    layout->addLayout(intervalRow);
    layout->addWidget(m_chart, 2);
    resize(640, 560);

    // A poll step changes the grid; the chart follows, at most once a second.
    m_chartDue->setSingleShot(true);
    m_chartDue->setInterval(1000);
    connect(m_chartDue, &QTimer::timeout, this, &SensorsWindow::refreshChart);
    connect(&logging->grid(), &QAbstractItemModel::dataChanged, m_chartDue, [this] {
        if (!m_chartDue->isActive()) m_chartDue->start();
    });
    connect(m_interval, &QLineEdit::editingFinished, this, &SensorsWindow::applyInterval);
    connect(newSensor, &QPushButton::clicked, this, &SensorsWindow::newSensorAsked);
    connect(m_grid, &QTableView::doubleClicked, this, [this, logging](const QModelIndex& index) {
        const auto& rows = logging->grid().rows();
        if (index.row() >= 0 && index.row() < static_cast<int>(rows.size()))
            emit sensorChosen(rows[static_cast<std::size_t>(index.row())].sensor.box);
    });
    reload();
}

SensorsWindow::~SensorsWindow() = default;

void SensorsWindow::reload() {
    try {
        m_interval->setText(QString::number(devices::readSensorInterval(m_engine.mainDatabase())));
    } catch (const std::exception& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    refreshChart();
}

void SensorsWindow::refreshChart() {
    const QDateTime now = m_engine.features()->clock().now();
    std::vector<devices::SensorLogReading> readings;
    try {
        readings = m_engine.features()->sensorLog().readingsSince(now.addDays(-1));
    } catch (const std::exception&) {
        // A sensor log that cannot be read leaves the chart empty; the grid goes on.
    }
    auto* chart = new QChart;
    chart->setTitle(readings.empty() ? tr("Lux over the last day: nothing logged yet")
                                     : tr("Lux over the last day (corrected)"));
    auto* time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("HH:mm"));
    // At least the last ten minutes, so a few readings still get a readable axis.
    QDateTime from = now.addSecs(-600);
    if (!readings.empty() && readings.front().when < from) from = readings.front().when;
    time->setRange(from, readings.empty() ? now : std::max(now, readings.back().when));
    auto* lux = new QValueAxis;
    lux->setLabelFormat(QStringLiteral("%d"));
    lux->setTitleText(tr("lux"));
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(lux, Qt::AlignLeft);
    std::map<int, QLineSeries*> series;
    double highest = 0;
    for (const devices::SensorLogReading& r : readings) {
        QLineSeries*& line = series[r.box];
        if (!line) {
            line = new QLineSeries;
            line->setName(tr("%1 (box %2)").arg(r.description.trimmed()).arg(r.box));
            line->setPointsVisible(true);
        }
        line->append(static_cast<qreal>(r.when.toMSecsSinceEpoch()), r.correctedLux);
        highest = std::max(highest, r.correctedLux);
    }
    for (auto& [box, line] : series) {
        chart->addSeries(line);
        line->attachAxis(time);
        line->attachAxis(lux);
    }
    lux->setRange(0, highest > 0 ? highest * 1.15 : 100);
    chart->legend()->setVisible(!series.empty());
    chart->legend()->setAlignment(Qt::AlignBottom);
    QChart* old = m_chart->chart();
    m_chart->setChart(chart);
    delete old;
}

void SensorsWindow::applyInterval() {
    const devices::IntervalInput input = devices::checkIntervalInput(m_interval->text());
    m_interval->setText(QString::number(input.value));
    if (!input.message.isEmpty()) {
        showMessage(this, BoxKind::Exclamation, input.message);
        return;
    }
    const store::Outcome outcome = m_editors->applyInterval(input.value);
    if (!outcome.message.isEmpty())
        showMessage(this, outcome.ok ? BoxKind::Information : BoxKind::Exclamation, outcome.message);
}

}  // namespace qv::ui
