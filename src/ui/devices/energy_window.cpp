#include "ui/devices/energy_window.h"

#include "features/devices/energy_report.h"
#include "features/devices/messages.h"
#include "shell/engine.h"
#include "ui/common/message_box.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCalendarWidget>
#include <QChart>
#include <QChartView>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QValueAxis>

namespace qv::ui {

EnergyWindow::EnergyWindow(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_engine(engine),
      m_start(new QCalendarWidget(this)),
      m_end(new QCalendarWidget(this)),
      m_progress(new QLabel(this)),
      m_create(new QPushButton(devices::msg::kEnergyButton, this)),
      m_chartView(new QChartView(this)) {
    setWindowTitle(devices::msg::kEnergyWindowTitle);
    m_start->setObjectName("StartDateMonthView");
    m_end->setObjectName("EndDateMonthView");
    m_progress->setObjectName("progressLabel");
    m_create->setObjectName("CreateEnergyUsageButton");
    m_chartView->setObjectName("energyChart");
    const QDate today = QDate::currentDate();
    m_start->setSelectedDate(today.addDays(-7));
    m_end->setSelectedDate(today);
    m_progress->hide();
    m_chartView->setRenderHint(QPainter::Antialiasing);
    m_chartView->setMinimumHeight(220);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("From"), this), 0, 0);
    layout->addWidget(new QLabel(tr("To (the day itself is left out)"), this), 0, 1);
    layout->addWidget(m_start, 1, 0);
    layout->addWidget(m_end, 1, 1);
    layout->addWidget(m_progress, 2, 0);
    layout->addWidget(m_create, 2, 1, Qt::AlignRight);
    layout->addWidget(m_chartView, 3, 0, 1, 2);
    layout->setRowStretch(3, 1);
    resize(640, 620);
    showTotals({});
    connect(m_create, &QPushButton::clicked, this, &EnergyWindow::createReport);
}

void EnergyWindow::createReport() {
    m_create->setEnabled(false);
    m_progress->setText(tr("Creating the report..."));
    m_progress->show();
    m_progress->repaint();
    const devices::EnergyReportResult result = devices::createEnergyUsageReport(
        m_engine.paths(), m_start->selectedDate(), m_end->selectedDate(), {}, [this](int percent) {
            m_progress->setText(tr("Creating the report... %1%").arg(percent));
            m_progress->repaint();
        });
    m_progress->hide();
    m_create->setEnabled(true);
    if (result.ok) showTotals(result.totals);
    showMessage(this, result.ok ? BoxKind::Information : BoxKind::Critical, result.message);
}

void EnergyWindow::showTotals(const std::vector<devices::ChannelEnergy>& totals) {
    // Channels without lamps used nothing; only those that used energy get a bar.
    auto* set = new QBarSet(tr("kWh"));
    QStringList channels;
    double highest = 0;
    for (const devices::ChannelEnergy& channel : totals) {
        if (channel.kWh <= 0) continue;
        *set << channel.kWh;
        channels << tr("%1/%2").arg(channel.area).arg(channel.channel);
        highest = std::max(highest, channel.kWh);
    }
    auto* chart = new QChart;
    chart->setTitle(channels.isEmpty() ? tr("Energy per channel: none used in the range")
                                       : tr("Energy per channel (kWh)"));
    chart->legend()->hide();
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsFormat(QStringLiteral("@value"));
    series->setLabelsPrecision(3);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(channels);
    x->setTitleText(tr("Area/Channel"));
    auto* y = new QValueAxis;
    y->setRange(0, highest > 0 ? highest * 1.15 : 1);
    y->setLabelFormat(QStringLiteral("%.2f"));
    y->setTitleText(tr("kWh"));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    QChart* old = m_chartView->chart();
    m_chartView->setChart(chart);
    delete old;
}

}  // namespace qv::ui
