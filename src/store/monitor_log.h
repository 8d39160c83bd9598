#pragma once
// The monitor: the one MonitorSink the program installs. Every record goes to
// the monitor list (MonitorModel), to the EventLog of the monitor log while
// logging is on (MonitorLogWriter), and then to any extra sinks the front end
// attached (the headless printer, for one).

#include "store/monitor_log_writer.h"
#include "store/monitor_model.h"
#include "store/monitor_record.h"

#include <QDateTime>
#include <QObject>

#include <functional>
#include <vector>

namespace qv::net {
class NameTables;
}

namespace qv::store {

struct MonitorLogDeps {
    QString logPath;                         // DataPaths::monitorLog()
    const net::NameTables* names = nullptr;  // may be set later with setNameTables()
    const qv::Clock& clock;                  // the own records' date-times and the commit timing
};

// The texts of the reset of the log, for the configuration window to show.
struct MonitorLogReset {
    // Asked with Yes and No, an information icon and No as the default answer.
    static QString question();
    // Shown with the critical icon after the records are gone.
    static QString done();
};

struct ResetOutcome {
    bool deleted = false;
    QString text;  // done() or why nothing was deleted
};

class MonitorLog final : public QObject, public MonitorSink {
    Q_OBJECT
public:
    explicit MonitorLog(MonitorLogDeps deps, QObject* parent = nullptr);
    ~MonitorLog() override;  // commits what waits

    // The tables the record names are looked up in, at the time of writing.
    void setNameTables(const net::NameTables* names) { m_names = names; }
    // enablemonitorlog: with it off, rows are shown but nothing is written.
    void setLoggingEnabled(bool enabled) { m_loggingEnabled = enabled; }
    bool loggingEnabled() const { return m_loggingEnabled; }
    // Extra sinks receive every record after the list and the log, in the
    // order added; read-back records are not passed on. Not owned.
    void addSink(MonitorSink* sink);

    void MonitorAdditem(const MonitorRecord& record) override;

    // Start-up: the last LoadFromMonitorLog records (0-10000) into the list,
    // oldest first, then the three separator rows. Nothing is written back.
    // progress, if given, receives 0-100. A log that cannot be read gives an
    // "ERROR ***" row and still the separators. Returns the records read.
    int loadPreviousSessions(int LoadFromMonitorLog, const std::function<void(int)>& progress = {});

    // The monitor window's clear button: the list only.
    void clear() { m_model.clear(); }

    // Deletes every EventLog record; call after the user answered Yes to
    // MonitorLogReset::question().
    ResetOutcome resetLog();

    // Commits waiting records now (shutdown calls it last, after the shutdown
    // record). False if they could not be written.
    bool flush() { return m_writer.flush(); }
    // Commits and closes the log file; a later record opens it again.
    void close() { m_writer.close(); }

    MonitorModel& model() { return m_model; }
    MonitorLogWriter& writer() { return m_writer; }

private:
    MonitorRecord ownRecord(MonitorType type, const QString& comment) const;

    MonitorLogDeps m_deps;
    const net::NameTables* m_names;
    MonitorModel m_model;
    MonitorLogWriter m_writer;
    std::vector<MonitorSink*> m_sinks;
    bool m_loggingEnabled = true;
};

}  // namespace qv::store
