#pragma once
// One monitor record: a line of the monitor and a row of the monitor log.
// The nine texts keep the names the monitor log and its readers know them by.

#include <QString>
#include <QStringList>

namespace qv::store {

struct MonitorRecord {
    QString MsgType;  // "Comms", "System", "Warning **", "ERROR ***", "HeartBeat", ...
    QString RS232;    // the hex message, if any
    QString Macro;
    QString DateTime;  // local "yyyy-MM-dd HH:mm:ss"
    QString comment;   // the description
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

// The kinds of record the program writes about itself; a message heard is
// typed by where it came from instead ("Comms", "Server", ...).
enum class MonitorType {
    System,
    Warning,
    Error,
    HeartBeat,
    Start,
    Shutdown,
    Scheduler,
    Outlook,
    Planview,
    DirectControl,
};

// The MsgType text of each kind, as the monitor, its colours and the monitor
// log know it.
inline QString monitorTypeText(MonitorType type) {
    switch (type) {
        case MonitorType::System:
            return QStringLiteral("System");
        case MonitorType::Warning:
            return QStringLiteral("Warning **");
        case MonitorType::Error:
            return QStringLiteral("ERROR ***");
        case MonitorType::HeartBeat:
            return QStringLiteral("HeartBeat");
        case MonitorType::Start:
            return QStringLiteral("Start");
        case MonitorType::Shutdown:
            return QStringLiteral("Shutdown");
        case MonitorType::Scheduler:
            return QStringLiteral("Scheduler");
        case MonitorType::Outlook:
            return QStringLiteral("Outlook");
        case MonitorType::Planview:
            return QStringLiteral("Planview");
        case MonitorType::DirectControl:
            return QStringLiteral("Direct Control");
    }
    return {};
}

// The fields a record about the program may carry beside its comment.
struct MonitorDetails {
    QString macro{};
    QString rs232{};
    QString area{};
    QString preset{};
};

// A record the program writes about itself, stamped with the date-time text given.
inline MonitorRecord monitorRecord(MonitorType type, const QString& dateTime, const QString& comment,
                                   const MonitorDetails& details = {}) {
    MonitorRecord record;
    record.MsgType = monitorTypeText(type);
    record.RS232 = details.rs232;
    record.Macro = details.macro;
    record.DateTime = dateTime;
    record.comment = comment;
    record.area = details.area;
    record.Preset = details.preset;
    return record;
}

// Whoever keeps the monitor: the headless output, the monitor log, the
// monitor window. The engine writes every record through this one call.
class MonitorSink {
public:
    virtual ~MonitorSink() = default;
    virtual void MonitorAdditem(const MonitorRecord& record) = 0;
};

}  // namespace qv::store
