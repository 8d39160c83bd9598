#pragma once
// The plan view: a drawing with a coloured indicator per area that follows
// the area's preset as the network reports it.

#include "features/plan/plan_indicators.h"

#include <QGraphicsView>
#include <QHash>

#include <memory>

class QGraphicsRectItem;
class QGraphicsScene;
class QMenu;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class PlanViewForm : public QGraphicsView {
    Q_OBJECT
public:
    explicit PlanViewForm(shell::Engine& engine, QWidget* parent = nullptr);
    ~PlanViewForm() override;

    // Shows a view: its drawing, the stored part of it and its indicators.
    void showView(int treeViewId);
    int currentView() const { return m_view; }
    QGraphicsRectItem* indicator(int index) const { return m_items.value(index); }

    void IndicatorChange(int area, int preset);
    void CheckAreaPresetArray();

    int selectedIndicator() const { return m_selected; }
    QMenu* indicatorMenu() const { return m_menu; }
    QString drawing() const { return m_colouring->drawing(); }
    // 0-4: squares of 400, 300, 150, 75 and 50 units.
    void setIndicatorSize(int entry);
    int indicatorSize() const { return m_sizeEntry; }
    // Why the current view's drawing is not shown; empty when it is.
    QString loadProblem() const { return m_loadProblem; }
    // A drawing file as a picture of the given size (the file's own size
    // when invalid); WMF and EMF files are converted first.
    static QImage readDrawing(const QString& path, const QSize& size, QString* problem);
    // Makes the picture (a file name in the drawings folder) the current
    // view's drawing, shown whole; false, after a message, when unreadable.
    bool usePicture(const QString& fileName);
    // A new indicator with the lowest free index at a point of the drawing.
    void AddNewIndicator(const QPointF& at);
    QWidget* templateIndicator() const { return m_template; }
    // Stores the shown part of the drawing and the indicator size in the view.
    void saveView();

signals:
    // A window the indicator menu opens (a registry name and its argument).
    void openRequested(const QString& name, const QVariant& argument);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paint(const QVector<int>& indices);
    QGraphicsRectItem* addIndicatorItem(int index, double left, double top);
    bool locked() const;
    void openMenu(int index, const QPoint& globalPos);
    void presets(int index);

    QString drawingPath(const QString& fileName) const;

    QWidget* m_template = nullptr;
    bool m_placing = false;
    bool m_placed = false;
    QGraphicsRectItem* m_dragged = nullptr;
    QPointF m_dragOffset;
    QMenu* m_menu = nullptr;
    int m_selected = 0;
    int m_sizeEntry = 2;
    int m_copiedArea = -1;

    shell::Engine& m_engine;
    QGraphicsScene* m_scene;
    std::unique_ptr<plan::PlanColouring> m_colouring;
    QHash<int, QGraphicsRectItem*> m_items;
    int m_view = 0;
    QString m_loadProblem;
};

}  // namespace qv::ui
