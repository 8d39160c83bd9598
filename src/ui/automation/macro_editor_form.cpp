#include "ui/automation/macro_editor_form.h"

#include "editors/email_store.h"
#include "editors/light_boxes.h"
#include "features/devices/roll_call_editor.h"
#include "features/plan/plan_views.h"
#include "features/reactions/area_channels.h"
#include "features/reactions/button_panel.h"
#include "features/reactions/choice_lists.h"
#include "macros/command_line.h"
#include "macros/line_builder.h"
#include "macros/macro_engine.h"
#include "macros/macro_pool.h"
#include "macros/macro_store.h"
#include "macros/macro_tree.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "store/data_paths.h"
#include "store/store_error.h"
#include "ui/common/choice_combo.h"
#include "ui/common/message_box.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>
#include <set>

namespace qv::ui {

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kPathRole = Qt::UserRole + 1;
const QColor kTraceColour(0xC0, 0xC0, 0xFF);
const QString kAllMacros = QStringLiteral("All Macros");
const QStringList kMediaFilters = {QStringLiteral("All Files (*.*)"),
                                   QStringLiteral("Media (*.wav *.mp3 *.mpg *.avi *.mid)")};

// The chosen entry's text; nothing for the blank first entry.
std::optional<QString> chosenText(const QComboBox* c) {
    if (c->currentIndex() < 0 || c->currentText().isEmpty()) return std::nullopt;
    return c->currentText();
}

QStringList withBlank(QStringList texts) {
    texts.prepend(QString());
    return texts;
}

void fillTexts(QComboBox* c, const QStringList& texts) {
    const QSignalBlocker quiet(c);
    c->clear();
    c->addItems(withBlank(texts));
}

QPushButton* button(const QString& name, const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    return b;
}

QLineEdit* box(const QString& name, const QString& text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setObjectName(name);
    return e;
}

QComboBox* combo(const QString& name, QWidget* parent) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    return c;
}

// The macro tree: a drop is handed to the editor (dragged node, node dropped
// onto), which asks the engine and reloads; the widget moves nothing itself.
class MacroTreeWidget : public QTreeWidget {
public:
    using QTreeWidget::QTreeWidget;
    std::function<void(QTreeWidgetItem*, QTreeWidgetItem*)> dropped;

protected:
    void dropEvent(QDropEvent* event) override {
        if (event->source() && event->source() != this) return event->ignore();
        QTreeWidgetItem* target = itemAt(event->position().toPoint());
        QTreeWidgetItem* dragged = currentItem();
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        if (dragged && target && dragged != target && dropped) dropped(dragged, target);
    }
};

}  // namespace

