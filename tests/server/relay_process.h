#pragma once
// quorvel-server run as a real process with --simulate, its output gathered
// while the test's event loop keeps running.

#include "support/qt_support.h"

#include <QProcess>
#include <QUdpSocket>

namespace qv::test {

// A UDP port on loopback that was free a moment ago.
inline quint16 freeUdpPort() {
    QUdpSocket probe;
    probe.bind(QHostAddress::LocalHost, 0);
    return probe.localPort();
}

class RelayProcess {
public:
    RelayProcess(quint16 port, bool secondary, const QStringList& extra = {}) {
        qtApp();
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                         [this] { output += m_process.readAllStandardOutput(); });
        QStringList arguments{QStringLiteral("--simulate"), QStringLiteral("--port"), QString::number(port)};
        if (secondary) arguments << QStringLiteral("--secondary");
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUORVEL_SERVER_PATH), arguments + extra);
    }
    ~RelayProcess() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }

    bool waitListening(int ms = 15000) {
        return waitUntil(
                   [&] {
                       return output.contains("listening on") || m_process.state() == QProcess::NotRunning;
                   },
                   ms) &&
               output.contains("listening on");
    }
    // SIGTERM, then the exit code once it has gone (-1 if it did not go).
    int terminate(int ms = 5000) {
        m_process.terminate();
        if (!waitUntil([&] { return m_process.state() == QProcess::NotRunning; }, ms)) return -1;
        output += m_process.readAllStandardOutput();
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    bool said(const QByteArray& text) const { return output.contains(text); }

    QByteArray output;

private:
    QProcess m_process;
};

}  // namespace qv::test
