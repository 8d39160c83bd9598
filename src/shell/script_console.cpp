#include "shell/script_console.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace qv::shell {

namespace {

ScriptConsole::Outcome failure(const QJSValue& error) {
    const int number = static_cast<int>(error.errorType());
    QString description = error.toString();
    const int line = error.property(QStringLiteral("lineNumber")).toInt();
    if (line > 0) description += QStringLiteral(" (line %1)").arg(line);
    return {false, QStringLiteral("Scripting Error %1:   %2").arg(number).arg(description), {}};
}

}  // namespace

// Interrupts the engine from a second thread if the script overruns; the
// only thing that thread touches is the engine's thread-safe interrupt flag.
class RunawayGuard {
public:
    RunawayGuard(QJSEngine& engine, int limitMs)
        : m_thread([this, &engine, limitMs] {
              std::unique_lock lock(m_mutex);
              if (!m_done.wait_for(lock, std::chrono::milliseconds(limitMs), [this] { return m_finished; }))
                  engine.setInterrupted(true);
          }) {}
    ~RunawayGuard() {
        {
            std::lock_guard lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

ScriptConsole::ScriptConsole(QObject* api, QObject* parent) : QObject(parent), m_api(api) {}

void ScriptConsole::reset() {
    m_engine = std::make_unique<QJSEngine>();
    m_engine->installExtensions(QJSEngine::ConsoleExtension);
    QJSValue qv = m_engine->newQObject(m_api);
    m_engine->globalObject().setProperty(QStringLiteral("qv"), qv);
    // The api object belongs to the program, not to the script engine.
    QJSEngine::setObjectOwnership(m_api, QJSEngine::CppOwnership);
}

ScriptConsole::Outcome ScriptConsole::run(const QString& code, const QString& fileName) {
    reset();
    RunawayGuard guard(*m_engine, kTimeLimitMs);
    QStringList stack;
    QJSValue value = m_engine->evaluate(code, fileName, 1, &stack);
    if (value.isError()) return failure(value);
    const QJSValue main = m_engine->globalObject().property(QStringLiteral("main"));
    if (main.isCallable()) {
        value = main.call();
        if (value.isError()) return failure(value);
    }
    return {true, {}, value.isUndefined() ? QString() : value.toString()};
}

}  // namespace qv::shell
