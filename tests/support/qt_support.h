#pragma once
// Helpers for tests that need Qt's event loop.

#include "store/monitor_record.h"
#include "support/manual_clock.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>

#include <functional>
#include <vector>

namespace qv::test {

// One application object for the whole test program.
inline QCoreApplication& qtApp() {
    static int argc = 1;
    static char name[] = "quorvel-tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? QCoreApplication::instance() : new QCoreApplication(argc, argv);
    return *app;
}

// Runs the event loop until the condition holds or the time is up.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000) {
    qtApp();
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return true;
}

// Runs the event loop for a while.
inline void spin(int ms) {
    waitUntil([] { return false; }, ms);
}

// Runs the event loop until the condition holds, moving the clock on by
// stepMs after each pass, so the engine's timers take no real time; false
// when clockMs of the clock's time go by first. Sockets and processes are
// still served by the real event loop on every pass.
inline bool runUntil(ManualClock& clock, const std::function<bool()>& condition, qint64 clockMs = 30000,
                     qint64 stepMs = 10) {
    qtApp();
    for (qint64 t = 0; !condition(); t += stepMs) {
        if (t >= clockMs) return false;
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
        clock.advance(stepMs);
    }
    return true;
}

// Keeps every monitor record for the test to look at.
class RecordingMonitor final : public store::MonitorSink {
public:
    void MonitorAdditem(const store::MonitorRecord& record) override { records.push_back(record); }

    int count(const std::function<bool(const store::MonitorRecord&)>& match) const {
        int n = 0;
        for (const auto& r : records) n += match(r) ? 1 : 0;
        return n;
    }
    int countComment(const QString& comment) const {
        return count([&](const store::MonitorRecord& r) { return r.comment == comment; });
    }
    // Whether a record has this comment (and this macro, when one is given).
    bool saw(const QString& comment, const QString& macro = {}) const {
        return count([&](const store::MonitorRecord& r) {
                   return r.comment == comment && (macro.isEmpty() || r.Macro == macro);
               }) > 0;
    }

    std::vector<store::MonitorRecord> records;
};

}  // namespace qv::test
