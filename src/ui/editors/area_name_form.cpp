#include "ui/editors/area_name_form.h"

#include "features/reactions/choice_lists.h"
#include "shell/engine.h"
#include "store/store_error.h"
#include "ui/common/message_box.h"
#include "ui/editors/input_form.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <map>

namespace qv::ui {

namespace {

QTableWidget* makeGrid(const QString& name, const QString& numberHeading, const QString& nameHeading,
                       const QString& tip, int rows, QWidget* parent) {
    auto* grid = new QTableWidget(rows, 2, parent);
    grid->setObjectName(name);
    grid->setHorizontalHeaderLabels({numberHeading, nameHeading});
    grid->setToolTip(tip);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return grid;
}

void fillGrid(QTableWidget* grid, int first, const std::vector<editors::NameRow>& rows) {
    std::map<int, QString> names;
    for (const auto& row : rows) names[row.number] = row.name;
    for (int r = 0; r < grid->rowCount(); ++r) {
        const int number = first + r;
        grid->setItem(r, 0, new QTableWidgetItem(QString::number(number)));
        const auto found = names.find(number);
        grid->setItem(r, 1, new QTableWidgetItem(found == names.end() ? QString() : found->second));
    }
}

}  // namespace

AreaNameForm::AreaNameForm(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window), m_engine(engine), m_names(engine.mainDatabase()) {
    setObjectName(QStringLiteral("AreaNameForm"));
    setWindowTitle(tr("Area and Preset Names"));
    m_areas = makeGrid(QStringLiteral("AreaGrid"), editors::AreaNames::kAreaHeading,
                       editors::AreaNames::kAreaNameHeading, editors::AreaNames::kAreaTip,
                       reactions::kLastArea + 1, this);
    m_presets = makeGrid(QStringLiteral("PresetGrid"), editors::AreaNames::kPresetHeading,
                         editors::AreaNames::kPresetNameHeading, editors::AreaNames::kPresetTip,
                         reactions::kLastListedPreset, this);
    auto* apply = new QPushButton(tr("Apply to all"), this);
    apply->setObjectName(QStringLiteral("ApplyToAllButton"));
    apply->setToolTip(tr("Give the selected preset's name to every named area that has no name for it"));

    auto* grids = new QHBoxLayout;
    grids->addWidget(m_areas);
    grids->addWidget(m_presets);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grids);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply);
    layout->addLayout(buttons);
    resize(640, 480);

    m_areas->installEventFilter(this);
    m_presets->installEventFilter(this);
    connect(m_areas, &QTableWidget::currentCellChanged, this, [this] { showPresets(); });
    connect(m_areas, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { nameArea(row); });
    connect(m_presets, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { namePreset(row); });
    connect(apply, &QPushButton::clicked, this, &AreaNameForm::applyToAll);
    reload();
}

int AreaNameForm::currentArea() const {
    return m_areas->currentRow() < 0 ? -1 : m_areas->currentRow();
}

int AreaNameForm::currentPreset() const {
    return m_presets->currentRow() < 0 ? -1 : m_presets->currentRow() + 1;
}

void AreaNameForm::reload() {
    try {
        fillGrid(m_areas, 0, m_names.areas());
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
    showPresets();
}

void AreaNameForm::showPresets() {
    const int area = currentArea();
    try {
        fillGrid(m_presets, 1, area < 0 ? std::vector<editors::NameRow>{} : m_names.presets(area));
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void AreaNameForm::nameArea(int row) {
    m_areas->setCurrentCell(row, 1);
    const int area = row;
    auto* input = new InputForm(
        editors::AreaNames::areaCaption(area), m_areas->item(row, 1)->text(),
        [this, area](const QString& name) {
            const auto result = m_names.nameArea(area, name);
            if (result.done) reload();
            return result;
        },
        this);
    input->show();
}

void AreaNameForm::namePreset(int row) {
    const int area = currentArea();
    const int preset = row + 1;
    if (area < 0 || m_areas->item(area, 1)->text().isEmpty()) {
        showMessage(this, BoxKind::Exclamation, editors::AreaNames::kNameAreaFirst);
        return;
    }
    auto* input = new InputForm(
        editors::AreaNames::presetCaption(preset), m_presets->item(row, 1)->text(),
        [this, area, preset](const QString& name) {
            const auto result = m_names.namePreset(area, preset, name);
            if (result.done) showPresets();
            return result;
        },
        this);
    input->show();
}

void AreaNameForm::applyToAll() {
    const int area = currentArea();
    const int preset = currentPreset();
    if (area < 0 || preset < 1) return;
    if (showResult(this, m_names.applyToAll(area, preset))) showPresets();
}

bool AreaNameForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        if (watched == m_areas && currentArea() >= 0) {
            if (showResult(this, m_names.deleteArea(currentArea()))) reload();
            return true;
        }
        if (watched == m_presets && currentArea() >= 0 && currentPreset() >= 1) {
            if (showResult(this, m_names.deletePreset(currentArea(), currentPreset()))) showPresets();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void AreaNameForm::closeEvent(QCloseEvent* event) {
    m_engine.GetAreaPresetNames();
    QWidget::closeEvent(event);
}

}  // namespace qv::ui