MacroEditorForm::MacroEditorForm(Windows& windows, QWidget* parent) : QWidget(parent), m_windows(windows) {
    setObjectName(QStringLiteral("MacroEditorForm"));
    setWindowTitle(tr("Macros"));
    auto& db = windows.engine().mainDatabase();

    m_search = box(QStringLiteral("MacroSearchEdit"), QString(), this);
    m_search->setPlaceholderText(tr("Search macros"));
    m_search->setToolTip(tr("Macros whose name or any line contains this text"));
    m_search->setClearButtonEnabled(true);

    auto* macroTree = new MacroTreeWidget(this);
    macroTree->dropped = [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
        dropNode(dragged, target);
    };
    m_tree = macroTree;
    m_tree->setObjectName(QStringLiteral("MacroTree"));
    m_tree->setHeaderHidden(true);
    // Not InternalMove: that refuses a drag whose source is not known, as in a test.
    m_tree->setDragDropMode(QAbstractItemView::DragDrop);
    m_tree->setDefaultDropAction(Qt::MoveAction);
    m_lineTree = new QTreeWidget(this);
    m_lineTree->setObjectName(QStringLiteral("LineTree"));
    m_lineTree->setHeaderLabels({tr("Line"), tr("Comment")});
    m_lineTree->setRootIsDecorated(false);

    auto* presetBox = new QGroupBox(tr("Area preset"), this);
    auto* presetForm = new QFormLayout(presetBox);
    m_presetArea = combo(QStringLiteral("PresetAreaCombo"), presetBox);
    m_preset = combo(QStringLiteral("PresetCombo"), presetBox);
    m_fade = box(QStringLiteral("FadeTextBox"), QStringLiteral("2"), presetBox);
    auto* addPresetButton = button(QStringLiteral("AddPresetButton"), tr("Add"), presetBox);
    presetForm->addRow(tr("Area"), m_presetArea);
    presetForm->addRow(tr("Preset"), m_preset);
    presetForm->addRow(tr("Fade (secs)"), m_fade);
    presetForm->addRow(addPresetButton);

    auto* channelBox = new QGroupBox(tr("Channel level"), this);
    auto* channelForm = new QFormLayout(channelBox);
    m_channelArea = combo(QStringLiteral("ChannelAreaCombo"), channelBox);
    m_channel = combo(QStringLiteral("ChannelCombo"), channelBox);
    m_level = box(QStringLiteral("LevelTextBox"), QStringLiteral("100"), channelBox);
    m_channelFade = box(QStringLiteral("ChannelFadeTextBox"), QStringLiteral("0"), channelBox);
    auto* addChannelButton = button(QStringLiteral("AddChannelButton"), tr("Add"), channelBox);
    channelForm->addRow(tr("Area"), m_channelArea);
    channelForm->addRow(tr("Channel"), m_channel);
    channelForm->addRow(tr("Level (%)"), m_level);
    channelForm->addRow(tr("Fade (secs)"), m_channelFade);
    channelForm->addRow(addChannelButton);

    auto* delayBox = new QGroupBox(tr("Delay"), this);
    auto* delayForm = new QFormLayout(delayBox);
    m_hours = box(QStringLiteral("HoursTextBox"), QStringLiteral("0"), delayBox);
    m_minutes = box(QStringLiteral("MinutesTextBox"), QStringLiteral("0"), delayBox);
    m_seconds = box(QStringLiteral("SecondsTextBox"), QStringLiteral("0"), delayBox);
    auto* addDelayButton = button(QStringLiteral("AddDelayButton"), tr("Add"), delayBox);
    delayForm->addRow(tr("Hours"), m_hours);
    delayForm->addRow(tr("Minutes"), m_minutes);
    delayForm->addRow(tr("Seconds"), m_seconds);
    delayForm->addRow(addDelayButton);

    auto* runBox = new QGroupBox(tr("Run macro"), this);
    auto* runForm = new QFormLayout(runBox);
    m_runMacro = combo(QStringLiteral("RunMacroCombo"), runBox);
    auto* addRunButton = button(QStringLiteral("AddRunMacroButton"), tr("Add"), runBox);
    runForm->addRow(tr("Macro"), m_runMacro);
    runForm->addRow(addRunButton);

    auto* mediaBox = new QGroupBox(tr("Media file"), this);
    auto* mediaForm = new QFormLayout(mediaBox);
    m_mediaFile = box(QStringLiteral("MediaFileTextBox"), {}, mediaBox);
    auto* browseButton = button(QStringLiteral("BrowseMediaButton"), tr("Browse..."), mediaBox);
    auto* addMediaButton = button(QStringLiteral("AddMediaButton"), tr("Add"), mediaBox);
    mediaForm->addRow(tr("File"), m_mediaFile);
    auto* mediaButtons = new QHBoxLayout;
    mediaButtons->addWidget(browseButton);
    mediaButtons->addWidget(addMediaButton);
    mediaForm->addRow(mediaButtons);

    auto* listsBox = new QGroupBox(tr("Roll call, custom code, e-mail"), this);
    auto* listsForm = new QFormLayout(listsBox);
    m_rollCall = combo(QStringLiteral("RollCallCombo"), listsBox);
    m_customCode = combo(QStringLiteral("CustomCodeCombo"), listsBox);
    m_email = combo(QStringLiteral("EmailCombo"), listsBox);
    auto* addRollCallButton = button(QStringLiteral("AddRollCallButton"), tr("Add"), listsBox);
    auto* addCustomButton = button(QStringLiteral("AddCustomButton"), tr("Add"), listsBox);
    auto* addEmailButton = button(QStringLiteral("AddEmailButton"), tr("Add"), listsBox);
    auto row = [](QWidget* field, QWidget* add) {
        auto* line = new QHBoxLayout;
        line->addWidget(field, 1);
        line->addWidget(add);
        return line;
    };
    listsForm->addRow(tr("Roll call"), row(m_rollCall, addRollCallButton));
    listsForm->addRow(tr("Custom code"), row(m_customCode, addCustomButton));
    listsForm->addRow(tr("E-mail"), row(m_email, addEmailButton));

    auto* controlBox = new QGroupBox(tr("Cancel, enable or disable a macro"), this);
    auto* controlForm = new QFormLayout(controlBox);
    m_cancelMacro = combo(QStringLiteral("CancelMacroCombo"), controlBox);
    m_enableMacro = combo(QStringLiteral("EnableMacroCombo"), controlBox);
    m_disableMacro = combo(QStringLiteral("DisableMacroCombo"), controlBox);
    auto* addCancelButton = button(QStringLiteral("AddCancelMacroButton"), tr("Add"), controlBox);
    auto* addEnableButton = button(QStringLiteral("AddEnableDisableButton"), tr("Add"), controlBox);
    controlForm->addRow(tr("Cancel"), row(m_cancelMacro, addCancelButton));
    controlForm->addRow(tr("Enable"), m_enableMacro);
    controlForm->addRow(tr("Disable"), row(m_disableMacro, addEnableButton));

    auto* lightBoxBox = new QGroupBox(tr("Light box"), this);
    auto* lightBoxForm = new QFormLayout(lightBoxBox);
    m_lightBox = combo(QStringLiteral("LightBoxCombo"), lightBoxBox);
    lightBoxForm->addRow(tr("Light box"), m_lightBox);
    for (int i = 0; i < 3; ++i) {
        m_boxChannelLabels[i] = new QLabel(lightBoxBox);
        m_boxLevels[i] = combo(QStringLiteral("LightBoxLevel%1Combo").arg(i + 1), lightBoxBox);
        lightBoxForm->addRow(m_boxChannelLabels[i], m_boxLevels[i]);
    }
    auto* addLightBoxButton = button(QStringLiteral("AddLightBoxButton"), tr("Add"), lightBoxBox);
    lightBoxForm->addRow(addLightBoxButton);

    auto* planViewBox = new QGroupBox(tr("Plan view"), this);
    auto* planViewLayout = new QVBoxLayout(planViewBox);
    m_planViews = new QTreeWidget(planViewBox);
    m_planViews->setObjectName(QStringLiteral("PlanViewTree"));
    m_planViews->setHeaderHidden(true);
    auto* addPlanViewButton = button(QStringLiteral("AddPlanViewButton"), tr("Add"), planViewBox);
    planViewLayout->addWidget(m_planViews);
    planViewLayout->addWidget(addPlanViewButton);

    fillCombo(m_presetArea, reactions::areaChoices(db, QStringLiteral("  ")));
    fillCombo(m_channelArea, reactions::areaChoices(db, QStringLiteral("  ")));
    fillCombo(m_runMacro, reactions::macroChoices(db));
    auto fillPresets = [this, &db] {
        fillCombo(m_preset,
                  reactions::presetChoices(db, currentChoiceId(m_presetArea, 0), QStringLiteral("  ")));
    };
    fillPresets();
    fillChannels();
    connect(m_presetArea, &QComboBox::currentIndexChanged, this, fillPresets);
    connect(m_channelArea, &QComboBox::currentIndexChanged, this, &MacroEditorForm::fillChannels);

    auto* newFolderButton = button(QStringLiteral("NewFolderButton"), tr("New Folder"), this);
    auto* newMacroButton = button(QStringLiteral("NewMacroButton"), tr("New Macro"), this);
    auto* deleteNodeButton = button(QStringLiteral("DeleteNodeButton"), tr("Delete"), this);
    auto* nodeName = box(QStringLiteral("NodeNameTextBox"), {}, this);
    auto* renameButton = button(QStringLiteral("RenameButton"), tr("Rename"), this);
    auto* copyButton = button(QStringLiteral("CopyButton"), tr("Copy"), this);
    auto* pasteButton = button(QStringLiteral("PasteButton"), tr("Paste"), this);
    auto* lineUpButton = button(QStringLiteral("LineUpButton"), tr("Up"), this);
    auto* lineDownButton = button(QStringLiteral("LineDownButton"), tr("Down"), this);
    auto* deleteLineButton = button(QStringLiteral("DeleteLineButton"), tr("Delete Line"), this);
    auto* saveButton = button(QStringLiteral("SaveButton"), tr("Save"), this);
    auto* testButton = button(QStringLiteral("TestButton"), tr("Test"), this);
    auto* runningButton = button(QStringLiteral("RunningMacrosButton"), tr("Running Macros"), this);

    auto* treeColumn = new QVBoxLayout;
    treeColumn->addWidget(m_search);
    treeColumn->addWidget(m_tree);
    treeColumn->addWidget(nodeName);
    auto* treeButtons = new QHBoxLayout;
    treeButtons->addWidget(newFolderButton);
    treeButtons->addWidget(newMacroButton);
    treeButtons->addWidget(deleteNodeButton);
    treeColumn->addLayout(treeButtons);
    auto* editButtons = new QHBoxLayout;
    for (auto* b : {renameButton, copyButton, pasteButton}) editButtons->addWidget(b);
    treeColumn->addLayout(editButtons);

    auto* lineColumn = new QVBoxLayout;
    lineColumn->addWidget(m_lineTree);
    auto* lineButtons = new QHBoxLayout;
    for (auto* b : {lineUpButton, lineDownButton, deleteLineButton, saveButton, testButton, runningButton})
        lineButtons->addWidget(b);
    lineColumn->addLayout(lineButtons);

    auto* panels = new QVBoxLayout;
    for (auto* g : {presetBox, channelBox, delayBox, runBox, lightBoxBox}) panels->addWidget(g);
    panels->addStretch();
    auto* morePanels = new QVBoxLayout;
    for (auto* g : {mediaBox, listsBox, controlBox}) morePanels->addWidget(g);
    morePanels->addWidget(planViewBox, 1);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(treeColumn, 2);
    layout->addLayout(lineColumn, 3);
    layout->addLayout(panels, 2);
    layout->addLayout(morePanels, 2);

    connect(addPresetButton, &QPushButton::clicked, this, &MacroEditorForm::addPreset);
    connect(addChannelButton, &QPushButton::clicked, this, &MacroEditorForm::addChannel);
    connect(addDelayButton, &QPushButton::clicked, this, &MacroEditorForm::addDelay);
    connect(addRunButton, &QPushButton::clicked, this, &MacroEditorForm::addRunMacro);
    connect(browseButton, &QPushButton::clicked, this, &MacroEditorForm::browseMedia);
    connect(addMediaButton, &QPushButton::clicked, this, [this] {
        const auto built = macros::buildWavLine(m_mediaFile->text());
        addBuilt(built.lines, built.message);
    });
    connect(addRollCallButton, &QPushButton::clicked, this, [this] {
        const auto built = macros::buildRollCallLine(chosenText(m_rollCall));
        addBuilt(built.lines, built.message);
    });
    connect(addCustomButton, &QPushButton::clicked, this, [this] {
        const auto built = macros::buildCustomLine(chosenText(m_customCode));
        addBuilt(built.lines, built.message);
    });
    connect(addEmailButton, &QPushButton::clicked, this, [this] {
        const QVariant id = m_email->currentData();
        const auto built =
            macros::buildEmailLine(id.isValid() ? std::optional<qint64>(id.toLongLong()) : std::nullopt);
        addBuilt(built.lines, built.message);
    });
    connect(addCancelButton, &QPushButton::clicked, this, [this] {
        const auto built = macros::buildCancelMacroLine(chosenText(m_cancelMacro));
        addBuilt(built.lines, built.message);
    });
    connect(addEnableButton, &QPushButton::clicked, this, [this] {
        const auto built =
            macros::buildEnableDisableLine(chosenText(m_enableMacro), chosenText(m_disableMacro));
        addBuilt(built.lines, built.message);
    });
    // Choosing in one of the enable and disable lists clears the other.
    connect(m_enableMacro, &QComboBox::activated, this, [this] { m_disableMacro->setCurrentIndex(0); });
    connect(m_disableMacro, &QComboBox::activated, this, [this] { m_enableMacro->setCurrentIndex(0); });
    connect(m_lightBox, &QComboBox::currentIndexChanged, this, &MacroEditorForm::fillBoxLevels);
    connect(addLightBoxButton, &QPushButton::clicked, this, &MacroEditorForm::addLightBox);
    connect(addPlanViewButton, &QPushButton::clicked, this, &MacroEditorForm::addPlanView);
    connect(deleteLineButton, &QPushButton::clicked, this, &MacroEditorForm::deleteLine);
    connect(saveButton, &QPushButton::clicked, this, &MacroEditorForm::save);
    connect(deleteNodeButton, &QPushButton::clicked, this, &MacroEditorForm::deleteNode);
    connect(testButton, &QPushButton::clicked, this, [this] {
        if (!m_macroName.isEmpty()) m_windows.engine().macroEngine()->pool().RunMacro(m_macroName);
    });
    connect(runningButton, &QPushButton::clicked, this, [this] { m_windows.open(window::kThreads); });

    auto folderOfSelection = [this]() -> qint64 {
        auto* item = m_tree->currentItem();
        for (; item; item = item->parent()) {
            auto ref = macros::parseNodeKey(item->data(0, kKeyRole).toString());
            if (ref && ref->kind == macros::TreeNode::Kind::Folder) return ref->id;
        }
        return macros::kTopLevel;
    };
    connect(newFolderButton, &QPushButton::clicked, this, [this, nodeName, folderOfSelection] {
        auto result =
            m_windows.engine().macroEngine()->tree().createFolder(nodeName->text(), folderOfSelection());
        if (!result.ok) showMessage(this, BoxKind::Exclamation, result.message);
        reloadTree();
    });
    connect(newMacroButton, &QPushButton::clicked, this, [this, nodeName, folderOfSelection] {
        auto result =
            m_windows.engine().macroEngine()->tree().createMacro(nodeName->text(), folderOfSelection());
        if (!result.ok) {
            showMessage(this, BoxKind::Exclamation, result.message);
            return;
        }
        reloadTree();
        fillCombo(m_runMacro, reactions::macroChoices(m_windows.engine().mainDatabase()));
        fillPickLists();
        openMacro(nodeName->text());
    });
    connect(renameButton, &QPushButton::clicked, this, [this, nodeName] { renameNode(nodeName->text()); });
    connect(copyButton, &QPushButton::clicked, this, [this] {
        auto* item = m_tree->currentItem();
        auto ref = item ? macros::parseNodeKey(item->data(0, kKeyRole).toString()) : std::nullopt;
        if (ref && ref->kind == macros::TreeNode::Kind::Macro) m_copiedName = item->text(0);
    });
    connect(pasteButton, &QPushButton::clicked, this, [this, folderOfSelection] {
        if (m_copiedName.isEmpty()) return;
        const auto result =
            m_windows.engine().macroEngine()->tree().pasteMacro(m_copiedName, folderOfSelection());
        if (!result.ok) showMessage(this, BoxKind::Exclamation, result.message);
        reloadTree();
        fillCombo(m_runMacro, reactions::macroChoices(m_windows.engine().mainDatabase()));
        fillPickLists();
    });
    connect(lineUpButton, &QPushButton::clicked, this, [this] { moveLine(-1); });
    connect(lineDownButton, &QPushButton::clicked, this, [this] { moveLine(1); });
    connect(m_search, &QLineEdit::textChanged, this, &MacroEditorForm::applySearch);
    connect(m_search, &QLineEdit::returnPressed, this, &MacroEditorForm::openFirstFound);
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        auto ref = macros::parseNodeKey(item->data(0, kKeyRole).toString());
        if (ref && ref->kind == macros::TreeNode::Kind::Macro) openMacro(item->text(0));
    });
    connect(&windows.engine().macroEngine()->pool(), &macros::MacroPool::RunningCommandnumber, this,
            [this](int slot, const QString& name, int number, const QString&) {
                onRunningLine(slot, name, number);
            });

    reloadTree();
    fillPickLists();
    fillLightBoxes();
    fillPlanViews();
    resize(1400, 640);
}

