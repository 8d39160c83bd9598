#pragma once
// The areas this PC may send to, as the configuration's area list shows them.
// Every tick or untick is written to the area-permission store (winrights.db)
// at once, whatever happens to the rest of the configuration, and handed to
// the send path through doNotSendChanged.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QString>
#include <array>

namespace qv::config {

class AreaSendPermissions : public QObject {
    Q_OBJECT
public:
    using Flags = std::array<bool, 256>;  // true = do not send to the area

    AreaSendPermissions(QString winrightsPath, store::MonitorSink& monitor, const qv::Clock& clock,
                        QObject* parent = nullptr);

    // Reads the store. When it cannot be read the list is unavailable and
    // every area stays allowed (a monitor record says why). Emits
    // doNotSendChanged with what was read.
    void load();

    // False when the store could not be read: the list is shown disabled.
    bool available() const { return m_available; }
    bool allowed(int area) const;
    const Flags& doNotSend() const { return m_doNotSend; }

    // Stores the change at once. Returns false (and changes nothing) when the
    // list is unavailable, the area is outside 0..255, or the store refuses the
    // write, which also gets a monitor record.
    bool setAllowed(int area, bool allowed);
    // "select all" / "unselect all".
    bool setAllAllowed(bool allowed);

signals:
    void doNotSendChanged(const std::array<bool, 256>& doNotSend);

private:
    bool write(const Flags& flags);

    QString m_path;
    comms::MonitorWriter m_monitorWriter;
    Flags m_doNotSend{};
    bool m_available = false;
};

}  // namespace qv::config
