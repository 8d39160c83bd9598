#pragma once
// The tree of plan views (TreeView rows): each view is a drawing and the part
// of it that is shown. Views are read in the order they were created, so a
// parent always comes before its children.

#include <QString>
#include <QVector>

namespace qv::store {
class Database;
}

namespace qv::plan {

struct PlanView {
    int id = 0;
    QString label;
    int childOf = 0;
    QString drawing;
    double left = 0, width = 0, top = 0, height = 0;
    int iconSize = 0;
    QString path;  // labels from the top view down, joined by "\"
};

class PlanViews {
public:
    // programFolder: where the root view's "\planview.jpg" is looked for.
    PlanViews(store::Database& db, QString programFolder);

    // Every view in creation order with its path. An empty table first gets
    // the root "Project"; a view whose parent is missing drops every view with
    // that same parent.
    QVector<PlanView> build();
    QVector<PlanView> views() const;  // as stored, no clean-up
    PlanView view(int id) const;      // id 0 when missing

    int addView(int parentId);  // "New View" with the parent's drawing and extents
    void rename(int id, const QString& label);
    // The view, its children and every view left without a parent: one transaction.
    void remove(int id);
    void saveExtents(int id, double left, double width, double top, double height, int iconSize);
    void setDrawing(int id, const QString& drawing, double left, double width, double top, double height);

    // Copies a chosen picture into the drawings folder under its own file
    // name (a file already there is replaced) and returns that name; empty,
    // with the reason in *problem, when it cannot be copied.
    static QString copyDrawing(const QString& source, const QString& drawingsFolder, QString* problem);

private:
    store::Database& m_db;
    QString m_programFolder;
};

}  // namespace qv::plan
