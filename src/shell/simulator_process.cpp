#include "shell/simulator_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/prctl.h>
#include <unistd.h>
#include <csignal>

namespace qv::shell {

SimulatorProcess::SimulatorProcess(QObject* parent) : QObject(parent) {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The simulator ends with the program, even when the program is killed
    // and cannot stop it: the kernel sends it SIGTERM when its parent dies.
    const pid_t self = ::getpid();
    m_process.setChildProcessModifier([self] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != self) ::_exit(1);  // the parent died before the line above
    });
}

SimulatorProcess::~SimulatorProcess() {
    stop();
}

QString SimulatorProcess::executable() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/quorvel-sim");
    if (QFileInfo(beside).isExecutable()) return beside;
    return QStandardPaths::findExecutable(QStringLiteral("quorvel-sim"));
}

QString SimulatorProcess::start(const QStringList& extraArguments, QString* error) {
    const QString program = executable();
    if (program.isEmpty()) {
        *error = QStringLiteral("quorvel-sim was not found beside the program or on the PATH");
        return {};
    }
    if (!m_dir.isValid()) {
        *error = QStringLiteral("No temporary folder for the simulator's link: %1").arg(m_dir.errorString());
        return {};
    }
    const QString link = m_dir.filePath(QStringLiteral("gateway"));
    m_process.start(program, QStringList{QStringLiteral("--link"), link} + extraArguments);
    if (!m_process.waitForStarted(5000)) {
        *error = QStringLiteral("quorvel-sim could not be started: %1").arg(m_process.errorString());
        return {};
    }
    // The simulator says it listens once the pseudo-terminal is ready.
    const QDeadlineTimer deadline(10000);
    QByteArray said;
    while (!deadline.hasExpired()) {
        if (m_process.canReadLine() || m_process.waitForReadyRead(100)) said += m_process.readAll();
        if (said.contains("listening on") && said.contains('\n')) return link;
        if (m_process.state() == QProcess::NotRunning) break;
    }
    *error =
        QStringLiteral("quorvel-sim did not start listening: %1").arg(QString::fromLocal8Bit(said).trimmed());
    stop();
    return {};
}

void SimulatorProcess::stop() {
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

}  // namespace qv::shell
