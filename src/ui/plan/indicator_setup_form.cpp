#include "ui/plan/indicator_setup_form.h"

#include "features/plan/plan_indicators.h"
#include "features/reactions/area_channels.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/choice_combo.h"
#include "ui/common/message_box.h"
#include "ui/common/units.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

namespace qv::ui {

namespace {
void paintButton(QPushButton* button, const QColor& colour) {
    const QString text = colour.lightness() < 128 ? QStringLiteral("white") : QStringLiteral("black");
    button->setStyleSheet(QStringLiteral("background-color: %1; color: %2;").arg(colour.name(), text));
}
}  // namespace

IndicatorSetupForm::IndicatorSetupForm(shell::Engine& engine, int planIndicatorId, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_indicatorId(planIndicatorId) {
    setObjectName(QStringLiteral("IndicatorSetupForm"));
    const plan::Indicator indicator =
        plan::PlanIndicators(engine.mainDatabase()).indicator(planIndicatorId, &m_drawing);
    m_index = indicator.index;
    setWindowTitle(QStringLiteral("Indicator %1").arg(m_index));

    m_areas = new QComboBox(this);
    m_areas->setObjectName(QStringLiteral("AreaCombo"));
    m_presets = new QComboBox(this);
    m_presets->setObjectName(QStringLiteral("PresetCombo"));
    m_grid = new QTableWidget(0, 4, this);
    m_grid->setObjectName(QStringLiteral("ColourGrid"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("If I hear Area"), QStringLiteral("and preset"),
                                       QStringLiteral("Turn this Colour"), QStringLiteral("Show this Icon")});
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->installEventFilter(this);
    m_defaultColour = new QPushButton(QStringLiteral("Default colour"), this);
    m_defaultColour->setObjectName(QStringLiteral("DefaultColourLabel"));
    m_colour = new QPushButton(QStringLiteral("Colour"), this);
    m_colour->setObjectName(QStringLiteral("ColourLabel"));
    m_iconButton = new QPushButton(QStringLiteral("Icon"), this);
    m_iconButton->setObjectName(QStringLiteral("IconPicture"));
    auto* enterButton = new QPushButton(QStringLiteral("Enter"), this);
    enterButton->setObjectName(QStringLiteral("EnterButton"));
    m_advanced = new QPushButton(QStringLiteral("Advanced >>"), this);
    m_advanced->setObjectName(QStringLiteral("AdvancedButton"));
    m_channels = new QListWidget(this);
    m_channels->setObjectName(QStringLiteral("ChannelList"));
    m_switching = new QListWidget(this);
    m_switching->setObjectName(QStringLiteral("SwitchingList"));

    m_advancedPart = new QWidget(this);
    auto* lists = new QGridLayout(m_advancedPart);
    lists->setContentsMargins(0, 0, 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("Channel "), m_advancedPart), 0, 0);
    lists->addWidget(new QLabel(QStringLiteral("switching"), m_advancedPart), 0, 1);
    lists->addWidget(m_channels, 1, 0);
    lists->addWidget(m_switching, 1, 1);
    m_advancedPart->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Area"), this), 0, 0);
    layout->addWidget(m_areas, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Preset"), this), 0, 2);
    layout->addWidget(m_presets, 0, 3);
    layout->addWidget(m_colour, 1, 0);
    layout->addWidget(m_iconButton, 1, 1);
    layout->addWidget(m_defaultColour, 1, 2);
    layout->addWidget(enterButton, 1, 3);
    layout->addWidget(m_grid, 2, 0, 1, 4);
    layout->addWidget(m_advanced, 3, 3);
    layout->addWidget(m_advancedPart, 4, 0, 1, 4);

    fillCombo(m_areas, reactions::areaChoices(engine.mainDatabase(), QStringLiteral(" ")));
    selectChoiceId(m_areas, indicator.area);
    paintButton(m_colour, m_lineColour);
    connect(m_areas, &QComboBox::currentIndexChanged, this, &IndicatorSetupForm::areaChosen);
    connect(enterButton, &QPushButton::clicked, this, &IndicatorSetupForm::enter);
    connect(m_advanced, &QPushButton::clicked, this, [this] {
        m_advancedPart->setVisible(!m_advancedPart->isVisible());
        m_advanced->setText(m_advancedPart->isVisible() ? QStringLiteral("<< Basic")
                                                        : QStringLiteral("Advanced >>"));
    });
    // Colour and file choices are shown without waiting for them.
    connect(m_colour, &QPushButton::clicked, this, [this] {
        auto* dialog = new QColorDialog(m_lineColour, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QColorDialog::colorSelected, this, &IndicatorSetupForm::setLineColour);
        dialog->open();
    });
    connect(m_defaultColour, &QPushButton::clicked, this, [this] {
        auto* dialog = new QColorDialog(this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QColorDialog::colorSelected, this, &IndicatorSetupForm::setDefaultColour);
        dialog->open();
    });
    connect(m_iconButton, &QPushButton::clicked, this, [this] {
        auto* dialog =
            new QFileDialog(this, QString(), m_engine.paths().dir,
                            QStringLiteral("All Files (*);;WMF Files (*.WMF *.wmf);;Icons (*.ICO *.ico)"));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
            setIcon(file);
            m_iconButton->setText(QFileInfo(file).fileName());
        });
        dialog->open();
    });
    connect(m_channels, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { channelTicked(m_channels->row(item)); });
    connect(m_switching, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        plan::PlanIndicators(m_engine.mainDatabase())
            .setSwitching(m_indicatorId, item->data(Qt::UserRole).toInt(), item->checkState() == Qt::Checked);
    });
    areaChosen();
    resize(640, 420);
}

