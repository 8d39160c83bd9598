#include "ui/plan/plan_view_tree_tool_box_form.h"

#include "features/plan/plan_views.h"
#include "shell/config/config_engine.h"
#include "shell/engine.h"
#include "ui/common/message_box.h"
#include "ui/common/window_memory.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHash>
#include <QHideEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <utility>

namespace qv::ui {

namespace {
plan::PlanViews views(shell::Engine& engine) {
    return plan::PlanViews(engine.mainDatabase(), QDir::toNativeSeparators(engine.paths().dir));
}
}  // namespace

PlanViewTreeToolBoxForm::PlanViewTreeToolBoxForm(shell::Engine& engine, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_engine(engine), m_tree(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("PlanViewTreeToolBoxForm"));
    setWindowTitle(QStringLiteral("Planview"));
    m_tree->setObjectName(QStringLiteral("TreeView"));
    m_tree->setHeaderHidden(true);
    auto* add = new QPushButton(QStringLiteral("New View"), this);
    add->setObjectName(QStringLiteral("NewViewButton"));
    auto* remove = new QPushButton(QStringLiteral("Delete"), this);
    remove->setObjectName(QStringLiteral("DeleteViewButton"));
    auto* picture = new QPushButton(QStringLiteral("Load a different picture"), this);
    picture->setObjectName(QStringLiteral("LoadPictureButton"));
    auto* save = new QPushButton(QStringLiteral("Save view"), this);
    save->setObjectName(QStringLiteral("SaveViewButton"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    auto* viewButtons = new QHBoxLayout;
    viewButtons->addWidget(picture);
    viewButtons->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tree);
    layout->addLayout(buttons);
    layout->addLayout(viewButtons);

    connect(add, &QPushButton::clicked, this, &PlanViewTreeToolBoxForm::addView);
    connect(remove, &QPushButton::clicked, this, &PlanViewTreeToolBoxForm::deleteView);
    connect(picture, &QPushButton::clicked, this, &PlanViewTreeToolBoxForm::choosePicture);
    connect(save, &QPushButton::clicked, this, &PlanViewTreeToolBoxForm::saveViewRequested);
    connect(m_tree, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { emit viewChosen(item->data(0, Qt::UserRole).toInt()); });
    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (locked() || item->text(0).trimmed().isEmpty()) {
            reload();
            return;
        }
        views(m_engine).rename(item->data(0, Qt::UserRole).toInt(), item->text(0));
    });
    reload();
    resize(260, 400);
}

bool PlanViewTreeToolBoxForm::locked() const {
    const config::ConfigEngine* config = m_engine.configEngine();
    return config && config->lockPlanview();
}

int PlanViewTreeToolBoxForm::currentId() const {
    return m_tree->currentItem() ? m_tree->currentItem()->data(0, Qt::UserRole).toInt() : 0;
}

void PlanViewTreeToolBoxForm::reload() {
    const int current = currentId();
    const QSignalBlocker block(m_tree);
    m_tree->clear();
    QHash<int, QTreeWidgetItem*> items;
    for (const plan::PlanView& view : views(m_engine).build()) {
        QTreeWidgetItem* parent = items.value(view.childOf);
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tree);
        item->setText(0, view.label);
        item->setData(0, Qt::UserRole, view.id);
        item->setFlags(item->flags() | (locked() ? Qt::NoItemFlags : Qt::ItemIsEditable));
        items.insert(view.id, item);
    }
    m_tree->expandAll();
    if (QTreeWidgetItem* again = items.value(current)) m_tree->setCurrentItem(again);
}

QTreeWidgetItem* PlanViewTreeToolBoxForm::item(int treeViewId) const {
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->data(0, Qt::UserRole).toInt() == treeViewId) return *it;
    return nullptr;
}

void PlanViewTreeToolBoxForm::addView() {
    if (locked() || currentId() == 0) return;
    const int added = views(m_engine).addView(currentId());
    reload();
    if (QTreeWidgetItem* again = item(added)) m_tree->setCurrentItem(again);
}

void PlanViewTreeToolBoxForm::deleteView() {
    QTreeWidgetItem* current = m_tree->currentItem();
    if (locked() || !current) return;
    if (!current->parent() &&
        !askYesNo(this, QStringLiteral("You about to delete your entire project!\nAre you sure?"),
                  QStringLiteral("Planview - delete project"), true))
        return;
    views(m_engine).remove(currentId());
    m_tree->setCurrentItem(nullptr);
    reload();
}

QString PlanViewTreeToolBoxForm::drawingsFolder() const {
    return QDir(m_engine.paths().dir).filePath(QStringLiteral("Planview Drawings"));
}

void PlanViewTreeToolBoxForm::choosePicture() {
    if (locked() || currentId() == 0) return;
    const QString chosen =
        QFileDialog::getOpenFileName(this, QStringLiteral("Load a different picture"), drawingsFolder(),
                                     QStringLiteral("All Files (*.*);;WMF Files (*.WMF)"));
    if (!chosen.isEmpty()) loadPicture(chosen);
}

void PlanViewTreeToolBoxForm::loadPicture(const QString& chosenFile) {
    const int id = currentId();
    if (locked() || id == 0) return;
    QString problem;
    const QString name = plan::PlanViews::copyDrawing(chosenFile, drawingsFolder(), &problem);
    if (name.isEmpty()) {
        showMessage(this, BoxKind::Exclamation, problem);
        return;
    }
    emit pictureLoaded(id, name);
}

// The place is read when the window first shows and written whenever it hides.
void PlanViewTreeToolBoxForm::showEvent(QShowEvent* event) {
    if (!std::exchange(m_placed, true))
        restoreWindowPlace(this, m_engine.userSettings(), QStringLiteral("Planviewtreetoolbox"));
    QWidget::showEvent(event);
}

void PlanViewTreeToolBoxForm::hideEvent(QHideEvent* event) {
    if (!event->spontaneous())
        saveWindowPlace(this, m_engine.userSettings(), QStringLiteral("Planviewtreetoolbox"));
    QWidget::hideEvent(event);
}

}  // namespace qv::ui
