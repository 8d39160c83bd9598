#pragma once
// Helpers for tests that need Qt's event loop.

#include "store/monitor_record.h"

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

    std::vector<store::MonitorRecord> records;
};

}  // namespace qv::test
