// The monitor window under a flooded network: records are fed into the
// engine's monitor list at a target rate while the window (offscreen, grid
// attached and visible) shows them, on a real engine against quorvel-sim.
// Prints the records shown a second, the longest event-loop stall (the
// longest gap between two turns of a 1 ms timer, feeding included), the rows
// held and the memory in use at the end.
//
//   monitor_view_bench [--rate N] [--seconds N]

#include "store/monitor_log.h"
#include "traffic_record.h"
#include "ui/desktop/monitor_batch_model.h"
#include "ui/desktop/monitor_window.h"
#include "ui/support/ui_session.h"
#include "ui/window_names.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTableView>
#include <QTimer>

#include <unistd.h>
#include <algorithm>
#include <cstdio>

namespace {

using namespace qv;

using bench::trafficRecord;

double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication& app = test::uiApp();
    (void)app;
    int rate = 20000;
    int seconds = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QByteArray option = argv[i];
        if (option == "--rate") rate = std::max(1, atoi(argv[i + 1]));
        if (option == "--seconds") seconds = std::max(1, atoi(argv[i + 1]));
    }

    test::UiSession session;
    if (!session.start()) {
        std::fprintf(stderr, "the session did not start: %s\n", qPrintable(session.why()));
        return 1;
    }
    auto* window = qobject_cast<ui::MonitorWindow*>(session.windows().open(ui::window::kMonitor));
    if (!window) return 1;
    window->show();
    store::MonitorModel& model = session.engine().monitorLog()->model();
    const double memoryBefore = residentMegabytes();

    qint64 shown = 0;
    QObject::connect(&window->rows(), &ui::MonitorBatchModel::rowsShown,
                     [&](int first, int last) { shown += last - first + 1; });

    QElapsedTimer clock;
    clock.start();
    qint64 fed = 0;
    qint64 lastTurn = 0;
    qint64 longestStall = 0;
    const qint64 endMs = seconds * 1000LL;
    QTimer feeder;
    feeder.setInterval(1);
    QObject::connect(&feeder, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestStall = std::max(longestStall, now - lastTurn);
        lastTurn = now;
        if (now >= endMs) {
            feeder.stop();
            QTimer::singleShot(100, &app, &QCoreApplication::quit);
            return;
        }
        // Whatever is due by now, as a flooded in box delivers it.
        const qint64 due = now * rate / 1000;
        for (; fed < due; ++fed) model.addRecord(trafficRecord(fed));
    });
    feeder.start();
    QCoreApplication::exec();

    const double elapsed = static_cast<double>(endMs) / 1000.0;
    std::printf("target rate            %d records/s for %d s\n", rate, seconds);
    std::printf("records fed            %lld\n", static_cast<long long>(fed));
    std::printf("records shown a second %.0f\n", static_cast<double>(shown) / elapsed);
    std::printf("longest stall          %lld ms\n", static_cast<long long>(longestStall));
    std::printf("rows held              %d (cap %d), grid rows %d\n", model.rowCount(),
                store::MonitorModel::kMaxRows, window->grid()->model()->rowCount());
    std::printf("resident memory        %.1f MB (%.1f MB before feeding)\n", residentMegabytes(),
                memoryBefore);
    return 0;
}
