#pragma once
// The macro cue and the processor pool. RunMacro only puts a name on the cue;
// MacroCueTimer takes one name per 10 ms tick, checks the macro, logs its
// start and hands it to the first free of the 30 processor slots M1..M30.
// The pool performs what the running macros ask for (network messages,
// media, e-mail, other macros) and frees a slot when its run completes.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "macros/macro_runner.h"
#include "macros/threads_model.h"
#include "net/message.h"
#include "store/database.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <functional>

namespace qv::macros {

class MacroProcessor;

struct MacroPoolDeps {
    store::Database& db;  // the main database, shared with the processors
    store::MonitorSink& monitor;
    const qv::Clock& clock;  // date-times of the records and every timer
    // The actions that reach outside the engine. Empty functions do nothing.
    std::function<void(const net::RawMessage&)> sendRS232;
    std::function<void(const QString& path, const QString& macro)> PlayMediaFile;
    std::function<void(const QString& email, const QString& macro)> emailthis;
};

class MacroPool : public QObject, public MacroRunner {
    Q_OBJECT
public:
    static constexpr int kSlots = 30;
    static constexpr int kCueIntervalMs = 10;
    // The cue name that restarts the program instead of running a macro.
    static constexpr char kSystemRestart[] = "System Restart";

    explicit MacroPool(MacroPoolDeps deps, QObject* parent = nullptr);
    ~MacroPool() override;

    // Appends the name to the cue; no check, no log.
    Q_INVOKABLE void RunMacro(const QString& name) override;
    // Sets Cancel on every slot running exactly this name (letter case counts).
    Q_INVOKABLE void CancelThisMacro(const QString& macro);
    // Sets Cancel on every slot whose name differs from callingMacro ("All"
    // from the threads window and at shutdown).
    Q_INVOKABLE void CancelAllMacros(const QString& callingMacro);
    // Enables or disables the macro of that name, or every macro for "All Macros".
    Q_INVOKABLE void EnableMacro(const QString& macroname, bool TrueFalse);
    // The threads window's cancel button of slot 1..30.
    Q_INVOKABLE void CancelThreadButton(int slot);

    // Shutdown: the cue is emptied and takes no more names, so no processor
    // starts while the database closes.
    void stopCue();

    // The monitor window's ShowAllMacroActivityCheck: every line run is logged.
    void setShowAllMacroActivity(bool show) { m_showAllActivity = show; }
    bool showAllMacroActivity() const { return m_showAllActivity; }

    MacroThreadsModel& threads() { return m_threads; }
    QStringList cue() const { return m_cue; }
    int busySlots() const;
    // Slot numbers count from 1. Empty name / null for an empty slot.
    QString slotMacroName(int slot) const;
    MacroProcessor* processorInSlot(int slot) const;
    bool SlotStarting(int slot) const { return slot >= 1 && slot <= kSlots && m_slotStarting[slot - 1]; }

signals:
    // "System Restart" came off the cue: the shell shuts down normally and
    // starts the program again. With nothing connected the name is treated
    // as an ordinary macro name.
    void restartRequested();
    // Hooks for the roll-call window and the plan view.
    void RollCall(const QString& rollCall);
    void PlanViewNav(qint64 TreeView_ID);
    // Line tracing for the macro editor: slot's macro is about to run line
    // commandnumber (1-based).
    void RunningCommandnumber(int slot, const QString& macroName, int commandnumber, const QString& command);
    // A slot was taken or freed.
    void busySlotsChanged(int busy);

private:
    // One tick of the cue timer, every 10 ms while the cue holds names.
    void MacroCueTimer();
    void startInSlot(int index, const QString& name);
    void connectProcessor(int index, MacroProcessor* processor);
    void onRS232command(int index, const QByteArray& message);
    void onCancelMacro(int index, const QString& cancelmacro);
    void onRunningCommandnumber(int index, int commandnumber, const QString& command);
    void onReadFailed(int index, const QString& reason);
    void onProcesscomplete(int index);

    MacroPoolDeps m_deps;
    comms::MonitorWriter m_monitorWriter;
    QStringList m_cue;  // MacrosCueListbox: first in, first out, duplicates allowed
    std::unique_ptr<qv::Timer> m_cueTimer;
    std::array<MacroProcessor*, kSlots> m_slots{};  // M1..M30
    std::array<bool, kSlots> m_slotStarting{};
    MacroThreadsModel m_threads;
    bool m_showAllActivity = false;
    bool m_cueStopped = false;
};

}  // namespace qv::macros
