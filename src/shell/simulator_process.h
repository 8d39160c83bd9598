#pragma once
// quorvel-sim started beside the program on a private pseudo-terminal, for
// demos and trials when no gateway is attached.

#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace qv::shell {

class SimulatorProcess : public QObject {
    Q_OBJECT
public:
    explicit SimulatorProcess(QObject* parent = nullptr);
    ~SimulatorProcess() override;

    // Starts the simulator and waits (up to 10 s) until it listens. Returns
    // the device path to open, or an empty text with the reason in *error.
    QString start(const QStringList& extraArguments, QString* error);
    void stop();

    // quorvel-sim beside this program's executable, else on PATH.
    static QString executable();

private:
    QProcess m_process;
    QTemporaryDir m_dir;
};

}  // namespace qv::shell
