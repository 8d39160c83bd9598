#pragma once
// quorvel-sim run beside the relay as its gateway, for demos and trials
// without a real network.

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace qv::server {

class SimulatorLaunch : public QObject {
    Q_OBJECT
public:
    explicit SimulatorLaunch(QObject* parent = nullptr);
    ~SimulatorLaunch() override;

    // Starts quorvel-sim on a private link and waits (up to 10 s) until it
    // says it listens. Returns the device to open, or empty with *error set.
    QString start(const QStringList& extraArguments, QString* error);
    void stop();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // quorvel-sim beside this program, else on the PATH; empty when neither.
    static QString executable();

signals:
    // The simulator ended without being asked to.
    void ended(const QString& why);

private:
    QProcess m_process;
    QTemporaryDir m_dir;
    bool m_stopping = false;
};

}  // namespace qv::server
