#pragma once
// Writes the records the program makes about itself (system notes, warnings,
// errors), stamped with the injected clock: the one way engine code tells the
// monitor something that is not a message heard. Given a logging category,
// warnings and errors also go to the debug log.

#include "clock/clock.h"
#include "store/monitor_record.h"

#include <QLoggingCategory>

namespace qv::comms {

class MonitorWriter {
public:
    // A logging category, as Q_DECLARE_LOGGING_CATEGORY declares it.
    using LogCategory = const QLoggingCategory& (*)();

    MonitorWriter(store::MonitorSink& sink, const Clock& clock, LogCategory log = nullptr)
        : m_sink(sink), m_clock(clock), m_log(log) {}

    void system(const QString& comment, const store::MonitorDetails& details = {}) const {
        write(store::MonitorType::System, comment, details);
    }
    void warning(const QString& comment, const store::MonitorDetails& details = {}) const {
        write(store::MonitorType::Warning, comment, details);
    }
    void error(const QString& comment, const store::MonitorDetails& details = {}) const {
        write(store::MonitorType::Error, comment, details);
    }
    void write(store::MonitorType type, const QString& comment,
               const store::MonitorDetails& details = {}) const {
        if (m_log && (type == store::MonitorType::Warning || type == store::MonitorType::Error))
            qCWarning(m_log).noquote() << comment;
        m_sink.MonitorAdditem(store::monitorRecord(type, m_clock.nowText(), comment, details));
    }

private:
    store::MonitorSink& m_sink;
    const Clock& m_clock;
    LogCategory m_log;
};

}  // namespace qv::comms