void IndicatorSetupForm::areaChosen() {
    const int area = currentChoiceId(m_areas, 0);
    fillCombo(m_presets, reactions::presetChoices(m_engine.mainDatabase(), area, QStringLiteral(" ")));
    const QHash<int, bool> ticked = plan::PlanIndicators(m_engine.mainDatabase()).channels(m_indicatorId);
    const QSignalBlocker a(m_channels), b(m_switching);
    m_channels->clear();
    m_switching->clear();
    for (const reactions::AreaChannel& c : reactions::loadAreaChannels(m_engine.mainDatabase(), area)) {
        for (QListWidget* list : {m_channels, m_switching}) {
            auto* item =
                new QListWidgetItem(QStringLiteral("%1 %2").arg(c.channel).arg(c.name.trimmed()), list);
            item->setData(Qt::UserRole, c.channel);
            const bool on = list == m_channels ? ticked.contains(c.channel) : ticked.value(c.channel);
            item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
    }
    loadGrid();
}

void IndicatorSetupForm::channelTicked(int row) {
    QListWidgetItem* item = m_channels->item(row);
    const bool listed = item->checkState() == Qt::Checked;
    plan::PlanIndicators(m_engine.mainDatabase())
        .setChannel(m_indicatorId, item->data(Qt::UserRole).toInt(), listed);
    const QSignalBlocker block(m_switching);
    if (!listed) m_switching->item(row)->setCheckState(Qt::Unchecked);
}

void IndicatorSetupForm::loadGrid() {
    const int area = currentChoiceId(m_areas, 0);
    plan::PlanIndicators store(m_engine.mainDatabase());
    const QVector<plan::ColourLine> lines = store.lines(m_drawing, area);
    m_grid->setRowCount(int(lines.size()));
    for (int row = 0; row < lines.size(); ++row) {
        const plan::ColourLine& l = lines[row];
        auto* areaItem = new QTableWidgetItem(l.areaName.isEmpty() ? QString::number(l.area) : l.areaName);
        areaItem->setData(Qt::UserRole, l.area);
        auto* presetItem =
            new QTableWidgetItem(l.presetName.isEmpty() ? QString::number(l.preset) : l.presetName);
        presetItem->setData(Qt::UserRole, l.preset);
        auto* colourItem = new QTableWidgetItem();
        colourItem->setBackground(colourFromStored(l.colour));
        m_grid->setItem(row, 0, areaItem);
        m_grid->setItem(row, 1, presetItem);
        m_grid->setItem(row, 2, colourItem);
        m_grid->setItem(row, 3, new QTableWidgetItem(QFileInfo(l.icon).fileName()));
    }
    const int fallback = store.defaultColour(m_drawing, area);
    if (fallback >= 0) paintButton(m_defaultColour, colourFromStored(fallback));
}

void IndicatorSetupForm::setLineColour(const QColor& colour) {
    m_lineColour = colour;
    paintButton(m_colour, colour);
}

void IndicatorSetupForm::setDefaultColour(const QColor& colour) {
    const int area = currentChoiceId(m_areas, 0);
    plan::PlanIndicators(m_engine.mainDatabase()).setDefaultColour(m_drawing, area, storedFromColour(colour));
    paintButton(m_defaultColour, colour);
}

void IndicatorSetupForm::enter() {
    const int area = currentChoiceId(m_areas, 0);
    const int preset = currentChoiceId(m_presets, 0);
    if (area < 1 || preset < 1) {
        showMessage(this, BoxKind::Information, plan::PlanIndicators::kSelectAreaPreset);
        return;
    }
    plan::PlanIndicators(m_engine.mainDatabase())
        .enterLine(m_drawing, m_index, area, preset, storedFromColour(m_lineColour), m_icon);
    loadGrid();
    if (shell::FeatureSet* features = m_engine.features()) features->GetIndicatorChanges();
}

void IndicatorSetupForm::deleteCurrentLine() {
    const int row = m_grid->currentRow();
    if (row < 0 || !m_grid->item(row, 0)) return;
    plan::PlanIndicators(m_engine.mainDatabase())
        .deleteLine(m_drawing, m_grid->item(row, 0)->data(Qt::UserRole).toInt(),
                    m_grid->item(row, 1)->data(Qt::UserRole).toInt());
    loadGrid();
    if (shell::FeatureSet* features = m_engine.features()) features->GetIndicatorChanges();
}

bool IndicatorSetupForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_grid && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        deleteCurrentLine();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qv::ui
