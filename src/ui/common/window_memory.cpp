#include "ui/common/window_memory.h"

#include <QGuiApplication>
#include <QScreen>

namespace qv::ui {

namespace {

QString key(const QString& prefix, const char* name) {
    return QStringLiteral("Client/") + prefix + QLatin1String(name);
}

bool onSomeScreen(const QPoint& point) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().contains(point)) return true;
    return false;
}

}  // namespace

void restoreWindowPlace(QWidget* window, QSettings& settings, const QString& prefix, bool withState) {
    bool topOk = false, leftOk = false;
    const int top = settings.value(key(prefix, "Top")).toInt(&topOk);
    const int left = settings.value(key(prefix, "Left")).toInt(&leftOk);
    if (topOk && leftOk && onSomeScreen(QPoint(left + 20, top + 20))) window->move(left, top);
    const int width = settings.value(key(prefix, "Width")).toInt();
    const int height = settings.value(key(prefix, "Height")).toInt();
    if (width > 100 && height > 80) window->resize(width, height);
    if (!withState) return;
    const int state = settings.value(key(prefix, "WindowState")).toInt();
    if (state == 2) window->setWindowState(window->windowState() | Qt::WindowMaximized);
    if (state == 1) window->setWindowState(window->windowState() | Qt::WindowMinimized);
}

void saveWindowPlace(const QWidget* window, QSettings& settings, const QString& prefix, bool withState) {
    if (withState) {
        const int state = window->isMaximized() ? 2 : window->isMinimized() ? 1 : 0;
        settings.setValue(key(prefix, "WindowState"), state);
        if (state != 0) return;  // the normal place stays what it was
    }
    settings.setValue(key(prefix, "Top"), window->y());
    settings.setValue(key(prefix, "Left"), window->x());
    settings.setValue(key(prefix, "Width"), window->width());
    settings.setValue(key(prefix, "Height"), window->height());
}

}  // namespace qv::ui
