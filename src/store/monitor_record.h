#pragma once
// One monitor record: a line of the monitor and a row of the monitor log.
// The nine texts keep the names the monitor log and its readers know them by.

#include <QString>
#include <QStringList>

namespace qv::store {

struct MonitorRecord {
    QString MsgType;       // "Comms", "System", "Warning **", "ERROR ***", "HeartBeat", ...
    QString RS232;         // the hex message, if any
    QString Macro;
    QString DateTime;      // local "yyyy-MM-dd HH:mm:ss"
    QString comment;       // the description
    QString area;
    QString Preset;
    QString channel;
    QString ChannelLevel;

    // The nine texts joined by tabs, for the headless output.
    QString toTabbedLine() const {
        return QStringList{MsgType, RS232, Macro, DateTime, comment, area, Preset, channel, ChannelLevel}
            .join(QLatin1Char('\t'));
    }
};

// Whoever keeps the monitor: the headless output now, the monitor log and its
// window later. The engine writes every record through this one call.
class MonitorSink {
public:
    virtual ~MonitorSink() = default;
    virtual void MonitorAdditem(const MonitorRecord& record) = 0;
};

}  // namespace qv::store
