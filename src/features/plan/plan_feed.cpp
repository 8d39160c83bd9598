#include "features/plan/plan_feed.h"

#include "features/plan/plan_indicators.h"

namespace qv::plan {

PlanFeed::PlanFeed(store::Database& db, store::MonitorSink& monitor, const comms::Clock& clock,
                   QObject* parent)
    : QObject(parent), m_db(db), m_monitor(monitor), m_clock(clock) {}

void PlanFeed::GetIndicatorChanges() {
    m_flags = PlanIndicators(m_db).areasWithIndicators();
}

void PlanFeed::planView(int area, int preset) {
    if (preset < 1) return;
    if (area == 0)
        emit CheckAreaPresetArray();
    else if (area <= 255 && hasIndicator(area))
        emit IndicatorChange(area, preset);
}

void PlanFeed::NavigatePlanView(qint64 treeViewId) {
    emit navigate(static_cast<int>(treeViewId));
    store::MonitorRecord record;
    record.MsgType = QStringLiteral("Planview");
    record.DateTime = comms::dateTimeText(m_clock.now());
    record.comment = QStringLiteral("Planview Navigates!");
    m_monitor.MonitorAdditem(record);
}

}  // namespace qv::plan
