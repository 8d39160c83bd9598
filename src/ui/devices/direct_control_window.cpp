#include "ui/devices/direct_control_window.h"

#include "features/reactions/direct_control.h"
#include "store/store_error.h"
#include "ui/common/choice_combo.h"
#include "ui/common/message_box.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace qv::ui {

namespace {

int chosenId(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

}  // namespace

DirectControlWindow::DirectControlWindow(reactions::DirectControl& control, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_control(control),
      m_areas(new QListWidget(this)),
      m_presets(new QListWidget(this)),
      m_macros(new QListWidget(this)),
      m_status(new QLabel(this)),
      m_enabled(new QCheckBox(tr("enabled"), this)),
      m_send(new QPushButton(tr("Send"), this)),
      m_run(new QPushButton(tr("Run Macro"), this)) {
    setWindowTitle(tr("Direct Control"));
    m_areas->setObjectName("areaList");
    m_presets->setObjectName("presetList");
    m_macros->setObjectName("macroList");
    m_status->setObjectName("statusLabel");
    m_enabled->setObjectName("macroEnabled");
    m_send->setObjectName("sendButton");
    m_run->setObjectName("macroButton");
    m_status->setWordWrap(true);
    m_status->setMinimumHeight(40);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(tr("Area"), this), 0, 0);
    layout->addWidget(new QLabel(tr("Preset"), this), 0, 1);
    layout->addWidget(new QLabel(tr("Macro"), this), 0, 2);
    layout->addWidget(m_areas, 1, 0);
    layout->addWidget(m_presets, 1, 1);
    layout->addWidget(m_macros, 1, 2);
    layout->addWidget(m_status, 2, 0);
    layout->addWidget(m_send, 2, 1);
    auto* macroRow = new QHBoxLayout;
    macroRow->addWidget(m_enabled);
    macroRow->addWidget(m_run);
    layout->addLayout(macroRow, 2, 2);
    resize(620, 380);

    connect(m_areas, &QListWidget::currentRowChanged, this, &DirectControlWindow::chooseArea);
    connect(m_macros, &QListWidget::currentRowChanged, this, &DirectControlWindow::chooseMacro);
    connect(m_presets, &QListWidget::itemDoubleClicked, this, &DirectControlWindow::send);
    connect(m_send, &QPushButton::clicked, this, &DirectControlWindow::send);
    connect(m_run, &QPushButton::clicked, this, &DirectControlWindow::runMacro);
    connect(m_enabled, &QCheckBox::clicked, this, [this](bool on) {
        if (const QListWidgetItem* item = m_macros->currentItem())
            m_control.setMacroEnabled(item->text(), on);
    });
    connect(&m_control, &reactions::DirectControl::statusTextChanged, m_status, &QLabel::setText);
    reload();
}

void DirectControlWindow::reload() {
    try {
        fillList(m_areas, m_control.areas());
        fillList(m_macros, m_control.macros());
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
    m_status->setText(m_control.statusText());
    m_enabled->setEnabled(false);
}

void DirectControlWindow::chooseArea() {
    const int area = chosenId(m_areas);
    if (area < 0 || !m_control.chooseArea(area)) return;
    try {
        fillList(m_presets, m_control.presets(area));
    } catch (const store::StoreError& error) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
    }
}

void DirectControlWindow::chooseMacro() {
    const QListWidgetItem* item = m_macros->currentItem();
    std::optional<bool> enabled;
    if (item) {
        try {
            enabled = m_control.macroEnabled(item->text());
        } catch (const store::StoreError& error) {
            showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
        }
    }
    m_enabled->setEnabled(enabled.has_value());
    m_enabled->setChecked(enabled.value_or(false));
}

void DirectControlWindow::send() {
    const int preset = chosenId(m_presets);
    if (preset > 0) m_control.send(preset);
}

void DirectControlWindow::runMacro() {
    if (const QListWidgetItem* item = m_macros->currentItem()) m_control.runMacro(item->text());
}

void DirectControlWindow::closeEvent(QCloseEvent* event) {
    m_control.close();
    QWidget::closeEvent(event);
}

}  // namespace qv::ui
