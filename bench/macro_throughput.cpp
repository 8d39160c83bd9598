// Macro throughput: 30 macros of 1000 zero-delay network lines each, started
// together through the cue, against a sendRS232 that only counts. Prints the
// lines run per second into sendRS232 and the peak memory (VmHWM).
//
//   macro_throughput [lines-per-macro]

#include "clock/clock.h"
#include "macros/macro_lines.h"
#include "macros/macro_pool.h"
#include "macros/macro_store.h"
#include "store/database.h"
#include "store/monitor_record.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kMacros = qv::macros::MacroPool::kSlots;
constexpr double kTargetLinesPerSecond = 10000;

// Keeps only what the run needs to know: how many macros have ended.
class CountingMonitor final : public qv::store::MonitorSink {
public:
    void MonitorAdditem(const qv::store::MonitorRecord& record) override {
        if (record.comment == QLatin1String("Macro Ended !")) ++ended;
        if (record.MsgType == QLatin1String("ERROR ***") || record.MsgType == QLatin1String("Warning **"))
            std::fprintf(stderr, "%s %s\n", qPrintable(record.Macro), qPrintable(record.comment));
    }
    int ended = 0;
};

QString peakMemory() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return QStringLiteral("unknown");
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) return QString::fromLatin1(line.mid(6).trimmed());
    }
    return QStringLiteral("unknown");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Schema steps and per-run lines would drown the figures.
    QLoggingCategory::setFilterRules(QStringLiteral("quorvel.*.debug=false\nquorvel.*.info=false"));
    const int linesPerMacro = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 1000;

    QTemporaryDir dir;
    if (!dir.isValid()) return 2;
    qv::store::Database db =
        qv::store::Database::open(dir.filePath(QStringLiteral("master/quorvel.db")), qv::store::DbKind::Main);

    qv::macros::MacroStore store(db);
    for (int m = 1; m <= kMacros; ++m) {
        qv::macros::MacroLines lines;
        for (int i = 0; i < linesPerMacro; ++i)
            lines.append(
                {}, QStringLiteral("(ORVANET:) (AREA:)%1 (PRESET:)%2 (FADE:)1").arg(m).arg(i % 8 + 1), {});
        const auto report = store.SaveMacroLines(QStringLiteral("Bench %1").arg(m), lines);
        if (!report.saved) {
            std::fprintf(stderr, "could not store the macros: %s\n", qPrintable(report.messages.join('\n')));
            return 2;
        }
    }

    qv::SystemClock clock;
    CountingMonitor monitor;
    qint64 sent = 0;
    qint64 firstSendNs = -1;
    qint64 lastSendNs = 0;
    QElapsedTimer elapsed;
    qv::macros::MacroPool pool({db,
                                monitor,
                                clock,
                                [&](const qv::net::RawMessage&) {
                                    const qint64 now = elapsed.nsecsElapsed();
                                    if (firstSendNs < 0) firstSendNs = now;
                                    lastSendNs = now;
                                    ++sent;
                                },
                                {},
                                {}});

    elapsed.start();
    for (int m = 1; m <= kMacros; ++m) pool.RunMacro(QStringLiteral("Bench %1").arg(m));
    QTimer check;
    check.setInterval(1);
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (monitor.ended == kMacros || elapsed.elapsed() > 120000) app.quit();
    });
    check.start();
    app.exec();
    const double totalSeconds = elapsed.nsecsElapsed() / 1e9;

    const qint64 expected = static_cast<qint64>(kMacros) * linesPerMacro;
    const double sendSeconds = std::max(1e-9, (lastSendNs - firstSendNs) / 1e9);
    const double rate = sent / sendSeconds;
    std::printf("macros: %d x %d zero-delay network lines\n", kMacros, linesPerMacro);
    std::printf("lines into sendRS232: %lld of %lld\n", static_cast<long long>(sent),
                static_cast<long long>(expected));
    std::printf("first to last send: %.3f s, %.0f lines/s\n", sendSeconds, rate);
    std::printf("cue to last end (includes the 10 ms cue ticks): %.3f s, %.0f lines/s\n", totalSeconds,
                sent / totalSeconds);
    std::printf("peak memory (VmHWM): %s\n", qPrintable(peakMemory()));
    std::printf("target %.0f lines/s: %s\n", kTargetLinesPerSecond,
                rate >= kTargetLinesPerSecond ? "met" : "NOT MET");
    return sent == expected ? 0 : 1;
}
