#include "ui/devices/light_levels_window.h"

#include "features/reactions/channel_seek.h"
#include "features/reactions/direct_control.h"
#include "features/reactions/light_levels.h"
#include "shell/config/config_engine.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "store/store_error.h"
#include "ui/common/choice_combo.h"
#include "ui/common/message_box.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

namespace qv::ui {

namespace {

// Dim channels show blue, bright ones yellow.
QString sliderStyle(int percent) {
    const int red = 255 * percent / 100;
    return QStringLiteral("QSlider::handle:horizontal { background: rgb(%1,%1,%2); }")
        .arg(red)
        .arg(255 - red);
}

}  // namespace

LightLevelsWindow::LightLevelsWindow(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_engine(engine),
      m_levels(engine.features()->lightLevels()),
      m_areas(new QComboBox(this)),
      m_presets(new QComboBox(this)),
      m_others(new QListWidget(this)),
      m_loading(new QLabel(this)),
      m_rowsLayout(nullptr),
      m_rowsHost(new QWidget),
      m_progress(new QProgressBar(this)),
      m_save(new QPushButton(tr("Save"), this)),
      m_saveOthers(new QPushButton(tr("Save to other presets"), this)),
      m_seek(new QPushButton(tr("Seek Channels"), this)),
      m_stop(new QPushButton(tr("Stop"), this)) {
    setWindowTitle(tr("Light Levels"));
    m_areas->setObjectName("areaCombo");
    m_presets->setObjectName("presetCombo");
    m_others->setObjectName("otherPresets");
    m_loading->setObjectName("loadingLabel");
    m_progress->setObjectName("seekProgress");
    m_save->setObjectName("saveButton");
    m_saveOthers->setObjectName("saveOthersButton");
    m_seek->setObjectName("seekButton");
    m_stop->setObjectName("stopButton");
    m_others->setSelectionMode(QAbstractItemView::MultiSelection);
    m_progress->setRange(0, reactions::kLastArea);
    m_progress->hide();
    m_stop->hide();

    m_rowsLayout = new QVBoxLayout(m_rowsHost);
    m_rowsLayout->addStretch();
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(m_rowsHost);

    auto* top = new QGridLayout;
    top->addWidget(new QLabel(tr("Area"), this), 0, 0);
    top->addWidget(m_areas, 0, 1);
    top->addWidget(new QLabel(tr("Preset"), this), 1, 0);
    top->addWidget(m_presets, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_saveOthers);
    buttons->addWidget(m_seek);
    buttons->addWidget(m_stop);
    buttons->addWidget(m_progress, 1);
    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addWidget(m_loading);
    left->addWidget(scroll, 1);
    left->addLayout(buttons);
    auto* side = new QVBoxLayout;
    side->addWidget(new QLabel(tr("Other presets"), this));
    side->addWidget(m_others, 1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(side, 1);
    resize(720, 480);

    try {
        std::vector<reactions::Choice> areas = engine.features()->directControl().areas();
        std::erase_if(areas, [](const reactions::Choice& c) { return c.id < 1; });
        m_filling = true;
        fillCombo(m_areas, areas);
        m_areas->setCurrentIndex(-1);
        m_filling = false;
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    for (int preset = 1; preset <= reactions::kLastListedPreset; ++preset) {
        auto* item = new QListWidgetItem(tr("Preset %1").arg(preset), m_others);
        item->setData(Qt::UserRole, preset);
    }

    connect(m_areas, &QComboBox::currentIndexChanged, this, &LightLevelsWindow::chooseArea);
    connect(m_presets, &QComboBox::activated, this, [this] {
        const int preset = currentChoiceId(m_presets);
        if (preset > 0) m_levels.choosePreset(preset);
    });
    connect(m_save, &QPushButton::clicked, this, &LightLevelsWindow::save);
    connect(m_saveOthers, &QPushButton::clicked, this, &LightLevelsWindow::saveToOthers);
    connect(m_seek, &QPushButton::clicked, this, &LightLevelsWindow::seek);
    connect(m_stop, &QPushButton::clicked, this, [this] { m_levels.stopSeek(); });

    connect(&m_levels, &reactions::LightLevels::loadingChannel, m_loading, &QLabel::setText);
    connect(&m_levels, &reactions::LightLevels::channelsChanged, this, &LightLevelsWindow::rebuildRows);
    connect(&m_levels, &reactions::LightLevels::channelChanged, this, &LightLevelsWindow::showRow);
    connect(&m_levels, &reactions::LightLevels::presetChanged, this, [this](int preset) {
        m_filling = true;
        selectChoiceId(m_presets, preset);
        m_filling = false;
    });
    connect(&m_levels, &reactions::LightLevels::seekingChanged, this, [this](bool seeking) {
        m_progress->setVisible(seeking);
        m_stop->setVisible(seeking);
        m_areas->setEnabled(!seeking);
        m_presets->setEnabled(!seeking);
        if (!seeking) m_loading->clear();
        applyPermissions();
    });
    connect(&m_levels, &reactions::LightLevels::seekProgress, this, [this](int channel, const QString& text) {
        m_progress->setValue(channel);
        m_loading->setText(text);
    });
    connect(&m_levels, &reactions::LightLevels::channelNamed, this,
            [this](int, int, const QString&) { m_engine.GetAreaPresetNames(); });
    applyPermissions();
}

void LightLevelsWindow::applyPermissions() {
    const auto& config = m_engine.configEngine()->settings().config;
    const bool busy = m_levels.seeking();
    m_save->setEnabled(config.UserCanSaveLightingPresets && !busy);
    m_saveOthers->setEnabled(config.UserCanSaveLightingPresets && !busy);
    m_save->setToolTip(config.UserCanSaveLightingPresets
                           ? QString()
                           : tr("Saving presets is turned off in the configuration"));
    m_seek->setEnabled(config.UserCanSeekchannels && !busy);
    m_seek->setToolTip(
        config.UserCanSeekchannels ? QString() : tr("Seeking channels is turned off in the configuration"));
}

void LightLevelsWindow::showArea(int area) {
    if (!selectChoiceId(m_areas, area)) return;
    if (m_levels.area() != area) chooseArea();
}

void LightLevelsWindow::chooseArea() {
    if (m_filling) return;
    const int area = currentChoiceId(m_areas);
    if (area < 1) return;
    try {
        m_filling = true;
        fillCombo(m_presets, m_engine.features()->directControl().presets(area));
        m_presets->setCurrentIndex(-1);
        m_filling = false;
    } catch (const store::StoreError& error) {
        m_filling = false;
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    const reactions::LightLevels::Loaded loaded = m_levels.chooseArea(area);
    selectChoiceId(m_presets, m_levels.preset());  // the area's last preset heard, if any
    rebuildRows();
    if (loaded != reactions::LightLevels::Loaded::NoChannels) return;
    if (!m_engine.configEngine()->settings().config.UserCanSeekchannels) {
        m_loading->setText(tr("No channels are known for this area."));
        return;
    }
    showMessage(this, BoxKind::Information, reactions::LightLevels::kNoChannelsText);
    if (askYesNo(this, reactions::LightLevels::kScanQuestion)) m_levels.startSeek();
}

void LightLevelsWindow::rebuildRows() {
    for (auto& [channel, row] : m_rows) {
        delete row.slider->parentWidget();
    }
    m_rows.clear();
    for (const reactions::ChannelRow& data : m_levels.channels()) {
        auto* line = new QWidget(m_rowsHost);
        auto* h = new QHBoxLayout(line);
        h->setContentsMargins(0, 0, 0, 0);
        RowWidgets row;
        auto* number = new QLabel(tr("Channel %1").arg(data.channel), line);
        number->setMinimumWidth(80);
        row.slider = new QSlider(Qt::Horizontal, line);
        row.slider->setRange(0, 100);
        row.slider->setObjectName(QStringLiteral("slider%1").arg(data.channel));
        row.percent = new QLabel(line);
        row.percent->setObjectName(QStringLiteral("percent%1").arg(data.channel));
        row.percent->setMinimumWidth(40);
        row.query = new QLabel(tr("query"), line);
        row.query->setObjectName(QStringLiteral("query%1").arg(data.channel));
        row.name = new QLineEdit(line);
        row.name->setObjectName(QStringLiteral("name%1").arg(data.channel));
        h->addWidget(number);
        h->addWidget(row.slider, 2);
        h->addWidget(row.percent);
        h->addWidget(row.query);
        h->addWidget(row.name, 1);
        m_rowsLayout->insertWidget(m_rowsLayout->count() - 1, line);
        const int channel = data.channel;
        connect(row.slider, &QSlider::sliderPressed, this, [this] { m_levels.setAdjusting(true); });
        connect(row.slider, &QSlider::sliderReleased, this, [this] { m_levels.setAdjusting(false); });
        connect(row.slider, &QSlider::valueChanged, this, [this, channel](int value) {
            if (m_filling) return;
            m_levels.setSliderPercent(channel, value);
            if (auto it = m_rows.find(channel); it != m_rows.end()) {
                it->second.percent->setText(QStringLiteral("%1%").arg(value));
                it->second.slider->setStyleSheet(sliderStyle(value));
            }
        });
        connect(row.name, &QLineEdit::editingFinished, this, [this, channel] {
            auto it = m_rows.find(channel);
            if (it == m_rows.end()) return;
            const reactions::ChannelRow* now = m_levels.channel(channel);
            if (now && now->name != it->second.name->text())
                m_levels.setChannelDescription(channel, it->second.name->text());
        });
        m_rows[channel] = row;
        showRow(channel);
    }
}

void LightLevelsWindow::showRow(int channel) {
    const reactions::ChannelRow* data = m_levels.channel(channel);
    auto it = m_rows.find(channel);
    if (!data || it == m_rows.end()) return;
    RowWidgets& row = it->second;
    m_filling = true;
    if (!row.slider->isSliderDown()) row.slider->setValue(data->percent);
    m_filling = false;
    row.slider->setVisible(data->sliderVisible);
    row.slider->setStyleSheet(sliderStyle(data->percent));
    row.percent->setText(data->levelByte < 0 ? QString() : QStringLiteral("%1%").arg(data->percent));
    row.query->setVisible(data->queryVisible);
    if (!row.name->hasFocus()) row.name->setText(data->name);
}

void LightLevelsWindow::save() {
    if (!m_engine.configEngine()->settings().config.UserCanSaveLightingPresets) return;
    m_levels.savePreset();
}

void LightLevelsWindow::saveToOthers() {
    if (!m_engine.configEngine()->settings().config.UserCanSaveLightingPresets) return;
    std::vector<int> presets;
    for (const QListWidgetItem* item : m_others->selectedItems())
        presets.push_back(item->data(Qt::UserRole).toInt());
    std::sort(presets.begin(), presets.end());
    if (!presets.empty()) m_levels.saveToOtherPresets(presets);
}

void LightLevelsWindow::seek() {
    if (!m_engine.configEngine()->settings().config.UserCanSeekchannels) return;
    m_levels.startSeek();
}

void LightLevelsWindow::closeEvent(QCloseEvent* event) {
    m_levels.close();
    QWidget::closeEvent(event);
}

}  // namespace qv::ui
