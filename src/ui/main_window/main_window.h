#pragma once
// The main window "Quorvel": the toolbar keys, the menus, the macro buttons
// and their mini panel, the version label, the server status lights, the
// link's health and the out-box count. Every window it opens comes from the
// registry; every command is enabled by its permission switch.

#include <QAction>
#include <QHash>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QSettings>
#include <QSystemTrayIcon>

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class Windows;
class ButtonPanelWidget;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static inline const QString kNoShutdownText =
        QStringLiteral("Quorvel has been configured NOT to shutdown. You may minimise Quorvel only");
    static inline const QString kClosingCaption = QStringLiteral("--- please wait, closing ---");

    MainWindow(shell::Engine& engine, Windows& windows, QSettings& userSettings, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The action that opens a registry window (menus, toolbar, tray share it).
    QAction* commandAction(const QString& windowName) const { return m_commands.value(windowName); }
    ButtonPanelWidget* buttonPanel() const { return m_buttons; }
    QMenu* miniPanel() const { return m_miniPanel; }

    // The program is ending (a session logout, a system shutdown, a restart):
    // the next close is never refused.
    void allowClose() { m_closeAllowed = true; }
    // Shutdown has started: the caption says so and the tray goes.
    void showClosing();

signals:
    // The user asked to end the program and it is allowed to end.
    void quitRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildCommands();
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildTray();
    void rebuildMiniPanel();
    void applyPermissions();
    void pressButton(int index);
    void updateLight(int server);
    bool refuseClose();

    shell::Engine& m_engine;
    Windows& m_windows;
    QSettings& m_userSettings;
    QHash<QString, QAction*> m_commands;
    QAction* m_configAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_serialMark = nullptr;
    QAction* m_serverMark = nullptr;
    ButtonPanelWidget* m_buttons = nullptr;
    QMenu* m_miniPanel = nullptr;
    QLabel* m_healthLabel = nullptr;
    QLabel* m_outboxLabel = nullptr;
    QLabel* m_lights[2] = {nullptr, nullptr};
    QLabel* m_warnings[2] = {nullptr, nullptr};
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    QAction* m_hideShow = nullptr;
    bool m_closeAllowed = false;
    bool m_placeRestored = false;
};

}  // namespace qv::ui
