#pragma once
// The headless monitor: every record as one line on standard output, the
// nine texts separated by tabs. Lines are flushed once per event-loop pass
// rather than one write each, so a flood costs one write per pass; a reader
// on the other end still has every line as soon as the pass is done.

#include "store/monitor_record.h"

#include <QObject>

#include <cstdio>
#include <utility>

namespace qv::shell {

class StdoutMonitor final : public store::MonitorSink {
public:
    ~StdoutMonitor() override { std::fflush(stdout); }

    void MonitorAdditem(const store::MonitorRecord& record) override {
        QByteArray line = record.toTabbedLine().toUtf8();
        line += '\n';
        std::fwrite(line.constData(), 1, static_cast<std::size_t>(line.size()), stdout);
        if (!std::exchange(m_flushQueued, true))
            QMetaObject::invokeMethod(
                &m_context,
                [this] {
                    m_flushQueued = false;
                    std::fflush(stdout);
                },
                Qt::QueuedConnection);
    }

private:
    QObject m_context;  // a flush still queued goes with this monitor
    bool m_flushQueued = false;
};

}  // namespace qv::shell
