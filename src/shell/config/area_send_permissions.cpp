#include "shell/config/area_send_permissions.h"

#include "shell/config/logging.h"
#include "shell/config/messages.h"
#include "store/area_permissions.h"
#include "store/store_error.h"

#include <utility>

namespace qv::config {

AreaSendPermissions::AreaSendPermissions(QString winrightsPath, store::MonitorSink& monitor,
                                         const comms::Clock& clock, QObject* parent)
    : QObject(parent), m_path(std::move(winrightsPath)), m_monitor(monitor), m_clock(clock) {}

void AreaSendPermissions::load() {
    try {
        m_doNotSend = store::loadDoNotSendAreas(m_path);
        m_available = true;
    } catch (const store::StoreError& e) {
        m_doNotSend.fill(false);
        m_available = false;
        monitorLine(
            msg::kWarning,
            QStringLiteral("The area permissions could not be read, no area is restricted and the area list "
                           "is disabled: %1")
                .arg(QString::fromUtf8(e.what())));
    }
    emit doNotSendChanged(m_doNotSend);
}

bool AreaSendPermissions::allowed(int area) const {
    return area < 0 || area > 255 || !m_doNotSend[static_cast<std::size_t>(area)];
}

bool AreaSendPermissions::setAllowed(int area, bool allowed) {
    if (!m_available || area < 0 || area > 255) return false;
    Flags next = m_doNotSend;
    next[static_cast<std::size_t>(area)] = !allowed;
    if (next == m_doNotSend) return true;
    if (!write(next)) return false;
    monitorLine(msg::kSystem,
                allowed ? QStringLiteral("Area permission granted on this PC")
                        : QStringLiteral("Area permission removed on this PC"),
                QString::number(area));
    return true;
}

bool AreaSendPermissions::setAllAllowed(bool allowed) {
    if (!m_available) return false;
    Flags next;
    next.fill(!allowed);
    if (next == m_doNotSend) return true;
    if (!write(next)) return false;
    monitorLine(msg::kSystem, allowed ? QStringLiteral("Every area permitted on this PC")
                                      : QStringLiteral("No area permitted on this PC"));
    return true;
}

bool AreaSendPermissions::write(const Flags& flags) {
    try {
        store::saveDoNotSendAreas(m_path, flags);
    } catch (const store::StoreError& e) {
        monitorLine(
            msg::kError,
            QStringLiteral("The area permissions could not be stored: %1").arg(QString::fromUtf8(e.what())));
        return false;
    }
    m_doNotSend = flags;
    emit doNotSendChanged(m_doNotSend);
    return true;
}

void AreaSendPermissions::monitorLine(const QString& type, const QString& comment, const QString& area) {
    store::MonitorRecord record;
    record.MsgType = type;
    record.DateTime = comms::dateTimeText(m_clock.now());
    record.comment = comment;
    record.area = area;
    m_monitor.MonitorAdditem(record);
    qCInfo(lcConfig) << type << comment << area;
}

}  // namespace qv::config
