#include "ui/editors/button_assignment_form.h"

#include "features/reactions/button_panel.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "store/store_error.h"
#include "ui/common/choice_combo.h"
#include "ui/common/message_box.h"
#include "ui/common/units.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qv::ui {

namespace {

using reactions::ButtonEditor;

QComboBox* combo(const QString& name, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    return box;
}

// A pick list with a first "nothing chosen" entry (id -1).
void fillOptional(QComboBox* box, std::vector<reactions::Choice> choices) {
    choices.insert(choices.begin(), reactions::Choice{QString(), -1});
    fillCombo(box, choices);
}

std::optional<int> chosen(const QComboBox* box) {
    const int id = currentChoiceId(box, -1);
    return id < 0 ? std::nullopt : std::optional<int>(id);
}

}  // namespace

ButtonAssignmentForm::ButtonAssignmentForm(shell::Engine& engine, int index, QWidget* parent)
    : QWidget(parent, Qt::Window),
      m_editor(engine.mainDatabase(), engine.features()->buttons()),
      m_panel(engine.features()->buttons()) {
    setObjectName(QStringLiteral("ButtonAssignmentForm"));
    m_caption = new QLineEdit(this);
    m_caption->setObjectName(QStringLiteral("CaptionTextBox"));
    m_invisible = new QCheckBox(tr("Invisible"), this);
    m_invisible->setObjectName(QStringLiteral("Invisible"));
    m_macro = combo(QStringLiteral("MacroCombo"), this);
    auto* save = new QPushButton(tr("Save"), this);
    save->setObjectName(QStringLiteral("SaveButton"));
    auto* remove = new QPushButton(tr("Delete"), this);
    remove->setObjectName(QStringLiteral("DeleteButton"));

    m_rules = new QTableWidget(0, 3, this);
    m_rules->setObjectName(QStringLiteral("RuleGrid"));
    m_rules->setHorizontalHeaderLabels(
        {ButtonEditor::kTriggerHeading, ButtonEditor::kLabelHeading, ButtonEditor::kMacroHeading});
    m_rules->horizontalHeader()->setStretchLastSection(true);
    m_rules->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_rules->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_rules->verticalHeader()->hide();
    m_rules->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rules->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rules->setEditTriggers(QAbstractItemView::NoEditTriggers);

    m_ruleArea = combo(QStringLiteral("RuleAreaCombo"), this);
    m_rulePreset = combo(QStringLiteral("RulePresetCombo"), this);
    m_ruleCustom = combo(QStringLiteral("RuleCustomCombo"), this);
    m_ruleLabel = new QLineEdit(this);
    m_ruleLabel->setObjectName(QStringLiteral("RuleLabelTextBox"));
    m_ruleMacro = combo(QStringLiteral("RuleMacroCombo"), this);
    m_ruleColour = new QPushButton(this);
    m_ruleColour->setObjectName(QStringLiteral("RuleColourButton"));
    auto* add = new QPushButton(tr("Add rule"), this);
    add->setObjectName(QStringLiteral("AddRuleButton"));
    auto* deleteRule = new QPushButton(tr("Delete rule"), this);
    deleteRule->setObjectName(QStringLiteral("DeleteRuleButton"));

    auto* face = new QFormLayout;
    face->addRow(tr("Caption"), m_caption);
    face->addRow(QString(), m_invisible);
    face->addRow(tr("Starting macro"), m_macro);
    auto* faceButtons = new QHBoxLayout;
    faceButtons->addStretch();
    faceButtons->addWidget(save);
    faceButtons->addWidget(remove);

    auto* ruleBox = new QGroupBox(tr("New rule"), this);
    auto* rule = new QFormLayout(ruleBox);
    auto* trigger = new QHBoxLayout;
    trigger->addWidget(m_ruleArea, 1);
    trigger->addWidget(m_rulePreset, 1);
    rule->addRow(tr("Area and preset"), trigger);
    rule->addRow(tr("or Custom Code"), m_ruleCustom);
    rule->addRow(tr("Label"), m_ruleLabel);
    rule->addRow(tr("Macro"), m_ruleMacro);
    rule->addRow(tr("Colour"), m_ruleColour);
    auto* ruleButtons = new QHBoxLayout;
    ruleButtons->addStretch();
    ruleButtons->addWidget(add);
    ruleButtons->addWidget(deleteRule);
    rule->addRow(ruleButtons);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(face);
    layout->addLayout(faceButtons);
    layout->addWidget(m_rules, 1);
    layout->addWidget(ruleBox);
    resize(620, 560);

    connect(save, &QPushButton::clicked, this, &ButtonAssignmentForm::save);
    connect(remove, &QPushButton::clicked, this, &ButtonAssignmentForm::removeButton);
    connect(add, &QPushButton::clicked, this, &ButtonAssignmentForm::addRule);
    connect(deleteRule, &QPushButton::clicked, this, &ButtonAssignmentForm::deleteRule);
    connect(m_ruleArea, &QComboBox::currentIndexChanged, this, &ButtonAssignmentForm::fillPresets);
    connect(m_ruleColour, &QPushButton::clicked, this, [this] {
        auto* dialog = new QColorDialog(m_colour, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &QColorDialog::colorSelected, this, [this](const QColor& c) {
            m_colour = c;
            showColour();
        });
        dialog->open();
    });
    showColour();
    showButton(index);
}

