// A gateway that is missing at start or goes away mid-run, with quorvel-sim
// on a pseudo-terminal: the program keeps running, reopens the same device
// path by itself, says so in a few records, and hears traffic again.

#include "comms/serial_link.h"
#include "process/simulator_process.h"
#include "shell/engine.h"
#include "support/qt_support.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace qv::test {
namespace {

// quorvel-sim on a fixed device path, started and killed at will.
class Gateway {
public:
    explicit Gateway(QString path) : m_path(std::move(path)) {}

    bool start() {
        QString error;
        return !m_process.start({"--activity", "20"}, &error, m_path).isEmpty();
    }
    // As a pulled adapter: no goodbye, and its device path goes away with it.
    // Left behind, the dead simulator's link would name its pseudo-terminal's
    // number, which the next program on the machine to open one is given: the
    // program would reopen that stranger's terminal and call the link back.
    void kill() {
        QFile::remove(m_path);
        m_process.kill();
    }

private:
    QString m_path;
    process::SimulatorProcess m_process{QStringLiteral(QUORVEL_SIM_PATH)};
};

bool isLinkRecord(const QString& comment) {
    return comment.contains(QLatin1String("Serial port")) || comment.contains(QLatin1String("serial link")) ||
           comment.contains(QLatin1String("port number")) ||
           comment.startsWith(QLatin1String("Initialise Comms"));
}

// The real program: the gateway is killed and started again on the same path.
TEST(LinkRecovery, TheProgramHearsTheGatewayAgainAfterItWasKilledAndStopsNormally) {
    qtApp();
    QTemporaryDir dir, runtime, config;
    const QString link = dir.filePath(QStringLiteral("gateway"));
    Gateway first(link);
    ASSERT_TRUE(first.start());

    QProcess quorvel;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    quorvel.setProcessEnvironment(env);
    quorvel.start(QStringLiteral(QUORVEL_PATH),
                  {"--headless", "--data-dir", dir.filePath("data"), "--serial", link});
    ASSERT_TRUE(quorvel.waitForStarted(5000));
    QStringList comments;
    QStringList types;
    auto read = [&] {
        while (quorvel.canReadLine()) {
            QString line = QString::fromUtf8(quorvel.readLine());
            if (line.endsWith(QLatin1Char('\n'))) line.chop(1);
            const QStringList fields = line.split(QLatin1Char('\t'));
            if (fields.size() != 9) continue;
            types << fields[0];
            comments << fields[4];
        }
    };
    QObject::connect(&quorvel, &QProcess::readyReadStandardOutput, read);
    auto heard = [&] { return types.count(QStringLiteral("Comms")); };
    ASSERT_TRUE(waitUntil([&] { return heard() > 0; }, 20000))
        << comments.join(QLatin1Char(10)).toStdString() << quorvel.readAllStandardError().toStdString();

    first.kill();
    spin(4000);  // long enough for a flood to show, and for a few reopen attempts
    const int heardWhileGone = heard();
    const int linkRecordsWhileGone =
        static_cast<int>(std::count_if(comments.begin(), comments.end(), isLinkRecord));
    const int recordsWhileGone = static_cast<int>(comments.size());

    Gateway second(link);
    ASSERT_TRUE(second.start());
    EXPECT_TRUE(waitUntil([&] { return heard() > heardWhileGone; }, 10000))
        << comments.join('\n').toStdString();
    EXPECT_EQ(quorvel.state(), QProcess::Running);

    // Opened, lost, back: three records about the link in all.
    EXPECT_LE(linkRecordsWhileGone, 2) << comments.join(QLatin1Char(10)).toStdString();
    EXPECT_LE(std::count_if(comments.begin(), comments.end(), isLinkRecord), 3)
        << comments.join('\n').toStdString();
    EXPECT_LT(recordsWhileGone, 200);
    EXPECT_TRUE(
        comments.contains(QStringLiteral("Serial port error: the device hung up. The link on %1 is lost; "
                                         "it is opened again as soon as it is back")
                              .arg(link)))
        << comments.join('\n').toStdString();
    EXPECT_TRUE(comments.contains(
        QStringLiteral("The serial link on %1 is back: Initialise Comms 9600,N,8,1").arg(link)))
        << comments.join('\n').toStdString();

    ::kill(static_cast<pid_t>(quorvel.processId()), SIGTERM);
    ASSERT_TRUE(quorvel.waitForFinished(20000));
    read();
    EXPECT_EQ(quorvel.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(quorvel.exitCode(), 0);
    EXPECT_TRUE(std::any_of(comments.begin(), comments.end(), [](const QString& c) {
        return c.startsWith(QLatin1String("Quorvel is ShutDown  after Up time of: 00 hrs, "));
    })) << comments.join('\n').toStdString();
}

// The engine with the real serial link: started while the gateway is missing,
// start-up goes on, and once the simulator appears at that path it is heard.
TEST(LinkRecovery, StartedWithoutTheGatewayTheEngineRunsAndHearsItOnceItAppears) {
    qtApp();
    QTemporaryDir dir, runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString link = dir.filePath(QStringLiteral("gateway"));
    QSettings userSettings(dir.filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
    qv::SystemClock clock;
    RecordingMonitor monitor;
    shell::Engine engine({clock, comms::SerialLink::factory(), userSettings, &monitor});

    std::optional<shell::StartResult> started;
    engine.start({dir.filePath(QStringLiteral("data")), link},
                 [&](const shell::StartResult& r) { started = r; });
    ASSERT_TRUE(waitUntil([&] { return started.has_value(); }, 20000));
    ASSERT_TRUE(started->ok) << started->fatalMessage.toStdString();
    EXPECT_FALSE(started->linkOpen);
    EXPECT_EQ(monitor.countComment(QStringLiteral("There is some problem with that port number ") + link), 1);
    EXPECT_TRUE(engine.started());

    const auto before = monitor.records.size();
    spin(3500);  // a reopen attempt or more while nothing is there: no records
    EXPECT_EQ(monitor.records.size(), before);
    Gateway gateway(link);
    ASSERT_TRUE(gateway.start());
    EXPECT_TRUE(waitUntil(
        [&] { return monitor.count([](const auto& r) { return r.MsgType == "Comms"; }) > 0; }, 10000));
    EXPECT_EQ(monitor.count([](const auto& r) { return isLinkRecord(r.comment); }), 2);

    // The gateway goes away while the program closes: the Shutdown record
    // stays the last word about the link.
    bool stopped = false;
    engine.shutdown([&] { stopped = true; });
    gateway.kill();
    ASSERT_TRUE(waitUntil([&] { return stopped; }, 15000));
    EXPECT_EQ(monitor.count([](const auto& r) { return r.MsgType == "Shutdown"; }), 1);
    const auto shutdown = std::find_if(monitor.records.begin(), monitor.records.end(),
                                       [](const auto& r) { return r.MsgType == "Shutdown"; });
    EXPECT_TRUE(std::none_of(shutdown, monitor.records.end(), [](const auto& r) {
        return r.MsgType == "ERROR ***" || isLinkRecord(r.comment);
    })) << monitor.records.back().comment.toStdString();
}

}  // namespace
}  // namespace qv::test
