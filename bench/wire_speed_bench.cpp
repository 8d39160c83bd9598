// The cost of the headless program at the speed of a real network: the real
// `quorvel --headless` against `quorvel-sim --flood 1440` (the most a
// 115200-baud network carries), and at the same time a second one against a
// silent simulator. Both run side by side so that they share the machine's
// load. For each it prints the share of one core used over the measured
// window (utime + stime from /proc/<pid>/stat), and after a normal shutdown
// the rows stored in its monitor log against the messages the simulator sent
// and the records the program printed.
//
//   wire_speed_bench [--rate N] [--seconds S] [--warm-up S]

#include "store/database.h"
#include "store/store_error.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <signal.h>
#include <unistd.h>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

using namespace qv;

void spin(int ms) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// utime + stime of a process, in seconds.
std::optional<double> cpuSecondsOf(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray text = stat.readAll();
    // The command name in parentheses may hold spaces; the fields after it
    // start with the state (field 3), so utime and stime are 12 and 13 on.
    const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13) return std::nullopt;
    const double ticks = fields[11].toDouble() + fields[12].toDouble();
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

struct Counts {
    qint64 all = 0;
    qint64 comms = 0;
};

// One program on one simulator, each in a data directory of its own.
class Run {
public:
    Run(QString name, double rate) : m_name(std::move(name)), m_rate(rate) {}

    bool start(QString* error) {
        if (!m_dir.isValid()) {
            *error = QStringLiteral("no temporary directory");
            return false;
        }
        const QString link = m_dir.filePath(QStringLiteral("gateway"));
        QStringList simArguments{QStringLiteral("--link"), link, QStringLiteral("--seed"),
                                 QStringLiteral("1")};
        if (m_rate > 0) simArguments << QStringLiteral("--flood") << QString::number(m_rate);
        m_sim.start(QStringLiteral(QUORVEL_SIM_PATH), simArguments);
        if (!m_sim.waitForStarted() || !m_sim.waitForReadyRead(10000) ||
            !m_sim.readAllStandardOutput().contains("listening on")) {
            *error = m_name + QStringLiteral(": quorvel-sim did not start");
            return false;
        }
        m_sinceListening.start();
        // Per-user settings and the item-exchange socket away from the user's own.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME"}) {
            const QString path = m_dir.filePath(QString::fromLatin1(variable));
            QDir().mkpath(path);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            environment.insert(QString::fromLatin1(variable), path);
        }
        m_quorvel.setProcessEnvironment(environment);
        // The printed monitor is read as journald would read it, through a pipe.
        QObject::connect(&m_quorvel, &QProcess::readyReadStandardOutput, [this] {
            const QByteArray text = m_quorvel.readAllStandardOutput();
            m_printed += text.count('\n');
            if (m_openedAfterMs < 0 && text.contains("Initialise Comms"))
                m_openedAfterMs = m_sinceListening.elapsed();
        });
        m_quorvel.setProcessChannelMode(QProcess::SeparateChannels);
        m_quorvel.start(QStringLiteral(QUORVEL_PATH),
                        {QStringLiteral("--headless"), QStringLiteral("--serial"), link,
                         QStringLiteral("--data-dir"), m_dir.filePath(QStringLiteral("data"))});
        if (!m_quorvel.waitForStarted()) {
            *error = m_name + QStringLiteral(": quorvel did not start");
            return false;
        }
        return true;
    }

    void markStart() {
        m_cpuStart = cpuSecondsOf(m_quorvel.processId());
        m_simCpuStart = cpuSecondsOf(m_sim.processId());
        m_printedAtStart = m_printed;
    }
    void markEnd(double seconds) {
        const auto cpu = cpuSecondsOf(m_quorvel.processId());
        const auto simCpu = cpuSecondsOf(m_sim.processId());
        if (cpu && m_cpuStart) m_share = (*cpu - *m_cpuStart) / seconds;
        if (simCpu && m_simCpuStart) m_simShare = (*simCpu - *m_simCpuStart) / seconds;
        m_printedRate = static_cast<double>(m_printed - m_printedAtStart) / seconds;
    }

    // The simulator is paused first (its pseudo-terminal stays open, so
    // nothing on the way is lost) and the program takes in the rest; then
    // the program shuts down normally and commits, and the simulator ends
    // with its summary.
    void stop() {
        ::kill(static_cast<pid_t>(m_sim.processId()), SIGSTOP);
        spin(1000);
        m_quorvel.terminate();
        const QDeadlineTimer deadline(30000);
        while (m_quorvel.state() != QProcess::NotRunning && !deadline.hasExpired()) spin(50);
        m_printed += m_quorvel.readAllStandardOutput().count('\n');
        ::kill(static_cast<pid_t>(m_sim.processId()), SIGCONT);
        m_sim.terminate();
        m_sim.waitForFinished(10000);
        const QString summary = QString::fromLocal8Bit(m_sim.readAllStandardError());
        const QRegularExpressionMatch sent = QRegularExpression(QStringLiteral("sent (\\d+)")).match(summary);
        if (sent.hasMatch()) m_simSent = sent.captured(1).toLongLong();
    }

    std::optional<Counts> stored() const {
        try {
            store::Database db = store::Database::open(
                QDir(m_dir.filePath(QStringLiteral("data"))).filePath(QStringLiteral("master/monitorlog.db")),
                store::DbKind::MonitorLog);
            QSqlQuery count = db.run(QStringLiteral("SELECT count(*), sum(Origin = ?) FROM EventLog"),
                                     {QStringLiteral("Comms")});
            if (!count.next()) return std::nullopt;
            return Counts{count.value(0).toLongLong(), count.value(1).toLongLong()};
        } catch (const store::StoreError& error) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(m_name), error.what());
            return std::nullopt;
        }
    }

    const QString& name() const { return m_name; }
    double share() const { return m_share; }
    double simShare() const { return m_simShare; }
    double printedRate() const { return m_printedRate; }
    qint64 printed() const { return m_printed; }
    qint64 simSent() const { return m_simSent; }
    qint64 openedAfterMs() const { return m_openedAfterMs; }
    bool exitedNormally() const {
        return m_quorvel.exitStatus() == QProcess::NormalExit && m_quorvel.exitCode() == 0;
    }

