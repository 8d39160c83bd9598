#include "ui/desktop/monitor_window.h"

#include "comms/in_box.h"
#include "comms/serial_comms.h"
#include "macros/macro_engine.h"
#include "shell/engine.h"
#include "store/monitor_log.h"
#include "ui/common/message_box.h"
#include "ui/common/units.h"
#include "ui/desktop/monitor_batch_model.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

namespace qv::ui {

namespace {

// Rows whose type, area and text (any column) contain what the filter boxes hold.
class MonitorFilter final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setFilter(QString type, QString area, QString text) {
        m_type = std::move(type);
        m_area = std::move(area);
        m_text = std::move(text);
        invalidateFilter();
    }
    bool active() const { return !m_type.isEmpty() || !m_area.isEmpty() || !m_text.isEmpty(); }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const QAbstractItemModel* from = sourceModel();
        const auto cell = [&](int column) { return from->index(row, column, parent).data().toString(); };
        if (!m_type.isEmpty() && !cell(store::MonitorModel::Type).contains(m_type, Qt::CaseInsensitive))
            return false;
        if (!m_area.isEmpty() && cell(store::MonitorModel::Area) != m_area) return false;
        if (m_text.isEmpty()) return true;
        for (int column = 1; column < store::MonitorModel::kColumnCount; ++column)
            if (cell(column).contains(m_text, Qt::CaseInsensitive)) return true;
        return false;
    }

private:
    QString m_type, m_area, m_text;
};

QString csvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

}  // namespace

MonitorWindow::MonitorWindow(shell::Engine& engine, QWidget* parent) : QWidget(parent), m_engine(engine) {
    setObjectName(QStringLiteral("MonitorListViewForm"));
    setWindowFlag(Qt::Window);
    m_rows = new MonitorBatchModel(engine.monitorLog()->model(), this);
    m_filter = new MonitorFilter(this);
    m_filter->setSourceModel(m_rows);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("MonitorGrid"));
    m_grid->setModel(m_rows);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setWordWrap(false);
    m_grid->verticalHeader()->hide();
    // Fixed row heights: the view never measures rows, however many it holds.
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setMinimumSectionSize(4);
    header->resizeSection(store::MonitorModel::Fixed, 12);
    header->setSectionResizeMode(store::MonitorModel::Fixed, QHeaderView::Fixed);
    for (int column = 1; column < store::MonitorModel::kColumnCount; ++column) {
        const int twips =
            m_rows->headerData(column, Qt::Horizontal, store::MonitorModel::ColumnWidthTwipsRole).toInt();
        header->resizeSection(column, twipsToPixels(twips, this));
    }

    m_freeze = new QCheckBox(tr("Freeze"), this);
    m_freeze->setObjectName(QStringLiteral("freezecheck"));
    auto* showAll = new QCheckBox(tr("Show all macro activity"), this);
    showAll->setObjectName(QStringLiteral("ShowAllMacroActivityCheck"));
    if (auto* macros = engine.macroEngine()) {
        showAll->setChecked(macros->pool().showAllMacroActivity());
        connect(showAll, &QCheckBox::toggled, this,
                [macros](bool on) { macros->pool().setShowAllMacroActivity(on); });
    } else {
        showAll->setEnabled(false);
    }
    auto* pause = new QCheckBox(tr("Pause"), this);
    pause->setObjectName(QStringLiteral("PauseCheck"));
    connect(pause, &QCheckBox::toggled, this, [this](bool on) { m_rows->setPaused(on); });
    auto* clear = new QPushButton(tr("Clear"), this);
    clear->setObjectName(QStringLiteral("ClearButton"));
    connect(clear, &QPushButton::clicked, this, [this] { m_engine.monitorLog()->clear(); });
    auto* exportButton = new QPushButton(tr("Export visible rows as CSV"), this);
    exportButton->setObjectName(QStringLiteral("ExportButton"));
    connect(exportButton, &QPushButton::clicked, this, [this] {
        // Not modal: the event loop (and the network) keeps running meanwhile.
        auto* dialog =
            new QFileDialog(this, tr("Export visible rows as CSV"), QString(), tr("CSV files (*.csv)"));
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setDefaultSuffix(QStringLiteral("csv"));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
            if (!exportVisibleRows(file))
                showMessage(this, BoxKind::Critical, tr("The rows could not be written to %1").arg(file));
        });
        dialog->open();
    });

    auto* inboxLabel = new QLabel(this);
    inboxLabel->setObjectName(QStringLiteral("bufferlabel"));
    inboxLabel->setText(QStringLiteral("0"));
    inboxLabel->setToolTip(tr("Messages waiting in the in box"));
    connect(&engine.inbox(), &comms::InBox::waitingChanged, inboxLabel,
            [inboxLabel](int count) { inboxLabel->setText(QString::number(count)); });
    auto* outboxLabel = new QLabel(this);
    outboxLabel->setObjectName(QStringLiteral("outboxlabel"));
    outboxLabel->setText(QString::number(engine.comms().outboxCount()));
    outboxLabel->setToolTip(tr("Messages waiting in the out box"));
    connect(&engine.comms(), &comms::SerialComms::outboxCountChanged, outboxLabel,
            [outboxLabel](int count) { outboxLabel->setText(QString::number(count)); });

    const auto filterBox = [this](const QString& name, const QString& hint, int width) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setPlaceholderText(hint);
        box->setClearButtonEnabled(true);
        if (width > 0) box->setMaximumWidth(width);
        connect(box, &QLineEdit::textChanged, this, &MonitorWindow::applyFilter);
        return box;
    };
    m_filterType = filterBox(QStringLiteral("FilterTypeBox"), tr("Type"), 120);
    m_filterArea = filterBox(QStringLiteral("FilterAreaBox"), tr("Area"), 60);
    m_filterText = filterBox(QStringLiteral("FilterTextBox"), tr("Text in any column"), 0);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("Filter:"), this));
    top->addWidget(m_filterType);
    top->addWidget(m_filterArea);
    top->addWidget(m_filterText, 1);
    top->addWidget(exportButton);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_freeze);
    bottom->addWidget(showAll);
    bottom->addWidget(pause);
    bottom->addStretch(1);
    bottom->addWidget(new QLabel(tr("In box:"), this));
    bottom->addWidget(inboxLabel);
    bottom->addSpacing(12);
    bottom->addWidget(new QLabel(tr("Out box:"), this));
    bottom->addWidget(outboxLabel);
    bottom->addSpacing(12);
    bottom->addWidget(clear);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(m_rows, &MonitorBatchModel::rowsShown, this, &MonitorWindow::showNewest);
    m_clock = new QTimer(this);
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &MonitorWindow::refreshCaption);
    m_clock->start();
    refreshCaption();
    resize(1000, 480);
    showNewest();
}

