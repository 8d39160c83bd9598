#pragma once
// The relay's log: Qt's messages and the engine's monitor records, one line
// each on standard output with the time.

#include "store/monitor_record.h"

namespace qv::server {

// Sends Qt's log messages to standard output, each line stamped with the time.
void installStdoutLogging(bool verbose);

// Monitor records from the gateway side (the open, its errors, heartbeats and,
// when verbose, every message heard) as log lines.
class LogMonitor final : public store::MonitorSink {
public:
    explicit LogMonitor(bool verbose) : m_verbose(verbose) {}
    void MonitorAdditem(const store::MonitorRecord& record) override;

private:
    bool m_verbose;
};

}  // namespace qv::server
