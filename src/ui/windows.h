#pragma once
// The window registry: every window of the program is opened through it by
// name (and an optional argument), so the main window, the tray, the plan
// view or a macro editor can open any window without knowing its class.
// Each group of windows registers its kinds once at start-up (see
// window_catalogue.cpp); a kind nobody registered is simply not available,
// and the commands that would open it stay disabled.

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <vector>

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class Windows : public QObject {
    Q_OBJECT
public:
    struct Kind {
        // Makes the window; argument is what open() was given.
        std::function<QWidget*(const QVariant& argument)> create = {};
        // Called when open() finds the window already there (show it for
        // another area, another view, ...). May be empty.
        std::function<void(QWidget* window, const QVariant& argument)> reopen = {};
        // A kept window lives until the program ends (closing hides it);
        // otherwise every open() makes a new one that is deleted on close.
        bool keep = true;
    };
    // A picture for scripts/screenshots: prepares and returns the window to
    // photograph (usually through open()).
    using Scene = std::function<QWidget*(Windows& windows)>;

    Windows(shell::Engine& engine, QWidget* mainWindow, QObject* parent = nullptr);

    shell::Engine& engine() const { return m_engine; }
    // The parent for message boxes and tool windows.
    QWidget* mainWindow() const { return m_mainWindow; }
    void setMainWindow(QWidget* window) { m_mainWindow = window; }

    void add(const QString& name, Kind kind);
    bool has(const QString& name) const { return m_kinds.contains(name); }

    // Shows the window (making it on first use), raises and activates it.
    // Returns it, or nullptr when no such kind is registered.
    QWidget* open(const QString& name, const QVariant& argument = {});
    // The window of that name if it exists now (the newest for unkept kinds).
    QWidget* find(const QString& name) const;
    template <typename T>
    T* find(const QString& name) const {
        return qobject_cast<T*>(find(name));
    }

    void addScene(const QString& pictureName, Scene scene);
    const std::vector<std::pair<QString, Scene>>& scenes() const { return m_scenes; }

    // Closes and deletes every window (at shutdown).
    void closeAll();

signals:
    // A window of that name was made (tests and the main window watch it).
    void opened(const QString& name, QWidget* window);
    // Something registered or removed a kind: commands re-check has().
    void kindsChanged();

private:
    shell::Engine& m_engine;
    QPointer<QWidget> m_mainWindow;
    QHash<QString, Kind> m_kinds;
    QHash<QString, QPointer<QWidget>> m_open;
    std::vector<std::pair<QString, Scene>> m_scenes;
};

}  // namespace qv::ui
