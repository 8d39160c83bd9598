#pragma once
// Hands every monitor record to each of several sinks: the monitor log and
// its model, and the headless printer or a test's recorder.

#include "store/monitor_record.h"

#include <vector>

namespace qv::shell {

class FanoutMonitor final : public store::MonitorSink {
public:
    void add(store::MonitorSink* sink) {
        if (sink) m_sinks.push_back(sink);
    }
    void remove(store::MonitorSink* sink) { std::erase(m_sinks, sink); }
    void MonitorAdditem(const store::MonitorRecord& record) override {
        for (store::MonitorSink* sink : m_sinks) sink->MonitorAdditem(record);
    }

private:
    std::vector<store::MonitorSink*> m_sinks;
};

}  // namespace qv::shell
