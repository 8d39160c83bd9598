#include "features/plan/plan_views.h"

#include "store/database.h"
#include "store/transaction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlQuery>
#include <QVariant>

namespace qv::plan {

namespace {

PlanView rowToView(const QSqlQuery& q) {
    PlanView v;
    v.id = q.value(0).toInt();
    v.label = q.value(1).toString();
    v.childOf = q.value(2).toInt();
    v.drawing = q.value(3).toString();
    v.left = q.value(4).toDouble();
    v.width = q.value(5).toDouble();
    v.top = q.value(6).toDouble();
    v.height = q.value(7).toDouble();
    v.iconSize = q.value(8).toInt();
    return v;
}

const QString kColumns = QStringLiteral(
    "SELECT TreeView_ID, Label, ChildOf, WMFFile, \"Left\", Width, Top, Height, iconsize FROM TreeView");

}  // namespace

PlanViews::PlanViews(store::Database& db, QString programFolder)
    : m_db(db), m_programFolder(std::move(programFolder)) {}

QVector<PlanView> PlanViews::views() const {
    QSqlQuery q = m_db.run(kColumns + QStringLiteral(" ORDER BY TreeView_ID"));
    QVector<PlanView> out;
    while (q.next()) out.push_back(rowToView(q));
    return out;
}

PlanView PlanViews::view(int id) const {
    QSqlQuery q = m_db.run(kColumns + QStringLiteral(" WHERE TreeView_ID = ?"), {id});
    return q.next() ? rowToView(q) : PlanView{};
}

QVector<PlanView> PlanViews::build() {
    QVector<PlanView> all = views();
    if (all.isEmpty()) {
        QSqlQuery q = m_db.run(
            QStringLiteral(
                "INSERT INTO TreeView (Label, ChildOf, WMFFile, \"Left\", Width, Top, Height, iconsize)"
                " VALUES ('Project', 0, ?, 0, 0, 0, 0, 0)"),
            {m_programFolder + QStringLiteral("\\planview.jpg")});
        all = views();
    }
    QHash<int, QString> paths;
    QSet<int> droppedParents;
    QVector<PlanView> out;
    for (PlanView& v : all) {
        if (v.childOf != 0 && !paths.contains(v.childOf)) {
            droppedParents.insert(v.childOf);
            continue;
        }
        v.path = v.childOf == 0 ? v.label : paths.value(v.childOf) + QLatin1Char('\\') + v.label;
        paths.insert(v.id, v.path);
        out.push_back(v);
    }
    if (!droppedParents.isEmpty()) {
        store::Transaction t(m_db);
        for (int parent : droppedParents) {
            m_db.run(QStringLiteral("DELETE FROM TreeView WHERE ChildOf = ?"), {parent});
        }
        t.commit();
    }
    return out;
}

int PlanViews::addView(int parentId) {
    const PlanView parent = view(parentId);
    QSqlQuery q = m_db.run(
        QStringLiteral(
            "INSERT INTO TreeView (Label, ChildOf, WMFFile, \"Left\", Width, Top, Height, iconsize)"
            " VALUES ('New View', ?, ?, ?, ?, ?, ?, ?)"),
        {parentId, parent.drawing, parent.left, parent.width, parent.top, parent.height, parent.iconSize});
    return q.lastInsertId().toInt();
}

void PlanViews::rename(int id, const QString& label) {
    m_db.run(QStringLiteral("UPDATE TreeView SET Label = ? WHERE TreeView_ID = ?"), {label, id});
}

void PlanViews::remove(int id) {
    store::Transaction t(m_db);
    m_db.run(QStringLiteral("DELETE FROM TreeView WHERE TreeView_ID = ? OR ChildOf = ?"), {id, id});
    // Grandchildren and deeper: repeat until no view is left without a parent.
    for (;;) {
        QSqlQuery orphans =
            m_db.run(QStringLiteral("DELETE FROM TreeView WHERE ChildOf <> 0"
                                    " AND ChildOf NOT IN (SELECT TreeView_ID FROM TreeView)"));
        if (orphans.numRowsAffected() <= 0) break;
    }
    t.commit();
}

void PlanViews::saveExtents(int id, double left, double width, double top, double height, int iconSize) {
    m_db.run(QStringLiteral("UPDATE TreeView SET \"Left\" = ?, Width = ?, Top = ?, Height = ?, "
                            "iconsize = ? WHERE TreeView_ID = ?"),
             {left, width, top, height, iconSize, id});
}

void PlanViews::setDrawing(int id, const QString& drawing, double left, double width, double top,
                           double height) {
    m_db.run(QStringLiteral("UPDATE TreeView SET WMFFile = ?, \"Left\" = ?, Width = ?, Top = ?, "
                            "Height = ? WHERE TreeView_ID = ?"),
             {drawing, left, width, top, height, id});
}

QString PlanViews::copyDrawing(const QString& source, const QString& drawingsFolder, QString* problem) {
    const QFileInfo from(source);
    const QString name = from.fileName();
    const QString target = QDir(drawingsFolder).filePath(name);
    if (!from.isFile()) {
        *problem = QStringLiteral("The picture %1 cannot be found").arg(source);
        return {};
    }
    if (QFileInfo(target) == from) return name;  // chosen from the folder itself
    // Copied beside the old one first, so a failed copy keeps the old file.
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    QFile file(source);
    if (!QDir().mkpath(drawingsFolder) || !file.copy(part)) {
        *problem = QStringLiteral("The picture %1 could not be copied to %2: %3")
                       .arg(name, QDir::toNativeSeparators(drawingsFolder), file.errorString());
        return {};
    }
    QFile::remove(target);
    if (!QFile::rename(part, target)) {
        *problem = QStringLiteral("The picture %1 could not be copied to %2")
                       .arg(name, QDir::toNativeSeparators(drawingsFolder));
        return {};
    }
    return name;
}

}  // namespace qv::plan
