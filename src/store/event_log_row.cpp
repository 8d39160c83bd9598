#include "store/event_log_row.h"

#include "net/labels.h"

#include <optional>

namespace qv::store {

namespace {

std::optional<int> numberIn(const QString& text) {
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(number) : std::nullopt;
}

}  // namespace

EventLogRow eventLogRow(const MonitorRecord& record, const net::NameTables* names) {
    EventLogRow row{record, {}, {}, {}};
    if (!names) return row;
    const std::optional<int> area = numberIn(record.area);
    if (!area) return row;
    row.AreaName = QString::fromStdString(names->areaName(*area));
    if (const std::optional<int> preset = numberIn(record.Preset))
        row.PresetName = QString::fromStdString(names->presetName(*area, *preset));
    if (const std::optional<int> channel = numberIn(record.channel))
        row.ChannelName = QString::fromStdString(names->channelName(*area, *channel));
    return row;
}

}  // namespace qv::store