void MonitorWindow::refreshCaption() {
    setWindowTitle(store::monitorCaption(QTime::currentTime()));
}

void MonitorWindow::applyFilter() {
    auto* filter = static_cast<MonitorFilter*>(m_filter);
    filter->setFilter(m_filterType->text().trimmed(), m_filterArea->text().trimmed(),
                      m_filterText->text().trimmed());
    // Without a filter the grid reads the batches directly, so the proxy's
    // bookkeeping costs nothing while the network is flooded.
    QAbstractItemModel* wanted = filter->active() ? static_cast<QAbstractItemModel*>(m_filter) : m_rows;
    if (m_grid->model() != wanted) {
        m_grid->setModel(wanted);
        m_grid->horizontalHeader()->setSectionResizeMode(store::MonitorModel::Fixed, QHeaderView::Fixed);
    }
    showNewest();
}

void MonitorWindow::showNewest() {
    if (m_freeze->isChecked()) return;
    QAbstractItemModel* model = m_grid->model();
    const int last = model->rowCount() - 1;
    if (last < 0) return;
    const QModelIndex newest = model->index(last, store::MonitorModel::Counter);
    m_grid->selectionModel()->setCurrentIndex(
        newest, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_grid->scrollToBottom();
}

QString MonitorWindow::visibleRowsCsv() const {
    const QAbstractItemModel* model = m_grid->model();
    QStringList lines;
    QStringList fields;
    for (int column = 1; column < model->columnCount(); ++column)
        fields << csvField(model->headerData(column, Qt::Horizontal).toString());
    lines << fields.join(QLatin1Char(','));
    for (int row = 0; row < model->rowCount(); ++row) {
        fields.clear();
        for (int column = 1; column < model->columnCount(); ++column)
            fields << csvField(model->index(row, column).data().toString());
        lines << fields.join(QLatin1Char(','));
    }
    return lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n");
}

bool MonitorWindow::exportVisibleRows(const QString& fileName) const {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QByteArray bytes = visibleRowsCsv().toUtf8();
    return file.write(bytes) == bytes.size() && file.flush();
}

void MonitorWindow::closeEvent(QCloseEvent* event) {
    // The list lives on and keeps filling while hidden.
    event->ignore();
    hide();
}

}  // namespace qv::ui
