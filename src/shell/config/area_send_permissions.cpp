#include "shell/config/area_send_permissions.h"

#include "shell/config/logging.h"
#include "shell/config/messages.h"
#include "store/area_permissions.h"
#include "store/store_error.h"

#include <utility>

namespace qv::config {

AreaSendPermissions::AreaSendPermissions(QString winrightsPath, store::MonitorSink& monitor,
                                         const qv::Clock& clock, QObject* parent)
    : QObject(parent), m_path(std::move(winrightsPath)), m_monitorWriter(monitor, clock, lcConfig) {}

void AreaSendPermissions::load() {
    try {
        m_doNotSend = store::loadDoNotSendAreas(m_path);
        m_available = true;
    } catch (const store::StoreError& e) {
        m_doNotSend.fill(false);
        m_available = false;
        m_monitorWriter.warning(
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
    m_monitorWriter.system(allowed ? QStringLiteral("Area permission granted on this PC")
                                   : QStringLiteral("Area permission removed on this PC"),
                           {.area = QString::number(area)});
    return true;
}

bool AreaSendPermissions::setAllAllowed(bool allowed) {
    if (!m_available) return false;
    Flags next;
    next.fill(!allowed);
    if (next == m_doNotSend) return true;
    if (!write(next)) return false;
    m_monitorWriter.system(allowed ? QStringLiteral("Every area permitted on this PC")
                                   : QStringLiteral("No area permitted on this PC"));
    return true;
}

bool AreaSendPermissions::write(const Flags& flags) {
    try {
        store::saveDoNotSendAreas(m_path, flags);
    } catch (const store::StoreError& e) {
        m_monitorWriter.error(
            QStringLiteral("The area permissions could not be stored: %1").arg(QString::fromUtf8(e.what())));
        return false;
    }
    m_doNotSend = flags;
    emit doNotSendChanged(m_doNotSend);
    return true;
}

}  // namespace qv::config