private:
    QString m_name;
    double m_rate;
    QTemporaryDir m_dir;
    QProcess m_sim;
    QProcess m_quorvel;
    qint64 m_printed = 0;
    qint64 m_printedAtStart = 0;
    qint64 m_simSent = -1;
    QElapsedTimer m_sinceListening;
    qint64 m_openedAfterMs = -1;  // the program's port open, from the simulator's start
    std::optional<double> m_cpuStart;
    std::optional<double> m_simCpuStart;
    double m_share = 0;
    double m_simShare = 0;
    double m_printedRate = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    double rate = 1440;
    double seconds = 20;
    double warmUp = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--rate")) rate = std::max(1.0, args[i + 1].toDouble());
        if (args[i] == QLatin1String("--seconds")) seconds = std::max(1.0, args[i + 1].toDouble());
        if (args[i] == QLatin1String("--warm-up")) warmUp = std::max(0.0, args[i + 1].toDouble());
    }

    Run flood(QStringLiteral("flood"), rate);
    Run silent(QStringLiteral("silent"), 0);
    QString error;
    if (!flood.start(&error) || !silent.start(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    // Start-up (maintenance, loading, the first queries) is not the cost asked about.
    spin(static_cast<int>(warmUp * 1000));
    flood.markStart();
    silent.markStart();
    spin(static_cast<int>(seconds * 1000));
    flood.markEnd(seconds);
    silent.markEnd(seconds);
    flood.stop();
    silent.stop();

    std::printf("quorvel --headless over %.0f s, after %.0f s of start-up\n", seconds, warmUp);
    for (const Run* run : {&silent, &flood}) {
        std::printf("  %-6s  %5.2f%% of a core  (%.0f records printed a second; quorvel-sim %.2f%%)\n",
                    qPrintable(run->name()), run->share() * 100, run->printedRate(), run->simShare() * 100);
    }
    const double beyondIdle = (flood.share() - silent.share()) * 100;
    std::printf("beyond idle at %.0f messages a second: %.2f%% of a core  target <= 5%% %s\n", rate,
                beyondIdle, beyondIdle <= 5 ? "PASS" : "FAIL");

    bool allStored = true;
    for (const Run* run : {&silent, &flood}) {
        const std::optional<Counts> rows = run->stored();
        if (!rows) {
            allStored = false;
            continue;
        }
        // The simulator floods from its start, and what it writes before the
        // program opens its port is discarded by the open (the port is
        // cleared): those messages are the only ones that may be missing.
        const qint64 missing = run->simSent() < 0 ? 0 : run->simSent() - rows->comms;
        const qint64 beforeOpen =
            run->openedAfterMs() < 0 ? 0 : static_cast<qint64>(rate * (run->openedAfterMs() + 500) / 1000);
        std::printf(
            "  %-6s  %lld rows stored, %lld of them heard (Comms); %lld records printed; "
            "quorvel-sim sent %lld, %lld not heard (port opened %lld ms after the simulator's start)%s\n",
            qPrintable(run->name()), static_cast<long long>(rows->all), static_cast<long long>(rows->comms),
            static_cast<long long>(run->printed()), static_cast<long long>(run->simSent()),
            static_cast<long long>(missing), static_cast<long long>(run->openedAfterMs()),
            run->exitedNormally() ? "" : "; quorvel did not exit normally");
        allStored = allStored && run->exitedNormally() && rows->all == run->printed() &&
                    run->simSent() >= 0 && missing >= 0 && (run->simSent() == 0 || missing <= beforeOpen);
    }
    std::printf("every record stored, no message missing after the port opened: %s\n",
                allStored ? "PASS" : "FAIL");
    return 0;
}
