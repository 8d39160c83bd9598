#pragma once
// One running macro. Created by the processor pool for one run: StartMacro
// reads the macro's lines and returns at once; the lines then run on this
// thread, driven by timers, and each action is raised as a signal for the
// pool to perform. processcomplete is raised exactly once per run, also after
// Cancel, for a macro without lines and for one that cannot be read.

#include "clock/clock.h"
#include "macros/run_lines.h"
#include "store/database.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace qv::macros {

class MacroProcessor : public QObject {
    Q_OBJECT
public:
    // Zero-delay lines run in batches of this many per event-loop pass, so a
    // long macro never holds up the other timers.
    static constexpr int kLinesPerPass = 64;

    explicit MacroProcessor(const qv::Clock& clock, QObject* parent = nullptr);
    ~MacroProcessor() override;

    // The name of the macro this object runs, as it was started.
    QString MacroName() const { return m_name; }

    // Setting Cancel asks the run to stop before its next line; a delay being
    // waited out ends at once.
    bool Cancel() const { return m_cancel; }
    void setCancel(bool cancel);

    // Reads the macro's lines from the main database (the handle every part
    // shares) and schedules the first line; returns before any line runs.
    // A second call is ignored.
    void StartMacro(const QString& name, store::Database& db);

    bool isComplete() const { return m_complete; }

signals:
    // Before each line; commandnumber counts from 1.
    void RunningCommandnumber(int commandnumber, const QString& Command);
    void RS232command(const QByteArray& rs232string);
    void wavfile(const QString& wavfile);
    void Email(const QString& email);
    void submacro(const QString& submacro);
    void CancelMacro(const QString& cancelmacro);
    void EnableMacro(const QString& macroname, bool TrueFalse);
    void RollCall(const QString& RollCall);
    void PlanViewNav(qint64 TreeView_ID);
    void processcomplete();
    // The lines could not be read; processcomplete follows.
    void readFailed(const QString& reason);

private:
    void runLines();
    void perform(const RunLine& line);
    void scheduleNext();
    void finish();

    std::unique_ptr<qv::Timer> m_delay;
    std::unique_ptr<qv::Timer> m_next;  // zero-interval: the next batch after the event loop has had its turn
    QString m_name;
    std::vector<RunLine> m_lines;
    std::size_t m_at = 0;
    QString m_readError;
    bool m_started = false;
    bool m_cancel = false;
    bool m_waiting = false;
    bool m_complete = false;
};

}  // namespace qv::macros
