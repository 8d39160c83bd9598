#include "process/simulator_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/prctl.h>
#include <unistd.h>
#include <csignal>

namespace qv::process {

namespace {

constexpr int kStartMs = 5000;
constexpr int kListenMs = 10000;
constexpr int kStopMs = 3000;

}  // namespace

SimulatorProcess::SimulatorProcess(QString program, QObject* parent)
    : QObject(parent), m_program(std::move(program)) {
    // Its notices go where ours go; its standard output says when it listens.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // The simulator ends with its parent, even when the parent is killed and
    // cannot stop it: the kernel sends it SIGTERM when the parent dies.
    const pid_t self = ::getpid();
    m_process.setChildProcessModifier([self] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != self) ::_exit(1);  // the parent died before the line above
    });
    connect(&m_process, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        if (m_stopping) return;
        emit ended(status == QProcess::CrashExit
                       ? QStringLiteral("quorvel-sim crashed")
                       : QStringLiteral("quorvel-sim ended with status %1").arg(code));
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

QString SimulatorProcess::start(const QStringList& extraArguments, QString* error, const QString& link) {
    const QString program = m_program.isEmpty() ? executable() : m_program;
    if (program.isEmpty()) {
        *error = QStringLiteral("quorvel-sim was not found beside the program or on the PATH");
        return {};
    }
    QString path = link;
    if (path.isEmpty()) {
        if (!m_dir.isValid()) {
            *error =
                QStringLiteral("No temporary folder for the simulator's link: %1").arg(m_dir.errorString());
            return {};
        }
        path = m_dir.filePath(QStringLiteral("gateway"));
    }
    m_stopping = false;
    m_process.start(program, QStringList{QStringLiteral("--link"), path} + extraArguments);
    if (!m_process.waitForStarted(kStartMs)) {
        *error = QStringLiteral("quorvel-sim could not be started: %1").arg(m_process.errorString());
        return {};
    }
    // The simulator says it listens once the pseudo-terminal is ready.
    const QDeadlineTimer deadline(kListenMs);
    QByteArray said;
    while (!deadline.hasExpired()) {
        if (m_process.canReadLine() || m_process.waitForReadyRead(100))
            said += m_process.readAllStandardOutput();
        if (said.contains("listening on") && said.contains('\n')) return path;
        if (m_process.state() == QProcess::NotRunning) break;
    }
    *error =
        QStringLiteral("quorvel-sim did not start listening: %1").arg(QString::fromLocal8Bit(said).trimmed());
    stop();
    return {};
}

void SimulatorProcess::stop() {
    m_stopping = true;
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.terminate();
    if (!m_process.waitForFinished(kStopMs)) kill();
}

void SimulatorProcess::kill() {
    m_stopping = true;
    if (m_process.state() == QProcess::NotRunning) return;
    m_process.kill();
    m_process.waitForFinished(kStopMs);
}

}  // namespace qv::process
