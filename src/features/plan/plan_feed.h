#pragma once
// What the plan view hears: every preset selected (>= 1), filtered through
// the has-indicator table, and the macros' navigation to a view. The window
// listens while it is shown.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "comms/monitor_writer.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QVector>

namespace qv::store {
class Database;
}

namespace qv::plan {

class PlanFeed : public QObject, public comms::DecodeReactions {
    Q_OBJECT
public:
    PlanFeed(store::Database& db, store::MonitorSink& monitor, const qv::Clock& clock,
             QObject* parent = nullptr);

    // Rebuilds the has-indicator table (at start-up and after indicator setup).
    void GetIndicatorChanges();
    bool hasIndicator(int area) const { return area >= 0 && area < m_flags.size() && m_flags[area]; }

    void presetSelected(int area, int preset) override;

    // A macro line names a view: shown as if chosen in the tree.
    void NavigatePlanView(qint64 treeViewId);

signals:
    void IndicatorChange(int area, int preset);
    void CheckAreaPresetArray();
    void navigate(int treeViewId);

private:
    store::Database& m_db;
    comms::MonitorWriter m_monitorWriter;
    QVector<bool> m_flags = QVector<bool>(256, false);
};

}  // namespace qv::plan