void ButtonAssignmentForm::showButton(int index) {
    m_index = index;
    setWindowTitle(tr("Button %1").arg(index));
    try {
        fillOptional(m_macro, m_editor.macros());
        fillOptional(m_ruleMacro, m_editor.macros());
        fillOptional(m_ruleArea, m_editor.areas());
        fillOptional(m_ruleCustom, m_editor.customCodes());
        fillPresets();
        const auto draft = m_editor.load(index);
        m_caption->setText(draft ? draft->caption : QString());
        m_invisible->setChecked(draft && draft->invisible);
        selectChoiceId(m_macro, draft && draft->macroId ? *draft->macroId : -1);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
    showRules();
}

void ButtonAssignmentForm::fillPresets() {
    const auto area = chosen(m_ruleArea);
    try {
        fillOptional(m_rulePreset, area ? m_editor.presets(*area) : std::vector<reactions::Choice>{});
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void ButtonAssignmentForm::showRules() {
    m_rules->setRowCount(0);
    try {
        for (const reactions::RuleLine& line : m_editor.rules(m_index)) {
            const int row = m_rules->rowCount();
            m_rules->insertRow(row);
            auto* trigger = new QTableWidgetItem(line.trigger);
            trigger->setData(Qt::UserRole, line.id);
            m_rules->setItem(row, 0, trigger);
            auto* label = new QTableWidgetItem(line.label);
            if (line.colour) label->setBackground(colourFromStored(*line.colour));
            m_rules->setItem(row, 1, label);
            m_rules->setItem(row, 2, new QTableWidgetItem(line.macro));
        }
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void ButtonAssignmentForm::showColour() {
    m_ruleColour->setText(m_colour.name());
    m_ruleColour->setStyleSheet(QStringLiteral("background-color: %1").arg(m_colour.name()));
}

void ButtonAssignmentForm::save() {
    showResult(this, m_editor.save(m_index, {m_caption->text(), m_invisible->isChecked(), chosen(m_macro)}));
}

void ButtonAssignmentForm::removeButton() {
    if (showResult(this, m_editor.removeButton(m_index))) showButton(m_index);
}

void ButtonAssignmentForm::addRule() {
    reactions::RuleDraft draft;
    draft.label = m_ruleLabel->text();
    draft.macroId = chosen(m_ruleMacro);
    draft.area = chosen(m_ruleArea);
    draft.preset = draft.area ? chosen(m_rulePreset) : std::nullopt;
    draft.customCodeId = chosen(m_ruleCustom);
    draft.colour = storedFromColour(m_colour);
    if (showResult(this, m_editor.addRule(m_index, draft))) {
        m_ruleLabel->clear();
        m_panel.GetButtonChanges();  // the new rule listens from now on
        showRules();
    }
}

void ButtonAssignmentForm::deleteRule() {
    const int row = m_rules->currentRow();
    if (row < 0) return;
    if (showResult(this, m_editor.deleteRule(m_rules->item(row, 0)->data(Qt::UserRole).toInt()))) {
        m_panel.GetButtonChanges();
        showRules();
    }
}

}  // namespace qv::ui
