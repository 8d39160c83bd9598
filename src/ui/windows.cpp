#include "ui/windows.h"

namespace qv::ui {

Windows::Windows(shell::Engine& engine, QWidget* mainWindow, QObject* parent)
    : QObject(parent), m_engine(engine), m_mainWindow(mainWindow) {}

void Windows::add(const QString& name, Kind kind) {
    m_kinds.insert(name, std::move(kind));
    emit kindsChanged();
}

QWidget* Windows::open(const QString& name, const QVariant& argument) {
    const auto kind = m_kinds.constFind(name);
    if (kind == m_kinds.cend()) return nullptr;
    QWidget* window = kind->keep ? m_open.value(name) : nullptr;
    if (window) {
        if (kind->reopen) kind->reopen(window, argument);
    } else {
        window = kind->create(argument);
        if (!window) return nullptr;
        if (!kind->keep) window->setAttribute(Qt::WA_DeleteOnClose);
        m_open.insert(name, window);
        emit opened(name, window);
    }
    if (window->isMinimized()) window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QWidget* Windows::find(const QString& name) const {
    return m_open.value(name);
}

void Windows::addScene(const QString& pictureName, Scene scene) {
    m_scenes.emplace_back(pictureName, std::move(scene));
}

void Windows::closeAll() {
    for (auto& window : m_open) {
        if (window && window != m_mainWindow) delete window.data();
    }
    m_open.clear();
}

}  // namespace qv::ui
