#pragma once
// The configuration window ConfigForm: a password frame over the tabs, every
// setting of the Config and Comms rows, the per-user switches, the area send
// permissions, mail and reminders, and the maintenance commands. Every
// decision is the ConfigEngine's; the window shows and forwards.

#include "shell/config/config_engine.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace qv::shell {
class Engine;
}

namespace qv::ui {

class ConfigWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConfigWindow(shell::Engine& engine, QWidget* parent = nullptr);

    // Shows the password frame again over fresh values (every opening).
    void restart();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct BoolField {
        QCheckBox* box;
        bool store::ConfigSettings::*member;
    };

    QWidget* permissionsPage();
    QWidget* buttonsPage();
    QWidget* logsPage();
    QWidget* sitePage();
    QWidget* optionsPage();
    QWidget* commsPage();
    QWidget* areasPage();
    QWidget* mailPage();
    QWidget* passwordPage();
    QWidget* maintenancePage();
    QCheckBox* check(const QString& name, const QString& caption, bool store::ConfigSettings::*member);
    QLineEdit* lineEdit(const QString& name, int width = 0);

    void unlock();
    void fill();
    config::ConfigForm collect() const;
    void applyEnabling();
    void ok();
    void cancel();

    shell::Engine& m_engine;
    config::ConfigEngine& m_config;
    config::ConfigForm m_form;
    std::vector<BoolField> m_bools;

    QFrame* m_passwordFrame = nullptr;
    QLineEdit* m_password = nullptr;
    QTabWidget* m_tabs = nullptr;
    std::vector<std::pair<int, QRadioButton*>> m_buttonVersions;
    QLineEdit *m_maxMonitor, *m_loadFromMonitor, *m_maxSensor;
    QPushButton *m_resetMonitor, *m_resetSensor;
    QLineEdit *m_lat, *m_long, *m_timezone;
    QComboBox *m_northSouth, *m_eastWest;
    QLineEdit* m_releaseRate;
    QCheckBox *m_watchDog, *m_lockPlanview;
    QRadioButton *m_comOption, *m_tcpOption;
    QComboBox *m_comPort, *m_baud, *m_dataBits, *m_parity, *m_stopBits, *m_localIP;
    QLineEdit *m_portName, *m_usbDelay, *m_server, *m_secondary;
    QCheckBox* m_usb;
    QWidget *m_serialGroup, *m_serverGroup;
    QListWidget* m_areas;
    QLineEdit *m_mailHost, *m_mailPort, *m_mailUser, *m_mailPassword, *m_mailSender, *m_calendar;
    QComboBox* m_mailTls;
    QLineEdit *m_newPassword, *m_confirmPassword;
    QProgressBar* m_circuitProgress;
    QPushButton* m_circuitCancel;
};

}  // namespace qv::ui
