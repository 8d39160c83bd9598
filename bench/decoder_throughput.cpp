// Decoder throughput through the real serial path: quorvel-sim floods a
// pseudo-terminal, the engine's serial link, framer, in box and decoder take
// it in. Prints messages decoded a second and the ratio to the most a
// 9600-baud and a 115200-baud network can carry (10 bits a byte, 8 bytes a
// message), and the largest in-box backlog seen.
//
//   decoder_throughput [--rate N] [--seconds S]

#include "comms/serial_comms.h"
#include "comms/serial_link.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

class CountingMonitor final : public qv::store::MonitorSink {
public:
    void MonitorAdditem(const qv::store::MonitorRecord& record) override {
        if (record.MsgType == QLatin1String("Comms")) ++heard;
        if (!record.comment.isEmpty()) ++described;
    }
    quint64 heard = 0;
    quint64 described = 0;
};

constexpr double kWire9600 = 9600.0 / 10 / 8;
constexpr double kWire115200 = 115200.0 / 10 / 8;

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    int rate = 20000;
    double seconds = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == "--rate") rate = args[i + 1].toInt();
        if (args[i] == "--seconds") seconds = args[i + 1].toDouble();
    }

    QTemporaryDir dir;
    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString link = dir.filePath("gateway");
    sim.start(QStringLiteral(QUORVEL_SIM_PATH),
              {"--link", link, "--flood", QString::number(rate), "--seed", "1", "--quiet"});
    if (!sim.waitForStarted() || !sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "quorvel-sim did not start\n");
        return 1;
    }

    qv::SystemClock clock;
    qv::net::NameTables names;
    qv::net::AreaState state;
    CountingMonitor monitor;
    QSettings settings(dir.filePath("user.ini"), QSettings::IniFormat);
    qv::comms::InBox inbox(clock, names, state, monitor);
    qv::comms::SerialComms comms(clock, monitor, inbox, qv::comms::SerialLink::factory(), settings);

    std::size_t maxWaiting = 0;
    QObject::connect(&inbox, &qv::comms::InBox::waitingChanged,
                     [&](int n) { maxWaiting = std::max(maxWaiting, static_cast<std::size_t>(n)); });
    QElapsedTimer elapsed;
    quint64 startCount = 0;
    comms.GetCommsMethod(qv::comms::SerialSettings{link, 1, "115200"}, [&](bool ok) {
        if (!ok) {
            std::fprintf(stderr, "could not open %s\n", qPrintable(link));
            QCoreApplication::exit(1);
            return;
        }
        startCount = inbox.decodedCount();
        elapsed.start();
        QTimer::singleShot(static_cast<int>(seconds * 1000), [] { QCoreApplication::exit(0); });
    });
    const int code = app.exec();
    sim.terminate();
    sim.waitForFinished(3000);
    if (code != 0) return code;

    const double secs = elapsed.elapsed() / 1000.0;
    const double perSecond = (inbox.decodedCount() - startCount) / secs;
    std::printf("flood rate asked     %d messages/s\n", rate);
    std::printf("decoded              %.0f messages/s over %.1f s (%llu described)\n", perSecond, secs,
                static_cast<unsigned long long>(monitor.described));
    std::printf("vs 9600 baud max     %.1fx (%.0f/s)\n", perSecond / kWire9600, kWire9600);
    std::printf("vs 115200 baud max   %.1fx (%.0f/s)  target >= 5x\n", perSecond / kWire115200, kWire115200);
    std::printf("in box backlog       max %zu, at end %zu\n", maxWaiting, inbox.waiting());
    return 0;
}
