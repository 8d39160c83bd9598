#include "ui/devices/area_status_window.h"

#include "features/exchange/status_file.h"
#include "features/exchange/status_sheet.h"
#include "net/area_state.h"
#include "shell/engine.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace qv::ui {

namespace {
constexpr int kAreas = 255;

void setCell(QTableWidget* grid, int row, int column, const QString& text) {
    QTableWidgetItem* item = grid->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid->setItem(row, column, item);
    }
    if (item->text() != text) item->setText(text);
}
}  // namespace

AreaStatusWindow::AreaStatusWindow(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_engine(engine),
      m_file(new QLabel(this)),
      m_grid(new QTableWidget(kAreas, 3, this)) {
    setWindowTitle(tr("Area status"));
    m_file->setObjectName("statusFileLabel");
    m_file->setWordWrap(true);
    m_grid->setObjectName("areaStatusGrid");
    m_grid->setHorizontalHeaderLabels({tr("Area"), tr("Preset"), tr("Request")});
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setDefaultSectionSize(80);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int area = 1; area <= kAreas; ++area) setCell(m_grid, area - 1, 0, QString::number(area));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_file);
    layout->addWidget(m_grid, 1);
    resize(340, 480);

    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
        if (isVisible()) refresh();
    });
    timer->start(1000);
    refresh();
}

void AreaStatusWindow::refresh() {
    const QString path = exchange::StatusFile::defaultPath(m_engine.paths().dir);
    exchange::SheetRead sheet;
    if (m_engine.itemExchangeOn()) {
        m_file->setText(tr("Requests are read from %1").arg(path));
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            sheet = exchange::readStatusSheet(file.read(exchange::StatusFile::kMaxFileBytes));
    } else {
        m_file->setText(tr("The item exchange is off: no requests are read"));
    }
    const net::AreaState& state = m_engine.areaState();
    for (int area = 1; area <= kAreas; ++area) {
        setCell(m_grid, area - 1, 1, exchange::presetCellText(state.GetPresetforArea(area)));
        setCell(m_grid, area - 1, 2, sheet.requests[static_cast<std::size_t>(area)]);
    }
}

}  // namespace qv::ui