// The light boxes by number; each box's channels come with its levels.
void MacroEditorForm::fillLightBoxes() {
    const QSignalBlocker quiet(m_lightBox);
    m_lightBox->clear();
    try {
        for (const auto& channel : editors::LightBoxStore(m_windows.engine().mainDatabase()).boxes())
            if (m_lightBox->findData(channel.box) < 0)
                m_lightBox->addItem(QString::number(channel.box), channel.box);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
    fillBoxLevels();
}

void MacroEditorForm::fillBoxLevels() {
    std::vector<editors::LightBoxChannel> channels;
    editors::LightBoxStore store(m_windows.engine().mainDatabase());
    try {
        const QVariant box = m_lightBox->currentData();
        if (box.isValid())
            for (const auto& channel : store.boxes())
                if (channel.box == box.toInt() && channels.size() < 3) channels.push_back(channel);
        for (std::size_t i = 0; i < 3; ++i) {
            QComboBox* levels = m_boxLevels[i];
            levels->clear();
            const bool present = i < channels.size();
            m_boxChannels[i] = present ? channels[i].channel : 0;
            m_boxChannelLabels[i]->setText(present ? channels[i].name : tr("Channel %1").arg(i + 1));
            levels->setEnabled(present);
            if (!present) continue;
            levels->addItem(QString());
            for (const auto& level : store.levels(channels[i].id)) levels->addItem(level.name, level.id);
        }
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void MacroEditorForm::addLightBox() {
    const QVariant box = m_lightBox->currentData();
    if (!box.isValid()) return;
    std::array<macros::CorvalinChoice, 3> choices;
    for (std::size_t i = 0; i < 3; ++i) {
        choices[i].channel = m_boxChannels[i];
        const QVariant level = m_boxLevels[i]->currentData();
        if (level.isValid()) choices[i].levelId = level.toLongLong();
    }
    const auto built = macros::buildCorvalinLines(box.toInt(), choices);
    addBuilt(built.lines, built.message);
}

// The plan views with their full paths; an empty view table is left empty.
void MacroEditorForm::fillPlanViews() {
    m_planViews->clear();
    try {
        plan::PlanViews views(m_windows.engine().mainDatabase(),
                              QDir::toNativeSeparators(m_windows.engine().paths().dir));
        if (views.views().isEmpty()) return;
        QHash<int, QTreeWidgetItem*> byId;
        for (const auto& view : views.build()) {
            auto* parentItem = byId.value(view.childOf);
            auto* item = parentItem ? new QTreeWidgetItem(parentItem) : new QTreeWidgetItem(m_planViews);
            item->setText(0, view.label);
            item->setData(0, kKeyRole, macros::planViewKey(view.id));
            item->setData(0, kPathRole, view.path);
            byId.insert(view.id, item);
        }
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
    m_planViews->expandAll();
}

void MacroEditorForm::addPlanView() {
    auto* item = m_planViews->currentItem();
    if (!item) return;
    const auto built =
        macros::buildPlanViewLine(item->data(0, kPathRole).toString(), item->data(0, kKeyRole).toString());
    addBuilt(built.lines, built.message);
}

// A macro dropped onto a folder (or the root) moves into it, onto a macro of
// its folder takes that place; a folder dropped onto a folder moves into it.
void MacroEditorForm::dropNode(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
    const auto from = macros::parseNodeKey(dragged->data(0, kKeyRole).toString());
    const auto onto = macros::parseNodeKey(target->data(0, kKeyRole).toString());
    if (!from || !onto || from->kind == macros::TreeNode::Kind::Root) return;
    using Kind = macros::TreeNode::Kind;
    auto& tree = m_windows.engine().macroEngine()->tree();
    const qint64 folder = onto->kind == Kind::Folder ? onto->id : macros::kTopLevel;
    macros::TreeResult result;
    if (from->kind == Kind::Macro)
        result = onto->kind == Kind::Macro ? tree.reorderMacro(from->id, onto->id)
                                           : tree.moveMacro(from->id, folder);
    else if (onto->kind != Kind::Macro)
        result = tree.moveFolder(from->id, folder);
    else
        return;
    if (!result.ok) showMessage(this, BoxKind::Exclamation, result.message);
    const QString key = dragged->data(0, kKeyRole).toString();
    reloadTree();
    const auto found = m_tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
    for (auto* item : found)
        if (item->data(0, kKeyRole).toString() == key) m_tree->setCurrentItem(item);
}

void MacroEditorForm::fillPickLists() {
    auto& db = m_windows.engine().mainDatabase();
    try {
        QStringList macroNames;
        for (const auto& c : reactions::macroChoices(db)) macroNames << c.text;
        fillTexts(m_cancelMacro, QStringList{kAllMacros} + macroNames);
        fillTexts(m_enableMacro, QStringList{kAllMacros} + macroNames);
        fillTexts(m_disableMacro, macroNames);
        QStringList codes;
        for (const auto& c : reactions::customCodeChoices(db)) codes << c.text;
        fillTexts(m_customCode, codes);
        fillTexts(m_rollCall, devices::RollCallEditor(db).rollCallNames());
        const QSignalBlocker quiet(m_email);
        m_email->clear();
        m_email->addItem(QString());
        for (const auto& e : editors::EmailStore(db).all()) m_email->addItem(e.name, e.id);
    } catch (const store::StoreError& e) {
        showMessage(this, BoxKind::Critical, QString::fromUtf8(e.what()));
    }
}

void MacroEditorForm::browseMedia() {
    auto* dialog = new QFileDialog(this, tr("Media file"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(kMediaFilters);
    dialog->selectNameFilter(kMediaFilters.last());
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& file) {
        if (!file.isEmpty()) m_mediaFile->setText(QDir::toNativeSeparators(file));
    });
    dialog->open();
}

void MacroEditorForm::fillChannels() {
    m_channel->clear();
    const int area = currentChoiceId(m_channelArea, 0);
    for (const auto& c : reactions::loadAreaChannels(m_windows.engine().mainDatabase(), area)) {
        const QString text = c.name.trimmed().isEmpty()
                                 ? QString::number(c.channel)
                                 : QString::number(c.channel) + QStringLiteral("  ") + c.name;
        m_channel->addItem(text, c.channel);
    }
}

void MacroEditorForm::reloadTree() {
    QString error;
    const auto nodes = m_windows.engine().macroEngine()->tree().load(&error);
    if (!error.isEmpty()) showMessage(this, BoxKind::Critical, error);
    m_tree->clear();
    QHash<QString, QTreeWidgetItem*> byKey;
    for (const auto& node : nodes) {
        QTreeWidgetItem* item = nullptr;
        if (auto* parentItem = byKey.value(node.parentKey))
            item = new QTreeWidgetItem(parentItem);
        else
            item = new QTreeWidgetItem(m_tree);
        item->setText(0, node.caption);
        item->setData(0, kKeyRole, node.key);
        item->setToolTip(0, node.description);
        if (node.kind == macros::TreeNode::Kind::Root) item->setFlags(item->flags() & ~Qt::ItemIsDragEnabled);
        byKey.insert(node.key, item);
    }
    m_tree->expandAll();
    applySearch();
}

void MacroEditorForm::applySearch() {
    const QString text = m_search->text().trimmed();
    std::set<qint64> found;
    if (!text.isEmpty()) {
        try {
            const auto ids = m_windows.engine().macroEngine()->macroStore().findMacros(text);
            found.insert(ids.begin(), ids.end());
        } catch (const store::StoreError& error) {
            showMessage(this, BoxKind::Critical, QString::fromUtf8(error.what()));
        }
    }
    // Children before their parents, so a folder knows whether anything in it is shown.
    std::function<bool(QTreeWidgetItem*)> show = [&](QTreeWidgetItem* item) {
        bool anyChild = false;
        for (int i = 0; i < item->childCount(); ++i) anyChild = show(item->child(i)) || anyChild;
        const auto ref = macros::parseNodeKey(item->data(0, kKeyRole).toString());
        const bool isMacro = ref && ref->kind == macros::TreeNode::Kind::Macro;
        const bool hit = isMacro && found.count(ref->id) > 0;
        QFont font = item->font(0);
        font.setBold(hit);
        item->setFont(0, font);
        const bool visible =
            text.isEmpty() || hit || anyChild || !ref || ref->kind == macros::TreeNode::Kind::Root;
        item->setHidden(!visible);
        return visible && (isMacro ? hit : anyChild);
    };
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) show(m_tree->topLevelItem(i));
}

void MacroEditorForm::openFirstFound() {
    const auto items = m_tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive);
    for (QTreeWidgetItem* item : items) {
        if (item->isHidden() || !item->font(0).bold()) continue;
        m_tree->setCurrentItem(item);
        openMacro(item->text(0));
        return;
    }
}

void MacroEditorForm::openMacro(const QString& name) {
    auto loaded = m_windows.engine().macroEngine()->macroStore().LoadMacroLines(name);
    if (!loaded.ok()) {
        showMessage(this, BoxKind::Critical, loaded.error);
        return;
    }
    m_macroName = name;
    m_lines = loaded.lines;
    m_tracedLine = -1;
    setWindowTitle(tr("Macros") + QStringLiteral(" - ") + name);
    const auto found = m_tree->findItems(name, Qt::MatchFixedString | Qt::MatchRecursive);
    if (!found.isEmpty()) m_tree->setCurrentItem(found.first());
    showLines();
}

void MacroEditorForm::showLines() {
    m_lineTree->clear();
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        auto* item =
            new QTreeWidgetItem(m_lineTree, {m_lines.displayTexts.value(i), m_lines.comments.value(i)});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
    }
    m_lineTree->resizeColumnToContents(0);
    m_lineTree->setColumnWidth(0, m_lineTree->columnWidth(0) + 24);  // a gap before the comment
}

void MacroEditorForm::addBuilt(const QStringList& lines, const QString& message) {
    if (!message.isEmpty()) showMessage(this, BoxKind::Exclamation, message);
    if (m_macroName.isEmpty()) return;
    qsizetype selected =
        m_lineTree->currentItem() ? m_lineTree->indexOfTopLevelItem(m_lineTree->currentItem()) : -1;
    for (const auto& line : lines) {
        const qsizetype at = m_lines.insertLine(line, selected);
        if (selected >= 0) selected = at + 1;
    }
    showLines();
}

void MacroEditorForm::addPreset() {
    const auto fade = macros::checkPresetFade(m_fade->text());
    m_fade->setText(fade.text);
    if (!fade.message.isEmpty()) {
        showMessage(this, BoxKind::Exclamation, fade.message);
        return;
    }
    const auto built = macros::buildPresetLine(currentChoiceId(m_presetArea, 0), currentChoiceId(m_preset, 0),
                                               m_fade->text());
    addBuilt(built.lines, built.message);
}

void MacroEditorForm::addChannel() {
    m_level->setText(macros::clampLevel(m_level->text()));
    m_channelFade->setText(macros::clampChannelFade(m_channelFade->text()));
    const auto built =
        macros::buildChannelLine(currentChoiceId(m_channelArea, 0), m_channel->currentData().toInt(),
                                 m_level->text(), m_channelFade->text());
    addBuilt(built.lines, built.message);
}

void MacroEditorForm::addDelay() {
    const auto entry = macros::buildDelayLine(m_hours->text(), m_minutes->text(), m_seconds->text());
    m_hours->setText(entry.hoursBox);
    m_minutes->setText(entry.minutesBox);
    m_seconds->setText(entry.secondsBox);
    addBuilt(entry.built.lines, entry.built.message);
}

void MacroEditorForm::addRunMacro() {
    std::optional<QString> macro;
    if (m_runMacro->currentIndex() >= 0) macro = m_runMacro->currentText();
    const auto built = macros::buildSubMacroLine(macro);
    addBuilt(built.lines, built.message);
}

void MacroEditorForm::deleteLine() {
    if (auto* item = m_lineTree->currentItem()) {
        m_lines.removeLine(m_lineTree->indexOfTopLevelItem(item));
        showLines();
    }
}

void MacroEditorForm::moveLine(int step) {
    auto* item = m_lineTree->currentItem();
    if (!item) return;
    const int from = m_lineTree->indexOfTopLevelItem(item);
    if (!m_lines.moveLine(from, from + step)) return;
    showLines();
    m_lineTree->setCurrentItem(m_lineTree->topLevelItem(from + step));
}

void MacroEditorForm::renameNode(const QString& name) {
    auto* item = m_tree->currentItem();
    auto ref = item ? macros::parseNodeKey(item->data(0, kKeyRole).toString()) : std::nullopt;
    if (!ref || ref->kind == macros::TreeNode::Kind::Root) return;
    auto& tree = m_windows.engine().macroEngine()->tree();
    const bool isMacro = ref->kind == macros::TreeNode::Kind::Macro;
    const auto result = isMacro ? tree.renameMacro(ref->id, name) : tree.renameFolder(ref->id, name);
    if (!result.ok) {
        showMessage(this, BoxKind::Exclamation, result.message);
        return;
    }
    if (isMacro && item->text(0) == m_macroName) {
        m_macroName = name;
        setWindowTitle(tr("Macros") + QStringLiteral(" - ") + name);
    }
    reloadTree();
    if (isMacro) {
        if (auto* features = m_windows.engine().features()) features->buttons().GetButtonLabels();
        fillCombo(m_runMacro, reactions::macroChoices(m_windows.engine().mainDatabase()));
        fillPickLists();
    }
}

void MacroEditorForm::save() {
    if (m_macroName.isEmpty()) return;
    for (int i = 0; i < m_lineTree->topLevelItemCount() && i < m_lines.comments.size(); ++i)
        m_lines.comments[i] = m_lineTree->topLevelItem(i)->text(1);
    const auto report = m_windows.engine().macroEngine()->macroStore().SaveMacroLines(m_macroName, m_lines);
    if (!report.messages.isEmpty())
        showMessage(this, BoxKind::Exclamation, report.messages.join(QLatin1Char('\n')));
    openMacro(m_macroName);
}

void MacroEditorForm::deleteNode() {
    auto* item = m_tree->currentItem();
    if (!item) return;
    auto ref = macros::parseNodeKey(item->data(0, kKeyRole).toString());
    if (!ref || ref->kind == macros::TreeNode::Kind::Root) return;
    auto& tree = m_windows.engine().macroEngine()->tree();
    const bool isMacro = ref->kind == macros::TreeNode::Kind::Macro;
    const auto result = isMacro ? tree.deleteMacro(ref->id) : tree.deleteFolder(ref->id);
    if (!result.ok) {
        showMessage(this, BoxKind::Exclamation, result.message);
        return;
    }
    if (isMacro && item->text(0) == m_macroName) {
        m_macroName.clear();
        m_lines = {};
        showLines();
    }
    reloadTree();
    if (isMacro) {
        // A button may have run the deleted macro: its label goes with it.
        if (auto* features = m_windows.engine().features()) features->buttons().GetButtonLabels();
        fillCombo(m_runMacro, reactions::macroChoices(m_windows.engine().mainDatabase()));
        fillPickLists();
    }
}

void MacroEditorForm::onRunningLine(int, const QString& macroName, int commandnumber) {
    if (macroName.compare(m_macroName, Qt::CaseInsensitive) != 0) return;
    if (auto* old = m_lineTree->topLevelItem(m_tracedLine))
        for (int c = 0; c < 2; ++c) old->setData(c, Qt::BackgroundRole, {});
    m_tracedLine = commandnumber;
    if (auto* now = m_lineTree->topLevelItem(commandnumber))
        for (int c = 0; c < 2; ++c) now->setBackground(c, kTraceColour);
}

}  // namespace qv::ui
