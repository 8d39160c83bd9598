#pragma once
// The energy recorder: when an area changes preset, the actual levels of its
// lamp channels are asked for, so that they reach the monitor log, which is
// what the energy report reads. A new change of the area before its requests
// went out replaces them.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "comms/monitor_writer.h"
#include "features/devices/channel_requests.h"
#include "store/database.h"
#include "store/monitor_record.h"

namespace qv::devices {

class EnergyRecorder : public comms::DecodeReactions {
public:
    EnergyRecorder(store::Database& main, ChannelRequests& requests, store::MonitorSink& monitor,
                   const qv::Clock& clock);

    // Config.enableenergyusage.
    void setEnabled(bool enabled) { m_enabled = enabled; }
    bool isEnabled() const { return m_enabled; }

    void nonZeroPresetHeard(int area) override;

private:
    store::Database& m_main;
    ChannelRequests& m_requests;
    comms::MonitorWriter m_monitorWriter;
    bool m_enabled = false;
    bool m_failing = false;
};

}  // namespace qv::devices
