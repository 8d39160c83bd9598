#pragma once
// The plan view: a drawing with a coloured indicator per area that follows
// the area's preset as the network reports it.

#include "features/plan/plan_indicators.h"

#include <QGraphicsView>
#include <QHash>

#include <memory>

class QGraphicsRectItem;
class QGraphicsScene;

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

private:
    void paint(const QVector<int>& indices);

    shell::Engine& m_engine;
    QGraphicsScene* m_scene;
    std::unique_ptr<plan::PlanColouring> m_colouring;
    QHash<int, QGraphicsRectItem*> m_items;
    int m_view = 0;
};

}  // namespace qv::ui
