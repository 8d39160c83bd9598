#include "macros/macro_pool.h"

#include "macros/command_line.h"
#include "macros/logging.h"
#include "macros/macro_processor.h"
#include "store/field_values.h"
#include "store/store_error.h"

#include <QMetaMethod>
#include <QSqlQuery>

#include <algorithm>

namespace qv::macros {

namespace {

// Clears SlotStarting however the start ends, so a failed start never
// leaves the slot marked.
class SlotStartingGuard {
public:
    explicit SlotStartingGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~SlotStartingGuard() { m_flag = false; }
    SlotStartingGuard(const SlotStartingGuard&) = delete;
    SlotStartingGuard& operator=(const SlotStartingGuard&) = delete;

private:
    bool& m_flag;
};

}  // namespace

MacroPool::MacroPool(MacroPoolDeps deps, QObject* parent)
    : QObject(parent),
      m_deps(std::move(deps)),
      m_monitorWriter(m_deps.monitor, m_deps.clock),
      m_cueTimer(m_deps.clock.createTimer(kCueIntervalMs, [this] { MacroCueTimer(); })),
      m_threads(kSlots) {}

MacroPool::~MacroPool() {
    m_cueTimer->stop();
    // Processors go before the pool's members, and without telling anyone.
    for (MacroProcessor*& processor : m_slots) {
        if (!processor) continue;
        processor->disconnect(this);
        delete processor;
        processor = nullptr;
    }
}

void MacroPool::RunMacro(const QString& name) {
    if (m_cueStopped) return;
    m_cue.append(name);
    if (!m_cueTimer->isActive()) m_cueTimer->start();
}

void MacroPool::stopCue() {
    m_cueStopped = true;
    m_cue.clear();
    m_cueTimer->stop();
}

void MacroPool::MacroCueTimer() {
    if (m_cue.isEmpty()) {
        m_cueTimer->stop();
        return;
    }
    const QString name = m_cue.takeFirst();
    if (m_cue.isEmpty()) m_cueTimer->stop();

    if (name == QLatin1String(kSystemRestart) &&
        isSignalConnected(QMetaMethod::fromSignal(&MacroPool::restartRequested))) {
        qCInfo(lcMacros) << "restart requested from the macro cue";
        emit restartRequested();
        return;
    }

    bool found = false;
    bool enabled = false;
    try {
        QSqlQuery lookup = m_deps.db.run(
            QStringLiteral("SELECT Macro, Enabled FROM Macros WHERE Macro = ? ORDER BY Macro_ID LIMIT 1"),
            {name});
        if (lookup.next()) {
            found = true;
            enabled = store::yesNoOr(lookup.value(1), false);  // Null counts as disabled
        }
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(
            QStringLiteral("The macro could not be looked up: %1").arg(QString::fromUtf8(e.what())),
            {.macro = name});
        return;
    }
    if (!found) {
        if (name == QLatin1String("startup"))
            m_monitorWriter.system(QStringLiteral("There is no 'Startup' Macro"), {.macro = name});
        else
            m_monitorWriter.error(QStringLiteral("Attempted to Start but Does not exist !"), {.macro = name});
        return;
    }
    if (!enabled) {
        m_monitorWriter.warning(QStringLiteral("Attempted to start but is Disabled !"), {.macro = name});
        return;
    }
    m_monitorWriter.system(QStringLiteral("Macro Started !"), {.macro = name});

    // Restart rule: a running instance of the same name (letter case counts)
    // is cancelled; it keeps its slot until it completes, the new run takes another.
    for (MacroProcessor* processor : m_slots) {
        if (processor && processor->MacroName() == name) processor->setCancel(true);
    }

    for (int index = 0; index < kSlots; ++index) {
        if (m_slots[index] || m_slotStarting[index]) continue;
        startInSlot(index, name);
        return;
    }
    // All 30 slots busy: the name is dropped without a further word.
    qCInfo(lcMacros) << "no free slot; dropped" << name;
}

void MacroPool::startInSlot(int index, const QString& name) {
    SlotStartingGuard starting(m_slotStarting[index]);
    auto* processor = new MacroProcessor(m_deps.clock, this);
    m_slots[index] = processor;
    connectProcessor(index, processor);
    processor->StartMacro(name, m_deps.db);
    m_threads.setThreadLabel(index + 1, name);
    emit busySlotsChanged(busySlots());
}

void MacroPool::connectProcessor(int index, MacroProcessor* p) {
    connect(p, &MacroProcessor::RunningCommandnumber, this,
            [this, index](int n, const QString& command) { onRunningCommandnumber(index, n, command); });
    connect(p, &MacroProcessor::RS232command, this,
            [this, index](const QByteArray& message) { onRS232command(index, message); });
    connect(p, &MacroProcessor::wavfile, this, [this, p](const QString& path) {
        if (m_deps.PlayMediaFile) m_deps.PlayMediaFile(path, p->MacroName());
    });
    connect(p, &MacroProcessor::Email, this, [this, p](const QString& email) {
        if (m_deps.emailthis) m_deps.emailthis(email, p->MacroName());
    });
    connect(p, &MacroProcessor::submacro, this, &MacroPool::RunMacro);
    connect(p, &MacroProcessor::CancelMacro, this,
            [this, index](const QString& cancelmacro) { onCancelMacro(index, cancelmacro); });
    connect(p, &MacroProcessor::EnableMacro, this, &MacroPool::EnableMacro);
    connect(p, &MacroProcessor::RollCall, this, &MacroPool::RollCall);
    connect(p, &MacroProcessor::PlanViewNav, this, &MacroPool::PlanViewNav);
    connect(p, &MacroProcessor::readFailed, this,
            [this, index](const QString& reason) { onReadFailed(index, reason); });
    connect(p, &MacroProcessor::processcomplete, this, [this, index] { onProcesscomplete(index); });
}

void MacroPool::onRS232command(int index, const QByteArray& message) {
    if (message.size() != static_cast<qsizetype>(net::kMessageSize)) {
        // A damaged or missing stored message (a deleted custom code, say) is
        // reported and the macro goes on.
        m_monitorWriter.error(
            QStringLiteral("The stored network message is not 8 bytes, nothing was sent"),
            {.macro = slotMacroName(index + 1), .rs232 = QString::fromLatin1(message.toHex(' ').toUpper())});
        return;
    }
    net::RawMessage raw{};
    std::copy(message.begin(), message.end(), raw.begin());
    if (m_deps.sendRS232) m_deps.sendRS232(raw);
}

void MacroPool::onCancelMacro(int index, const QString& cancelmacro) {
    CancelThisMacro(cancelmacro);
    // The caller keeps running: only the others are cancelled.
    if (cancelmacro == QLatin1String(kAllMacros)) CancelAllMacros(slotMacroName(index + 1));
}

void MacroPool::onRunningCommandnumber(int index, int commandnumber, const QString& command) {
    const QString name = slotMacroName(index + 1);
    emit RunningCommandnumber(index + 1, name, commandnumber, command);
    if (m_showAllActivity) m_monitorWriter.system(command, {.macro = name});
}

void MacroPool::onReadFailed(int index, const QString& reason) {
    m_monitorWriter.error(QStringLiteral("The macro could not be read: %1").arg(reason),
                          {.macro = slotMacroName(index + 1)});
}

void MacroPool::onProcesscomplete(int index) {
    MacroProcessor* processor = m_slots[index];
    if (!processor) return;
    m_slots[index] = nullptr;  // free at once: the cue may reuse the slot
    processor->disconnect(this);
    processor->deleteLater();  // it is still inside its own signal
    m_monitorWriter.system(QStringLiteral("Macro Ended !"), {.macro = m_threads.ThreadLabel(index + 1)});
    m_threads.setThreadLabel(index + 1, QString());
    emit busySlotsChanged(busySlots());
}

void MacroPool::CancelThisMacro(const QString& macro) {
    for (MacroProcessor* processor : m_slots) {
        if (processor && processor->MacroName() == macro) processor->setCancel(true);
    }
}

void MacroPool::CancelAllMacros(const QString& callingMacro) {
    for (MacroProcessor* processor : m_slots) {
        if (processor && processor->MacroName() != callingMacro) processor->setCancel(true);
    }
}

void MacroPool::CancelThreadButton(int slot) {
    if (MacroProcessor* processor = processorInSlot(slot)) processor->setCancel(true);
}

void MacroPool::EnableMacro(const QString& macroname, bool TrueFalse) {
    try {
        const bool all = macroname == QLatin1String(kAllMacros);
        const int enabled = TrueFalse ? 1 : 0;
        if (all)
            m_deps.db.run(QStringLiteral("UPDATE Macros SET Enabled = ?"), {enabled});
        else
            m_deps.db.run(QStringLiteral("UPDATE Macros SET Enabled = ? WHERE Macro = ?"),
                          {enabled, macroname});
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(QStringLiteral("The macro could not be %1: %2")
                                  .arg(TrueFalse ? QStringLiteral("enabled") : QStringLiteral("disabled"),
                                       QString::fromUtf8(e.what())),
                              {.macro = macroname});
    }
}

int MacroPool::busySlots() const {
    return static_cast<int>(
        std::count_if(m_slots.begin(), m_slots.end(), [](auto* p) { return p != nullptr; }));
}

QString MacroPool::slotMacroName(int slot) const {
    const MacroProcessor* processor = processorInSlot(slot);
    return processor ? processor->MacroName() : QString();
}

MacroProcessor* MacroPool::processorInSlot(int slot) const {
    return (slot >= 1 && slot <= kSlots) ? m_slots[slot - 1] : nullptr;
}

}  // namespace qv::macros
