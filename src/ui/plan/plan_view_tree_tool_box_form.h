#pragma once
// The tree of plan views: a click shows the view in the plan view; new,
// rename and delete change the tree unless the plan view is locked.

#include <QWidget>

class QTreeWidget;
class QTreeWidgetItem;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class PlanViewTreeToolBoxForm : public QWidget {
    Q_OBJECT
public:
    explicit PlanViewTreeToolBoxForm(shell::Engine& engine, QWidget* parent = nullptr);

    void reload();
    QTreeWidget* tree() const { return m_tree; }
    QTreeWidgetItem* item(int treeViewId) const;
    void addView();
    void deleteView();

signals:
    void viewChosen(int treeViewId);

private:
    bool locked() const;
    int currentId() const;

    shell::Engine& m_engine;
    QTreeWidget* m_tree;
};

}  // namespace qv::ui
