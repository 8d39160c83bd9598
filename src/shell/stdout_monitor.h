#pragma once
// The headless monitor: every record as one line on standard output, the
// nine texts separated by tabs.

#include "store/monitor_record.h"

#include <cstdio>

namespace qv::shell {

class StdoutMonitor final : public store::MonitorSink {
public:
    void MonitorAdditem(const store::MonitorRecord& record) override {
        const QByteArray line = record.toTabbedLine().toUtf8();
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
};

}  // namespace qv::shell
