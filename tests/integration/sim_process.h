#pragma once
// quorvel-sim run as a real process on a pseudo-terminal for a test.

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qv::test {

class SimProcess {
public:
    // Starts the simulator; link() is the device to open once started() holds.
    explicit SimProcess(const QStringList& extra = {}) {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(QUORVEL_SIM_PATH), QStringList{QStringLiteral("--link"), link()} + extra);
        if (!m_process.waitForStarted(5000)) return;
        QByteArray said;
        for (int i = 0; i < 100 && !said.contains('\n'); ++i) {
            m_process.waitForReadyRead(100);
            said += m_process.readAll();
        }
        m_started = said.contains("listening on");
    }
    ~SimProcess() {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) m_process.kill();
        m_process.waitForFinished(1000);
    }

    bool started() const { return m_started; }
    QString link() const { return m_dir.filePath(QStringLiteral("gateway")); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    bool m_started = false;
};

}  // namespace qv::test
