#pragma once
// quorvel-sim started as a child on a pseudo-terminal: the gateway for demos,
// trials and tests when no real network is attached.

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace qv::process {

class SimulatorProcess : public QObject {
    Q_OBJECT
public:
    // program: the simulator to run; empty means executable().
    explicit SimulatorProcess(QString program = {}, QObject* parent = nullptr);
    ~SimulatorProcess() override;

    // Starts the simulator on `link` (a private path when empty) and waits,
    // up to 10 s, until it says it listens. Returns the device path to open,
    // or an empty text with the reason in *error.
    QString start(const QStringList& extraArguments, QString* error, const QString& link = {});
    // Asks it to stop and waits for it; kill() ends it without a goodbye,
    // as a pulled adapter would.
    void stop();
    void kill();
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }

    // quorvel-sim beside this program's executable, else on the PATH.
    static QString executable();

signals:
    // The simulator ended without being asked to.
    void ended(const QString& why);

private:
    QString m_program;
    QProcess m_process;
    QTemporaryDir m_dir;
    bool m_stopping = false;
};

}  // namespace qv::process
