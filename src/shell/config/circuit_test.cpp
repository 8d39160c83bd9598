#include "shell/config/circuit_test.h"

#include "net/builders.h"
#include "shell/config/logging.h"
#include "shell/config/messages.h"

#include <utility>

namespace qv::config {

CircuitFindingTest::CircuitFindingTest(Sender sendRS232, store::MonitorSink& monitor, const qv::Clock& clock,
                                       int intervalMs, QObject* parent)
    : QObject(parent),
      m_send(std::move(sendRS232)),
      m_monitorWriter(monitor, clock),
      m_timer(clock.createTimer(intervalMs, [this] { tick(); })) {}

bool CircuitFindingTest::start() {
    if (isRunning()) return false;
    qCInfo(lcConfig) << "circuit-finding test started";
    m_lastArea = 0;
    m_nextArea = kFirstArea;
    m_timer->start();
    tick();
    return true;
}

void CircuitFindingTest::cancel() {
    if (!isRunning()) return;
    m_timer->stop();
    m_nextArea = 0;
    qCInfo(lcConfig) << "circuit-finding test cancelled after area" << m_lastArea;
    emit finished(false);
}

void CircuitFindingTest::tick() {
    if (!isRunning()) return;
    if (m_nextArea > kLastArea) {
        // The last area has had its second too.
        m_timer->stop();
        m_nextArea = 0;
        emit finished(true);
        return;
    }
    const int area = m_nextArea++;
    m_lastArea = area;
    sendArea(area);
    if (!isRunning()) return;  // cancelled from inside the send
    emit progress(area, kLastArea);
}

void CircuitFindingTest::sendArea(int area) {
    // As direct control sends it: a monitor line, then the preset select.
    m_monitorWriter.write(store::MonitorType::DirectControl, msg::kDirectControlIssuesAreaPreset,
                          {.area = QString::number(area), .preset = QStringLiteral("1")});
    if (const auto message = net::GoAreaPreset(area, 1); message && m_send) m_send(*message);
}

}  // namespace qv::config
