#include "ui/plan/floating_preset_combo_form.h"

#include "features/reactions/choice_lists.h"
#include "features/reactions/floating_preset.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/choice_combo.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

namespace qv::ui {

FloatingPresetComboForm::FloatingPresetComboForm(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_engine(engine), m_preset(engine.features()->floatingPreset()) {
    setObjectName(QStringLiteral("FloatingPresetComboForm"));
    m_presets = new QComboBox(this);
    m_presets->setObjectName(QStringLiteral("PresetCombo"));
    auto* goButton = new QPushButton(QStringLiteral("Go"), this);
    goButton->setObjectName(QStringLiteral("GoButton"));
    auto* save = new QPushButton(QStringLiteral("Save to preset"), this);
    save->setObjectName(QStringLiteral("SaveButton"));
    m_check = new QLabel(this);
    m_check->setObjectName(QStringLiteral("PresetCheckLabel"));
    m_toggle = new QPushButton(m_preset.channelsCaption(), this);
    m_toggle->setObjectName(QStringLiteral("ChannelsButton"));
    m_channels = new QListWidget(this);
    m_channels->setObjectName(QStringLiteral("ChannelList"));
    auto* on = new QPushButton(QStringLiteral("On"), this);
    on->setObjectName(QStringLiteral("OnButton"));
    auto* off = new QPushButton(QStringLiteral("Off"), this);
    off->setObjectName(QStringLiteral("OffButton"));
    m_flash = new QPushButton(QStringLiteral("Flash"), this);
    m_flash->setObjectName(QStringLiteral("FlashButton"));
    m_flash->setCheckable(true);
    m_refresh = new QPushButton(m_preset.refreshCaption(), this);
    m_refresh->setObjectName(QStringLiteral("RefreshButton"));
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("LevelSlider"));
    m_slider->setRange(0, 100);
    m_level = new QLabel(QStringLiteral("%"), this);

    auto* channelPart = new QWidget(this);
    auto* c = new QGridLayout(channelPart);
    c->setContentsMargins(0, 0, 0, 0);
    c->addWidget(m_channels, 0, 0, 1, 4);
    c->addWidget(on, 1, 0);
    c->addWidget(off, 1, 1);
    c->addWidget(m_flash, 1, 2);
    c->addWidget(m_refresh, 1, 3);
    c->addWidget(m_slider, 2, 0, 1, 3);
    c->addWidget(m_level, 2, 3);
    channelPart->setVisible(m_preset.channelsShown());

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_presets, 0, 0, 1, 2);
    layout->addWidget(goButton, 0, 2);
    layout->addWidget(m_check, 1, 0, 1, 2);
    layout->addWidget(save, 1, 2);
    layout->addWidget(m_toggle, 2, 2);
    layout->addWidget(channelPart, 3, 0, 1, 3);

    connect(goButton, &QPushButton::clicked, this, &FloatingPresetComboForm::go);
    connect(save, &QPushButton::clicked, this,
            [this] { m_preset.savePreset(currentChoiceId(m_presets, 0)); });
    connect(m_toggle, &QPushButton::clicked, this, [this, channelPart] {
        m_preset.toggleChannels();
        m_toggle->setText(m_preset.channelsCaption());
        channelPart->setVisible(m_preset.channelsShown());
        adjustSize();
    });
    connect(m_channels, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) m_preset.selectChannel(m_channels->item(row)->data(Qt::UserRole).toInt());
    });
    connect(on, &QPushButton::clicked, this, [this] { m_preset.on(); });
    connect(off, &QPushButton::clicked, this, [this] { m_preset.off(); });
    connect(m_flash, &QPushButton::toggled, this, [this](bool flashing) { m_preset.setFlash(flashing); });
    connect(m_refresh, &QPushButton::clicked, this, [this] { m_preset.refresh(); });
    connect(m_slider, &QSlider::valueChanged, this, [this](int percent) {
        m_level->setText(QStringLiteral("%1%").arg(percent));
        m_preset.setLevelPercent(percent);
    });
    connect(&m_preset, &reactions::FloatingPreset::channelsChanged, this,
            &FloatingPresetComboForm::loadChannels);
    connect(&m_preset, &reactions::FloatingPreset::levelTextChanged, this,
            &FloatingPresetComboForm::loadChannels);
    connect(&m_preset, &reactions::FloatingPreset::refreshCaptionChanged, m_refresh, &QPushButton::setText);
    connect(&m_preset, &reactions::FloatingPreset::closeRequested, this, &QWidget::close);
    auto* check = new QTimer(this);
    connect(check, &QTimer::timeout, this, [this] { m_check->setText(m_preset.presetCheckText()); });
    check->start(500);
}

FloatingPresetComboForm::~FloatingPresetComboForm() {
    m_preset.close();
}

bool FloatingPresetComboForm::openFor(int planIndicatorId) {
    if (!m_preset.open(planIndicatorId)) return false;
    const int area = m_preset.area();
    setWindowTitle(QStringLiteral("Area %1:  ").arg(area) +
                   QString::fromStdString(m_engine.names().areaName(area)));
    fillCombo(m_presets, reactions::presetChoices(m_engine.mainDatabase(), area, QStringLiteral(" ")));
    selectChoiceId(m_presets, m_engine.areaState().GetPresetforArea(area));
    m_check->setText(m_preset.presetCheckText());
    loadChannels();
    return true;
}

void FloatingPresetComboForm::go() {
    m_preset.go(currentChoiceId(m_presets, 0));
}

void FloatingPresetComboForm::loadChannels() {
    const int row = m_channels->currentRow();
    const QSignalBlocker block(m_channels);
    m_channels->clear();
    for (const reactions::FloatingChannel& c : m_preset.channels()) {
        auto* item = new QListWidgetItem(c.text + QStringLiteral("   ") + c.levelText, m_channels);
        item->setData(Qt::UserRole, c.channel);
    }
    m_channels->setCurrentRow(row);
}

void FloatingPresetComboForm::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow())
            m_preset.focusGained();
        else
            m_preset.focusLost();
    }
    QWidget::changeEvent(event);
}

}  // namespace qv::ui
