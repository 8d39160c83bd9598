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
    // "Load a different picture": a file choice, then loadPicture.
    void choosePicture();
    // Copies the picture into the drawings folder for the selected view.
    void loadPicture(const QString& chosenFile);

signals:
    void viewChosen(int treeViewId);
    void pictureLoaded(int treeViewId, const QString& fileName);
    void saveViewRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool locked() const;
    int currentId() const;
    QString drawingsFolder() const;

    shell::Engine& m_engine;
    QTreeWidget* m_tree;
    bool m_placed = false;
};

}  // namespace qv::ui
