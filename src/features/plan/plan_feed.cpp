#include "features/plan/plan_feed.h"

#include "features/plan/plan_indicators.h"

namespace qv::plan {

PlanFeed::PlanFeed(store::Database& db, store::MonitorSink& monitor, const qv::Clock& clock, QObject* parent)
    : QObject(parent), m_db(db), m_monitorWriter(monitor, clock) {}

void PlanFeed::GetIndicatorChanges() {
    m_flags = PlanIndicators(m_db).areasWithIndicators();
}

void PlanFeed::presetSelected(int area, int preset) {
    if (preset < 1) return;
    if (area == 0)
        emit CheckAreaPresetArray();
    else if (area <= 255 && hasIndicator(area))
        emit IndicatorChange(area, preset);
}

void PlanFeed::NavigatePlanView(qint64 treeViewId) {
    emit navigate(static_cast<int>(treeViewId));
    m_monitorWriter.write(store::MonitorType::Planview, QStringLiteral("Planview Navigates!"));
}

}  // namespace qv::plan
