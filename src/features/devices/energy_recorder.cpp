#include "features/devices/energy_recorder.h"

#include "features/devices/logging.h"

#include <QSqlQuery>

namespace qv::devices {

EnergyRecorder::EnergyRecorder(store::Database& main, ChannelRequests& requests, store::MonitorSink& monitor,
                               const qv::Clock& clock)
    : m_main(main), m_requests(requests), m_monitorWriter(monitor, clock, lcDevices) {}

void EnergyRecorder::nonZeroPresetHeard(int area) {
    if (!m_enabled) return;
    std::vector<int> channels;
    try {
        QSqlQuery q =
            m_main.run(QStringLiteral("SELECT Channel FROM LampFittingsonChannel WHERE Area = ? GROUP BY "
                                      "Area, Channel ORDER BY Channel"),
                       {area});
        while (q.next()) channels.push_back(q.value(0).toInt());
    } catch (const std::exception& error) {
        // Said once, not for every preset change heard while it lasts.
        if (!m_failing)
            m_monitorWriter.error(QStringLiteral("Energy recording cannot read the lamps on channels: %1")
                                      .arg(QString::fromUtf8(error.what())));
        m_failing = true;
        return;
    }
    m_failing = false;
    m_requests.removeArea(area);
    for (const int channel : channels) m_requests.add(area, channel);
}

}  // namespace qv::devices
