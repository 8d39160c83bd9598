#include "macros/macro_processor.h"

#include "macros/logging.h"
#include "store/store_error.h"

#include <cmath>

namespace qv::macros {

MacroProcessor::MacroProcessor(const qv::Clock& clock, QObject* parent)
    : QObject(parent),
      m_delay(clock.createSingleShot(0,
                                     [this] {
                                         m_waiting = false;
                                         runLines();
                                     })),
      m_next(clock.createSingleShot(0, [this] { runLines(); })) {}

MacroProcessor::~MacroProcessor() {
    m_delay->stop();
}

void MacroProcessor::StartMacro(const QString& name, store::Database& db) {
    if (m_started) return;
    m_started = true;
    m_name = name;
    try {
        m_lines = readRunLines(db, name);
    } catch (const store::StoreError& e) {
        m_readError = QString::fromUtf8(e.what());
    }
    qCDebug(lcMacros) << "processor for" << name << "has" << m_lines.size() << "lines";
    scheduleNext();
}

void MacroProcessor::setCancel(bool cancel) {
    if (!cancel || m_cancel || m_complete) {
        m_cancel = m_cancel || cancel;
        return;
    }
    m_cancel = true;
    if (!m_started) return;  // StartMacro will find the flag on its first pass
    if (m_waiting) {
        m_delay->stop();
        m_waiting = false;
    }
    scheduleNext();
}

void MacroProcessor::scheduleNext() {
    if (!m_complete) m_next->start();
}

void MacroProcessor::runLines() {
    if (m_complete || m_waiting) return;
    if (!m_readError.isEmpty()) {
        const QString reason = m_readError;
        m_readError.clear();
        emit readFailed(reason);
        finish();
        return;
    }
    for (int done = 0; done < kLinesPerPass; ++done) {
        if (m_cancel || m_at >= m_lines.size()) {
            finish();
            return;
        }
        // A handler may cancel this run while it runs; the copy keeps the line valid.
        const RunLine line = m_lines[m_at++];
        emit RunningCommandnumber(static_cast<int>(m_at), line.command);
        if (m_cancel) continue;
        if (line.kind == RunLine::Kind::Delay && line.seconds > 0 && std::isfinite(line.seconds)) {
            m_waiting = true;
            const double ms = std::min(line.seconds * 1000.0, 9.0e15);
            m_delay->start(static_cast<qint64>(std::llround(ms)));
            return;
        }
        perform(line);
        if (m_complete) return;  // cannot happen through our own handlers, but stay safe
    }
    scheduleNext();
}

void MacroProcessor::perform(const RunLine& line) {
    switch (line.kind) {
        case RunLine::Kind::Nothing:
        case RunLine::Kind::Delay:
            break;
        case RunLine::Kind::Network:
            emit RS232command(line.message);
            break;
        case RunLine::Kind::Wav:
            emit wavfile(line.text);
            break;
        case RunLine::Kind::RollCall:
            emit RollCall(line.text);
            break;
        case RunLine::Kind::SubMacro:
            emit submacro(line.text);
            break;
        case RunLine::Kind::CancelMacro:
            emit CancelMacro(line.text);
            break;
        case RunLine::Kind::EnableMacro:
            emit EnableMacro(line.text, true);
            break;
        case RunLine::Kind::DisableMacro:
            emit EnableMacro(line.text, false);
            break;
        case RunLine::Kind::Email:
            emit Email(line.text);
            break;
        case RunLine::Kind::PlanView:
            emit PlanViewNav(line.number);
            break;
    }
}

void MacroProcessor::finish() {
    if (m_complete) return;
    m_complete = true;
    m_next->stop();
    m_delay->stop();
    m_waiting = false;
    emit processcomplete();
}

}  // namespace qv::macros
