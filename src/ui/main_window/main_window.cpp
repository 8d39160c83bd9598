#include "ui/main_window/main_window.h"

#include "comms/serial_comms.h"
#include "comms/server_link.h"
#include "comms/status_lights.h"
#include "features/reactions/button_panel.h"
#include "shell/config/config_engine.h"
#include "shell/engine.h"
#include "shell/feature_set.h"
#include "ui/common/icons.h"
#include "ui/common/message_box.h"
#include "ui/common/units.h"
#include "ui/common/window_memory.h"
#include "ui/main_window/button_panel_widget.h"
#include "ui/main_window/commands.h"
#include "ui/window_names.h"
#include "ui/windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace qv::ui {

namespace {

using Server = comms::ServerStatusLights::Server;

const QString kPlacePrefix = QStringLiteral("Quorvel");

}  // namespace

MainWindow::MainWindow(shell::Engine& engine, Windows& windows, QSettings& userSettings, QWidget* parent)
    : QMainWindow(parent), m_engine(engine), m_windows(windows), m_userSettings(userSettings) {
    setObjectName(QStringLiteral("Quorvel"));
    setWindowTitle(QStringLiteral("Quorvel"));
    setWindowIcon(icon(QStringLiteral("Quorvel")));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    m_buttons = new ButtonPanelWidget(m_engine.features()->buttons(), central);
    layout->addWidget(m_buttons, 1);
    auto* version = new QLabel(shell::Engine::kVersionText, central);
    version->setObjectName(QStringLiteral("VersionLabel"));
    version->setAlignment(Qt::AlignRight);
    layout->addWidget(version);
    setCentralWidget(central);
    connect(m_buttons, &ButtonPanelWidget::pressed, this, &MainWindow::pressButton);
    connect(m_buttons, &ButtonPanelWidget::editRequested, this, [this](int index) {
        if (m_engine.configEngine()->settings().config.editbuttons)
            m_windows.open(window::kButtonEditor, index);
    });

    buildCommands();
    buildMenus();
    buildToolbar();
    buildStatusBar();
    buildTray();

    auto& permissions = m_engine.configEngine()->permissions();
    connect(&permissions, &config::PermissionModel::changed, this, &MainWindow::applyPermissions);
    connect(&m_windows, &Windows::kindsChanged, this, &MainWindow::applyPermissions);
    connect(&m_engine.features()->buttons(), &reactions::ButtonPanel::changed, this,
            &MainWindow::rebuildMiniPanel);
    applyPermissions();
    rebuildMiniPanel();

    resize(760, 420);
    restoreWindowPlace(this, m_userSettings, kPlacePrefix, true);
}

MainWindow::~MainWindow() {
    if (m_tray) m_tray->hide();
}

void MainWindow::buildCommands() {
    for (const Command& command : mainCommands()) {
        auto* action = new QAction(command.caption, this);
        action->setObjectName(command.window + QStringLiteral("Action"));
        if (!command.toolbarKey.isEmpty()) {
            action->setIcon(icon(command.toolbarKey));
            action->setToolTip(command.toolbarKey);
        }
        const QString name = command.window;
        connect(action, &QAction::triggered, this, [this, name] { m_windows.open(name); });
        m_commands.insert(name, action);
    }
    m_configAction = new QAction(QStringLiteral("Configuration..."), this);
    m_configAction->setObjectName(QStringLiteral("configAction"));
    connect(m_configAction, &QAction::triggered, this, [this] { m_windows.open(window::kConfig); });
    m_exitAction = new QAction(QStringLiteral("Exit"), this);
    m_exitAction->setObjectName(QStringLiteral("exitAction"));
    connect(m_exitAction, &QAction::triggered, this, &MainWindow::close);
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->addAction(m_configAction);
    file->addSeparator();
    file->addAction(m_exitAction);

    // The marks show the chosen method; it is changed in the configuration.
    QMenu* commsMenu = menuBar()->addMenu(QStringLiteral("C&omms"));
    m_serialMark = commsMenu->addAction(QStringLiteral("Serial port"));
    m_serverMark = commsMenu->addAction(QStringLiteral("QuorvelServer (TCP/IP)"));
    const bool useTCP = m_engine.configEngine()->settings().comms.useTCP;
    for (QAction* mark : {m_serialMark, m_serverMark}) {
        mark->setCheckable(true);
        connect(mark, &QAction::triggered, this, [this] {
            m_serialMark->setChecked(!m_engine.configEngine()->settings().comms.useTCP);
            m_serverMark->setChecked(m_engine.configEngine()->settings().comms.useTCP);
            m_windows.open(window::kConfig);
        });
    }
    m_serialMark->setChecked(!useTCP);
    m_serverMark->setChecked(useTCP);

    QHash<QString, QMenu*> menus;
    for (const Command& command : mainCommands()) {
        QMenu*& menu = menus[command.menu];
        if (!menu) menu = menuBar()->addMenu(command.menu);
        menu->addAction(m_commands.value(command.window));
    }
}

