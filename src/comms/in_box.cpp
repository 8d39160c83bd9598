#include "comms/in_box.h"

#include "comms/monitor_writer.h"

namespace qv::comms {

InBox::InBox(const Clock& clock, const net::NameTables& names, net::AreaState& state,
             store::MonitorSink& monitor, QObject* parent)
    : QObject(parent), m_clock(clock), m_decoder(names, state), m_monitor(monitor) {
    m_timer = clock.createTimer(kTickMs, [this] { RS232inboxTimer(); });
}

void InBox::append(std::string line) {
    m_lines.push_back(std::move(line));
    if (m_lines.size() > kMaxWaiting) {
        m_lines.pop_front();
        if (m_dropped++ % 1000 == 0) {
            MonitorWriter(m_monitor, m_clock)
                .warning(QStringLiteral("The in box is full: messages heard are being lost (%1 so far)")
                             .arg(m_dropped));
        }
    }
    if (!m_timer->isActive()) m_timer->start();
}

void InBox::RS232inboxTimer() {
    const qint64 started = m_clock.monotonicMs();
    while (!m_lines.empty()) {
        std::string line = std::move(m_lines.front());
        m_lines.pop_front();
        if (!line.empty()) process(line);
        if (m_clock.monotonicMs() - started >= kTickBudgetMs) break;
    }
    if (m_lines.empty()) m_timer->stop();
    emit waitingChanged(static_cast<int>(m_lines.size()));
}

void InBox::process(const std::string& line) {
    const net::Decoded decoded = m_decoder.decode(line);
    ++m_decoded;
    report(decoded);
}

void InBox::report(const net::Decoded& d) {
    for (DecodeReactions* r : m_reactions) {
        if (d.levelChanged) r->levelChanged(d.area, d.channel, d.levelByte);
        if (d.sensorAnnounced) r->sensorAnnounced(*d.sensorAnnounced);
        if (d.sensorReading) r->sensorReading(*d.sensorReading);
        if (d.versionReply) r->versionReply(*d.versionReply);
    }
    const std::string compact = d.compactHex();
    for (DecodeReactions* r : m_reactions) r->compactCodeHeard(compact);
    for (DecodeReactions* r : m_reactions) r->presetHeard(d.area, d.preset);
    if (d.area != 0 && d.preset != 0)
        for (DecodeReactions* r : m_reactions) r->nonZeroPresetHeard(d.area);
    if (d.preset >= 1)
        for (DecodeReactions* r : m_reactions) r->presetSelected(d.area, d.preset);
    if (d.area >= 1 && d.preset >= 1)
        for (DecodeReactions* r : m_reactions) r->areaPresetSelected(d.area, d.preset);
    for (DecodeReactions* r : m_reactions) r->presetHeardAfterSelection(d.area, d.preset);
    for (DecodeReactions* r : m_reactions) r->customCodeHeard(d.line.hex);
    for (DecodeReactions* r : m_reactions) r->customCodeHeardLast(d.line.hex);

    store::MonitorRecord record;
    record.MsgType = QString::fromStdString(d.line.origin);
    record.RS232 = QString::fromStdString(d.line.hex);
    record.DateTime = QString::fromStdString(d.line.dateTime);
    record.comment = QString::fromStdString(d.description);
    record.area = QString::number(d.area);
    record.Preset = QString::number(d.preset);
    record.channel = QString::number(d.channel);
    record.ChannelLevel = QString::fromStdString(d.levelPercentText());
    m_monitor.MonitorAdditem(record);
}

}  // namespace qv::comms
