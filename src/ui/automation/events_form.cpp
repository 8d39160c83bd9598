#include "ui/automation/events_form.h"

#include "shell/engine.h"
#include "shell/feature_set.h"
#include "store/store_error.h"
#include "ui/common/choice_combo.h"
#include "ui/common/message_box.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace qv::ui {

namespace {

QComboBox* combo(const QString& name, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setMinimumContentsLength(24);
    return c;
}

// The list with a blank first entry: nothing chosen.
void fillWithBlank(QComboBox* box, const std::vector<reactions::Choice>& choices) {
    fillCombo(box, choices);
    const QSignalBlocker quiet(box);
    box->insertItem(0, QString());
    box->setCurrentIndex(0);
}

std::optional<int> chosen(const QComboBox* box) {
    const QVariant id = box->currentData();
    return id.isValid() ? std::optional<int>(id.toInt()) : std::nullopt;
}

void select(QComboBox* box, std::optional<int> id) {
    if (!id || !selectChoiceId(box, *id)) box->setCurrentIndex(0);
}

}  // namespace

EventsForm::EventsForm(Windows& windows, QWidget* parent)
    : QWidget(parent),
      m_windows(windows),
      m_editor(windows.engine().mainDatabase(), windows.engine().features()->events()) {
    setObjectName(QStringLiteral("EventsForm"));
    setWindowTitle(tr("Events"));

    m_name = combo(QStringLiteral("EventNameCombo"), this);
    m_name->setEditable(true);
    m_name->setInsertPolicy(QComboBox::NoInsert);
    m_macro = combo(QStringLiteral("MacroCombo"), this);
    m_area = combo(QStringLiteral("AreaCombo"), this);
    m_preset = combo(QStringLiteral("PresetCombo"), this);
    m_customCode = combo(QStringLiteral("CustomCodeCombo"), this);

    auto* form = new QFormLayout;
    form->addRow(tr("Event"), m_name);
    form->addRow(tr("Macro"), m_macro);
    form->addRow(tr("Area"), m_area);
    form->addRow(tr("Preset"), m_preset);
    form->addRow(tr("Custom code"), m_customCode);

    auto* saveButton = new QPushButton(tr("Save"), this);
    saveButton->setObjectName(QStringLiteral("OKButton"));
    auto* deleteButton = new QPushButton(tr("Delete"), this);
    deleteButton->setObjectName(QStringLiteral("DeleteButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(deleteButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_name, &QComboBox::activated, this, [this](int index) { choose(m_name->itemText(index)); });
    connect(m_area, &QComboBox::currentIndexChanged, this, &EventsForm::fillPresets);
    connect(saveButton, &QPushButton::clicked, this, &EventsForm::save);
    connect(deleteButton, &QPushButton::clicked, this, &EventsForm::remove);
    reload();
}

void EventsForm::reload() {
    try {
        {
            const QSignalBlocker quiet(m_name);
            m_name->clear();
            m_name->addItems(m_editor.eventNames());
            m_name->setCurrentIndex(-1);
            m_name->setEditText(QString());
        }
        fillWithBlank(m_macro, m_editor.macros());
        fillWithBlank(m_area, m_editor.areas());
        fillWithBlank(m_customCode, m_editor.customCodes());
        fillPresets();
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void EventsForm::fillPresets() {
    const auto area = chosen(m_area);
    try {
        fillWithBlank(m_preset, area ? m_editor.presets(*area) : std::vector<reactions::Choice>{});
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void EventsForm::choose(const QString& name) {
    std::optional<reactions::EventDraft> stored;
    try {
        stored = m_editor.choose(name);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
        return;
    }
    if (!stored) return;
    select(m_macro, stored->macroId);
    select(m_area, stored->area);  // refills the presets
    select(m_preset, stored->preset);
    select(m_customCode, stored->customCodeId);
}

reactions::EventDraft EventsForm::draft() const {
    return {.name = m_name->currentText(),
            .area = chosen(m_area),
            .preset = chosen(m_preset),
            .macroId = chosen(m_macro),
            .customCodeId = chosen(m_customCode)};
}

void EventsForm::save() {
    if (showResult(this, m_editor.save(draft()), windowTitle())) reload();
}

void EventsForm::remove() {
    if (showResult(this, m_editor.remove(m_name->currentText()), windowTitle())) reload();
}

}  // namespace qv::ui