void MainWindow::buildToolbar() {
    QToolBar* toolbar = addToolBar(QStringLiteral("Toolbar"));
    toolbar->setObjectName(QStringLiteral("Toolbar1"));
    toolbar->setMovable(false);
    toolbar->setIconSize(QSize(32, 32));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const QString& key : toolbarOrder()) {
        for (const Command& command : mainCommands()) {
            if (command.toolbarKey != key) continue;
            QAction* action = m_commands.value(command.window);
            toolbar->addAction(action);
            if (QWidget* button = toolbar->widgetForAction(action)) button->setObjectName(key);
        }
    }
    toolbar->addSeparator();
    m_miniPanel = new QMenu(QStringLiteral("Mini panel"), this);
    m_miniPanel->setObjectName(QStringLiteral("MiniPanel"));
    auto* mini = new QToolButton(toolbar);
    mini->setObjectName(QStringLiteral("MiniPanelButton"));
    mini->setText(QStringLiteral("Mini panel"));
    mini->setToolTip(QStringLiteral("Mini panel"));
    mini->setIcon(icon(QStringLiteral("Quorvel")));
    mini->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    mini->setPopupMode(QToolButton::InstantPopup);
    mini->setMenu(m_miniPanel);
    toolbar->addWidget(mini);
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    m_healthLabel = new QLabel(bar);
    m_healthLabel->setObjectName(QStringLiteral("HealthLabel"));
    m_healthLabel->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    bar->addWidget(m_healthLabel, 1);
    m_outboxLabel = new QLabel(QStringLiteral("Out box: 0"), bar);
    m_outboxLabel->setObjectName(QStringLiteral("OutboxCountLabel"));
    bar->addPermanentWidget(m_outboxLabel);

    const char* names[2] = {"Primary", "Secondary"};
    for (int i = 0; i < 2; ++i) {
        m_warnings[i] =
            new QLabel(QStringLiteral("%1 server not answering").arg(QLatin1String(names[i])), bar);
        m_warnings[i]->setObjectName(QStringLiteral("%1ServerWarningLabel").arg(QLatin1String(names[i])));
        m_warnings[i]->setStyleSheet(QStringLiteral("color: #b00000;"));
        m_lights[i] = new QLabel(bar);
        m_lights[i]->setObjectName(QStringLiteral("%1ServerStatusImage").arg(QLatin1String(names[i])));
        m_lights[i]->setFixedSize(16, 16);
        bar->addPermanentWidget(m_warnings[i]);
        bar->addPermanentWidget(m_lights[i]);
        updateLight(i);
    }
    comms::SerialComms& serial = m_engine.comms();
    connect(&serial, &comms::SerialComms::healthTextChanged, m_healthLabel, &QLabel::setText);
    connect(&serial, &comms::SerialComms::outboxCountChanged, this,
            [this](int count) { m_outboxLabel->setText(QStringLiteral("Out box: %1").arg(count)); });
    connect(&m_engine.serverLights(), &comms::ServerStatusLights::changed, this,
            [this](Server server) { updateLight(static_cast<int>(server)); });
}

void MainWindow::updateLight(int server) {
    const comms::StatusLight& light = m_engine.serverLights().light(static_cast<Server>(server));
    m_lights[server]->setVisible(light.visible);
    m_warnings[server]->setVisible(light.visible && light.warningVisible);
    m_lights[server]->setToolTip(light.tooltip);
    m_lights[server]->setStyleSheet(
        QStringLiteral("background-color: %1; border: 1px solid #404040; border-radius: 8px;")
            .arg(colourFromRgb(static_cast<int>(comms::lightRgb(light.colour))).name()));
}

void MainWindow::buildTray() {
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    m_tray = new QSystemTrayIcon(icon(QStringLiteral("Quorvel")), this);
    m_tray->setToolTip(QStringLiteral("Quorvel"));
    m_trayMenu = new QMenu(this);
    m_hideShow = m_trayMenu->addAction(QStringLiteral("Hide Quorvel"));
    connect(m_hideShow, &QAction::triggered, this, [this] {
        const bool hide = isVisible();
        setVisible(!hide);
        if (!hide) activateWindow();
        m_hideShow->setText(hide ? QStringLiteral("Show Quorvel") : QStringLiteral("Hide Quorvel"));
    });
    m_trayMenu->addSeparator();
    m_trayMenu->addMenu(m_miniPanel);
    m_tray->setContextMenu(m_trayMenu);
    m_tray->show();
}

void MainWindow::rebuildMiniPanel() {
    const reactions::ButtonPanel& panel = m_engine.features()->buttons();
    m_miniPanel->clear();
    for (int i = 1; i <= panel.count(); ++i) {
        QAction* item = m_miniPanel->addAction(panel.button(i).caption);
        item->setObjectName(QStringLiteral("MiniButton%1").arg(i));
        item->setVisible(panel.menuItemVisible(i));
        connect(item, &QAction::triggered, this, [this, i] { pressButton(i); });
    }
}

void MainWindow::applyPermissions() {
    const auto& permissions = m_engine.configEngine()->permissions();
    for (const Command& command : mainCommands()) {
        QAction* action = m_commands.value(command.window);
        const bool allowed = !command.permission || permissions.allows(*command.permission);
        action->setEnabled(allowed && m_windows.has(command.window));
    }
    m_configAction->setEnabled(m_windows.has(window::kConfig));
}

void MainWindow::pressButton(int index) {
    const QString message = m_engine.features()->buttons().press(index);
    if (!message.isEmpty()) showMessage(this, BoxKind::Exclamation, message);
}

bool MainWindow::refuseClose() {
    if (m_closeAllowed || !m_engine.started()) return false;
    return m_engine.configEngine()->settings().config.donotallowshutdown;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_closeAllowed) {
        saveWindowPlace(this, m_userSettings, kPlacePrefix, true);
        event->accept();
        return;
    }
    event->ignore();
    if (refuseClose()) {
        showMessage(this, BoxKind::Information, kNoShutdownText);
        return;
    }
    saveWindowPlace(this, m_userSettings, kPlacePrefix, true);
    emit quitRequested();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
}

void MainWindow::showClosing() {
    setWindowTitle(kClosingCaption);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (m_tray) m_tray->hide();
}

}  // namespace qv::ui
