#include "server/simulator_launch.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/prctl.h>
#include <csignal>

namespace qv::server {

namespace {

constexpr int kStartMs = 5000;
constexpr int kListenMs = 10000;
constexpr int kStopMs = 3000;

}  // namespace

SimulatorLaunch::SimulatorLaunch(QObject* parent) : QObject(parent) {
    // Its notices go where ours go; its standard output says when it listens.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Should the relay be killed outright, the simulator goes with it rather
    // than running on with nobody to stop it.
    m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        if (m_stopping) return;
        emit ended(status == QProcess::CrashExit
                       ? QStringLiteral("quorvel-sim crashed")
                       : QStringLiteral("quorvel-sim ended with status %1").arg(code));
    });
}

SimulatorLaunch::~SimulatorLaunch() {
    stop();
}

QString SimulatorLaunch::executable() {
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/quorvel-sim");
    if (QFileInfo(beside).isExecutable()) return beside;
    return QStandardPaths::findExecutable(QStringLiteral("quorvel-sim"));
}

QString SimulatorLaunch::start(const QStringList& extraArguments, QString* error) {
    const QString program = executable();
    if (program.isEmpty()) {
        *error = QStringLiteral("quorvel-sim was found neither beside quorvel-server nor on the PATH");
        return {};
    }
    if (!m_dir.isValid()) {
        *error = QStringLiteral("no temporary folder for the simulator's link: %1").arg(m_dir.errorString());
        return {};
    }
    const QString link = m_dir.filePath(QStringLiteral("gateway"));
    m_stopping = false;
    m_process.start(program, QStringList{QStringLiteral("--link"), link} + extraArguments);
    if (!m_process.waitForStarted(kStartMs)) {
        *error = QStringLiteral("quorvel-sim could not be started: %1").arg(m_process.errorString());
        return {};
    }
    const QDeadlineTimer deadline(kListenMs);
    QByteArray said;
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        m_process.waitForReadyRead(100);
        said += m_process.readAllStandardOutput();
        if (said.contains("listening on") && said.contains('\n')) return link;
    }
    *error =
        QStringLiteral("quorvel-sim did not start listening: %1").arg(QString::fromLocal8Bit(said).trimmed());
    stop();
    return {};
}

void SimulatorLaunch::stop() {
    m_stopping = true;
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopMs)) {
        m_process.kill();
        m_process.waitForFinished(1000);
    }
}

}  // namespace qv::server
