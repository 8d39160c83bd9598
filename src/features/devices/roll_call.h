#pragma once
// The roll call: asks every device of a named list for its firmware version,
// three tries each, one request per RollcallTimer tick, records each answer
// in the roll call's results file, and at the end mails the results and runs
// a macro when devices stayed silent.
//
// Started by macros (RollCall(name)); the progress window shows grid() and
// Rollcalllistbox() while started() .. finished(). Several roll calls can run
// together: their rows share the grid and the actions run once for all.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "comms/monitor_writer.h"
#include "features/devices/roll_call_model.h"
#include "features/devices/sensor_logging.h"
#include "macros/macro_runner.h"
#include "store/data_paths.h"
#include "store/database.h"
#include "store/monitor_record.h"
#include "store/outcome.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <map>
#include <memory>

namespace qv::devices {

class RollCallRunner : public QObject, public comms::DecodeReactions {
    Q_OBJECT
public:
    static constexpr int kTickMs = 300;
    static constexpr int kTries = 3;

    // The report e-mail: recipients as stored in RollCallActions, subject,
    // body (empty) and the results file to attach. Sent by the mail path the
    // macros use; its outcome is that path's to report.
    using SendMail = std::function<void(const QString& recipients, const QString& subject,
                                        const QString& body, const QString& attachmentPath)>;

    RollCallRunner(store::Database& main, store::DataPaths paths, store::MonitorSink& monitor,
                   const qv::Clock& clock, SendRS232 send, macros::MacroRunner& macros, SendMail sendMail,
                   QObject* parent = nullptr);
    ~RollCallRunner() override;

    // Sets up a run of the named roll call and starts the timer. Refused (with
    // the reason, also on the monitor) for a name that cannot be a file name,
    // a roll call already running, or a results file that cannot be made.
    store::Outcome RollCall(const QString& name);

    // An answer heard by the decoder.
    void Response(int deviceCode, int box, int major, int minor);
    // The end-of-run actions for every listed roll call; then the run is over.
    void RollcallActions();

    // Shutdown: stops the timer and closes the results files; no actions.
    void stop();

    bool isRunning() const;
    RollCallProgressModel& grid() { return m_grid; }
    const QStringList& Rollcalllistbox() const { return m_names; }
    QString resultsPath(const QString& name) const;

    void versionReply(const net::VersionReply& reply) override {
        Response(reply.deviceType, reply.box, reply.major, reply.minor);
    }

signals:
    // Show the progress window (msg::kRollCallWindowTitle).
    void started(const QString& name);
    // Close it: the grid and the list are empty again.
    void finished();

private:
    // One tick of RollcallTimer.
    void RollcallTimer();
    void ask(int row);
    void closeRun();

    store::Database& m_main;
    store::DataPaths m_paths;
    comms::MonitorWriter m_monitorWriter;
    const qv::Clock& m_clock;
    SendRS232 m_send;
    macros::MacroRunner& m_macros;
    SendMail m_sendMail;
    std::unique_ptr<qv::Timer> m_timer;

    RollCallProgressModel m_grid;
    QStringList m_names;
    std::map<QString, store::Database> m_results;  // open results file by roll-call name
    int m_rowPointer = 0;                          // 1-based; 0 = start at the first row
};

}  // namespace qv::devices
