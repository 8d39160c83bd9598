#include "ui/desktop/config_window.h"

#include "shell/config/choice_lists.h"
#include "shell/config/messages.h"
#include "shell/engine.h"
#include "store/monitor_log.h"
#include "ui/common/message_box.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHostAddress>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QNetworkInterface>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPortInfo>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qv::ui {

namespace {

// Reacts when a line edit loses focus, as the checks of single boxes do.
class LeaveFilter final : public QObject {
public:
    LeaveFilter(QLineEdit* box, std::function<void()> onLeave) : QObject(box), m_onLeave(std::move(onLeave)) {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusOut) m_onLeave();
        return false;
    }

private:
    std::function<void()> m_onLeave;
};

void onLeave(QLineEdit* box, std::function<void()> action) {
    new LeaveFilter(box, std::move(action));
}

QComboBox* combo(QWidget* parent, const QString& name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

void selectText(QComboBox* box, const QString& value) {
    const int at = config::choiceIndex(
        [box] {
            QStringList items;
            for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
            return items;
        }(),
        value);
    if (at >= 0) box->setCurrentIndex(at);
}

// The serial devices of this machine, for the device-path box and the port list.
QStringList serialDevices() {
    QStringList devices;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) devices << port.systemLocation();
    return devices;
}

// Port n is the n-th standard serial device (/dev/ttyS<n-1>); it can be opened
// when the machine lists it and nobody holds it.
bool canOpenPort(int port) {
    const QString name = QStringLiteral("ttyS%1").arg(port - 1);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        if (info.portName() == name) return true;
    return false;
}

QStringList machineAddresses() {
    QStringList addresses;
    for (const QHostAddress& address : QNetworkInterface::allAddresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol) addresses << address.toString();
    return addresses;
}

}  // namespace

ConfigWindow::ConfigWindow(shell::Engine& engine, QWidget* parent)
    : QWidget(parent), m_engine(engine), m_config(*engine.configEngine()) {
    setObjectName(QStringLiteral("ConfigForm"));
    setWindowFlag(Qt::Window);
    setWindowTitle(tr("Configuration"));

    m_passwordFrame = new QFrame(this);
    m_passwordFrame->setObjectName(QStringLiteral("PWDFrame"));
    m_passwordFrame->setFrameShape(QFrame::StyledPanel);
    m_password = lineEdit(QStringLiteral("PasswordTextbox"), 200);
    m_password->setParent(m_passwordFrame);
    m_password->setEchoMode(QLineEdit::Password);
    auto* passwordOk = new QPushButton(tr("OK"), m_passwordFrame);
    passwordOk->setObjectName(QStringLiteral("PWDokButton"));
    connect(passwordOk, &QPushButton::clicked, this, &ConfigWindow::unlock);
    connect(m_password, &QLineEdit::returnPressed, this, &ConfigWindow::unlock);
    auto* frameLayout = new QHBoxLayout(m_passwordFrame);
    frameLayout->addWidget(new QLabel(tr("Password:"), m_passwordFrame));
    frameLayout->addWidget(m_password);
    frameLayout->addWidget(passwordOk);
    frameLayout->addStretch(1);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("ConfigSSTab"));
    m_tabs->addTab(permissionsPage(), tr("Permissions"));
    m_tabs->addTab(buttonsPage(), tr("Buttons"));
    m_tabs->addTab(logsPage(), tr("Logs"));
    m_tabs->addTab(sitePage(), tr("Site"));
    m_tabs->addTab(optionsPage(), tr("Options"));
    m_tabs->addTab(commsPage(), tr("Comms"));
    m_tabs->addTab(areasPage(), tr("Area Permissions"));
    m_tabs->addTab(mailPage(), tr("Mail and reminders"));
    m_tabs->addTab(passwordPage(), tr("Password"));
    m_tabs->addTab(maintenancePage(), tr("Maintenance"));

    auto* okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    connect(okButton, &QPushButton::clicked, this, &ConfigWindow::ok);
    auto* cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    connect(cancelButton, &QPushButton::clicked, this, &ConfigWindow::cancel);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(okButton);
    bottom->addWidget(cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_passwordFrame);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);

    connect(&m_config, &config::ConfigEngine::stateChanged, this, [this, okButton](auto state) {
        const bool open = state == config::ConfigEngine::DialogState::Unlocked;
        m_tabs->setEnabled(open);
        okButton->setEnabled(open);
        m_passwordFrame->setVisible(!open);
    });
    connect(&m_config.circuitTest(), &config::CircuitFindingTest::progress, this, [this](int area, int last) {
        m_circuitProgress->setMaximum(last);
        m_circuitProgress->setValue(area);
    });
    connect(&m_config.circuitTest(), &config::CircuitFindingTest::finished, this,
            [this](bool) { m_circuitCancel->setEnabled(false); });
    resize(960, 560);
    restart();
}

QLineEdit* ConfigWindow::lineEdit(const QString& name, int width) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    if (width > 0) box->setMaximumWidth(width);
    return box;
}

QCheckBox* ConfigWindow::check(const QString& name, const QString& caption,
                               bool store::ConfigSettings::*member) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    if (member) m_bools.push_back({box, member});
    return box;
}

QWidget* ConfigWindow::permissionsPage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout;
    using C = store::ConfigSettings;
    const std::vector<std::tuple<const char*, QString, bool C::*>> rows = {
        {"AreaNamesCheck", tr("Area names"), &C::areanames},
        {"Lightlevelscheck", tr("Light levels"), &C::lightlevels},
        {"EventsCheck", tr("Events"), &C::events},
        {"SchedulerCheck", tr("Scheduler"), &C::scheduler},
        {"emailCheck", tr("E-mail"), &C::email},
        {"CustomCodeCheck", tr("Custom codes"), &C::customcode},
        {"DDECheck", tr("DDE link"), &C::ddeability},
        {"CorvalinCheck", tr("Light boxes"), &C::corvalin},
        {"RollcallCheck", tr("Roll call"), &C::rollcall},
        {"MacrosCheck", tr("Macros"), &C::macros},
        {"DirectControlCheck", tr("Direct control"), &C::directcontrol},
        {"PlanCheck", tr("Plan view"), &C::plan},
        {"MonitorCheck", tr("Monitor"), &C::monitor},
        {"SensorLogCheck", tr("Light sensors"), &C::sensorlog},
        {"MacrosRunningCheck", tr("Running macros"), &C::macrosrunning},
        {"editbuttonscheck", tr("Edit buttons"), &C::editbuttons},
    };
    int at = 0;
    for (const auto& [name, caption, member] : rows) {
        QCheckBox* box = check(QString::fromLatin1(name), caption, member);
        grid->addWidget(box, at % 8, at / 8);
        ++at;
    }
    // The DDE link follows its tick at once.
    connect(findChild<QCheckBox*>(QStringLiteral("DDECheck")), &QCheckBox::clicked, this,
            [this](bool on) { m_config.setDdeAbility(on); });
    auto* components = new QGroupBox(tr("Macro Components"));
    auto* componentGrid = new QGridLayout(components);
    const std::vector<std::tuple<const char*, QString, bool C::*>> parts = {
        {"macroorvanet", tr("Network messages"), &C::macroorvanet},
        {"macrowavfiles", tr("Sound files"), &C::macrowavfiles},
        {"macroemail", tr("E-mails"), &C::macroemail},
        {"macrocustomcodes", tr("Custom codes"), &C::macrocustomcodes},
        {"macrorunmacros", tr("Run macros"), &C::macrorunmacros},
        {"macrocancelmacros", tr("Cancel macros"), &C::macrocancelmacros},
        {"macrocorvalin", tr("Light boxes"), &C::macrocorvalin},
        {"macrorollcall", tr("Roll call"), &C::macrorollcall},
        {"macroorvanetchannels", tr("Network channels"), &C::macroorvanetchannels},
    };
    at = 0;
    for (const auto& [name, caption, member] : parts) {
        componentGrid->addWidget(check(QString::fromLatin1(name), caption, member), at % 5, at / 5);
        ++at;
    }
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(grid);
    layout->addWidget(components);
    layout->addStretch(1);
    return page;
}

QWidget* ConfigWindow::buttonsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    for (int count : {4, 8, 12, 18, 24}) {
        const QString caption =
            count == 8 ? tr("8 Button Version (default)") : tr("%1 Button Version").arg(count);
        auto* option = new QRadioButton(caption, page);
        option->setObjectName(QStringLiteral("Set%1ButtonVersionOption").arg(count));
        m_buttonVersions.emplace_back(count, option);
        layout->addWidget(option);
    }
    layout->addStretch(1);
    return page;
}

QWidget* ConfigWindow::logsPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    using C = store::ConfigSettings;
    QCheckBox* monitorLog =
        check(QStringLiteral("EnableMonitorLogCheck"), tr("Enable monitor log"), &C::enablemonitorlog);
    connect(monitorLog, &QCheckBox::toggled, this, &ConfigWindow::applyEnabling);
    m_maxMonitor = lineEdit(QStringLiteral("MaxMonitorLogTextBox"), 100);
    m_maxMonitor->setValidator(new QIntValidator(0, 100000000, m_maxMonitor));
    m_loadFromMonitor = lineEdit(QStringLiteral("LoadFromMonitorLogTextbox"), 100);
    m_loadFromMonitor->setValidator(new QIntValidator(-1000000, 1000000, m_loadFromMonitor));
    onLeave(m_loadFromMonitor, [this] {
        m_loadFromMonitor->setText(QString::number(
            config::ConfigEngine::loadFromMonitorLogEdited(m_loadFromMonitor->text().toInt())));
    });
    m_resetMonitor = new QPushButton(tr("Reset Monitor Log"), page);
    m_resetMonitor->setObjectName(QStringLiteral("ResetMonitorLogButton"));
    connect(m_resetMonitor, &QPushButton::clicked, this, [this] {
        if (!askYesNo(this, store::MonitorLogReset::question(), {}, true, BoxKind::Information)) return;
        const store::ResetOutcome outcome = m_engine.monitorLog()->resetLog();
        showMessage(this, BoxKind::Critical, outcome.text);
    });
    QCheckBox* sensorLog =
        check(QStringLiteral("EnableSensorLogCheck"), tr("Enable sensor log"), &C::enablesensorlog);
    m_maxSensor = lineEdit(QStringLiteral("MaxSensorLogTextBox"), 100);
    m_maxSensor->setValidator(new QIntValidator(0, 100000000, m_maxSensor));
    m_resetSensor = new QPushButton(tr("Reset Sensor Log"), page);
    m_resetSensor->setObjectName(QStringLiteral("ResetSensorLogButton"));
    connect(m_resetSensor, &QPushButton::clicked, this, [this] {
        if (!askYesNo(this, config::msg::kSensorLogResetQuestion, {}, true, BoxKind::Information)) return;
        // As after the monitor-log reset, the result comes with the critical icon.
        const store::Outcome outcome = m_config.resetSensorLog();
        if (!outcome.message.isEmpty()) showMessage(this, BoxKind::Critical, outcome.message);
    });
    form->addRow(monitorLog);
    form->addRow(tr("Maximum monitor records"), m_maxMonitor);
    form->addRow(tr("Records read back at start-up (0-10000)"), m_loadFromMonitor);
    form->addRow(m_resetMonitor);
    form->addRow(sensorLog);
    form->addRow(tr("Maximum sensor records"), m_maxSensor);
    form->addRow(m_resetSensor);
    form->addRow(
        check(QStringLiteral("ActivateEnergyUsageCheck"), tr("Record energy usage"), &C::enableenergyusage));
    return page;
}

QWidget* ConfigWindow::sitePage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_lat = lineEdit(QStringLiteral("LatTextbox"), 100);
    m_northSouth =
        combo(page, QStringLiteral("NorthSouthCombo"), {QStringLiteral("South"), QStringLiteral("North")});
    m_long = lineEdit(QStringLiteral("LongTextbox"), 100);
    m_eastWest =
        combo(page, QStringLiteral("EastWestCombo"), {QStringLiteral("East"), QStringLiteral("West")});
    m_timezone = lineEdit(QStringLiteral("TimeZoneTextBox"), 60);
    const auto pair = [](QWidget* a, QWidget* b) {
        auto* row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(b);
        row->addStretch(1);
        return row;
    };
    form->addRow(tr("Latitude"), pair(m_lat, m_northSouth));
    form->addRow(tr("Longitude"), pair(m_long, m_eastWest));
    form->addRow(tr("Time zone"), pair(m_timezone, new QLabel(tr("(from GMT)"), page)));
    return page;
}

QWidget* ConfigWindow::optionsPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    using C = store::ConfigSettings;
    form->addRow(check(QStringLiteral("SaveLevelsCheck"), tr("User can save lighting presets"),
                       &C::UserCanSaveLightingPresets));
    form->addRow(
        check(QStringLiteral("SeekChannelsCheck"), tr("User can seek channels"), &C::UserCanSeekchannels));
    form->addRow(check(QStringLiteral("DoNotAllowShutDownCheck"), tr("Do not allow shutdown"),
                       &C::donotallowshutdown));
    m_releaseRate = lineEdit(QStringLiteral("ReleaserateTextBox"), 60);
    m_releaseRate->setValidator(new QIntValidator(-100000, 100000, m_releaseRate));
    const QString tip =
        QStringLiteral("Determines the speed/interval that messages are released onto the network");
    m_releaseRate->setToolTip(tip);
    onLeave(m_releaseRate, [this] {
        m_releaseRate->setText(QString::number(m_config.releaseRateEdited(m_releaseRate->text().toInt())));
    });
    auto* rate = new QHBoxLayout;
    rate->addWidget(m_releaseRate);
    rate->addWidget(new QLabel(QStringLiteral("msec (50-300  suggested 80)"), page));
    rate->addStretch(1);
    auto* rateLabel = new QLabel(QStringLiteral("Message Release Rate"), page);
    rateLabel->setToolTip(tip);
    form->addRow(rateLabel, rate);
    m_watchDog = check(QStringLiteral("WatchDogCheck"), tr("Use the watchdog"), nullptr);
    connect(m_watchDog, &QCheckBox::clicked, this, [this](bool on) {
        if (const auto message = m_config.setUseWatchDog(on))
            showMessage(this, BoxKind::Information, *message);
    });
    m_lockPlanview =
        check(QStringLiteral("PlanviewEditCheck"), tr("Lock the plan view against editing"), nullptr);
    connect(m_lockPlanview, &QCheckBox::clicked, this, [this](bool on) { m_config.setLockPlanview(on); });
    form->addRow(m_watchDog);
    form->addRow(m_lockPlanview);
    return page;
}

QWidget* ConfigWindow::commsPage() {
    auto* page = new QWidget;
    m_comOption = new QRadioButton(tr("Serial port"), page);
    m_comOption->setObjectName(QStringLiteral("ComOption"));
    m_tcpOption = new QRadioButton(tr("Server (TCP/IP)"), page);
    m_tcpOption->setObjectName(QStringLiteral("TCPOption"));
    connect(m_comOption, &QRadioButton::toggled, this, &ConfigWindow::applyEnabling);

    auto* serial = new QGroupBox(tr("Serial"), page);
    m_serialGroup = serial;
    auto* serialForm = new QFormLayout(serial);
    m_comPort = combo(serial, QStringLiteral("ComPortCombo"), config::serialPortChoices(canOpenPort));
    auto* portName = new QComboBox(serial);
    portName->setObjectName(QStringLiteral("portnamecombo"));
    portName->setEditable(true);
    portName->addItems(serialDevices());
    m_portName = portName->lineEdit();
    m_portName->setObjectName(QStringLiteral("portname"));
    m_portName->setPlaceholderText(tr("device path, used instead of the port number"));
    m_baud = combo(serial, QStringLiteral("com1baudcombo"), config::baudRateChoices());
    m_dataBits = combo(serial, QStringLiteral("com1databitscombo"), config::dataBitsChoices());
    m_parity = combo(serial, QStringLiteral("com1paritycombo"), config::parityChoices());
    m_stopBits = combo(serial, QStringLiteral("com1stopbitscombo"), config::stopBitsChoices());
    m_usb = check(QStringLiteral("USBCheck"), QStringLiteral("Use USB delay"), nullptr);
    connect(m_usb, &QCheckBox::toggled, this, &ConfigWindow::applyEnabling);
    m_usbDelay = lineEdit(QStringLiteral("USBDelayTextBox"), 60);
    m_usbDelay->setValidator(new QIntValidator(0, 100000, m_usbDelay));
    auto* usb = new QHBoxLayout;
    usb->addWidget(m_usb);
    usb->addWidget(m_usbDelay);
    usb->addWidget(new QLabel(QStringLiteral("msec (1-100  suggested 25)"), serial));
    usb->addStretch(1);
    serialForm->addRow(tr("Port"), m_comPort);
    serialForm->addRow(tr("Device"), portName);
    serialForm->addRow(tr("Baud"), m_baud);
    serialForm->addRow(tr("Data bits"), m_dataBits);
    serialForm->addRow(tr("Parity"), m_parity);
    serialForm->addRow(tr("Stop bits"), m_stopBits);
    serialForm->addRow(usb);

    auto* server = new QGroupBox(tr("Server"), page);
    m_serverGroup = server;
    auto* serverForm = new QFormLayout(server);
    m_server = lineEdit(QStringLiteral("servernametextbox"), 160);
    m_secondary = lineEdit(QStringLiteral("SecondaryServerNameTextbox"), 160);
    for (QLineEdit* box : {m_server, m_secondary}) {
        onLeave(box, [this, box] {
            if (const auto refused = config::ConfigEngine::serverAddressEdited(box->text()))
                showMessage(this, BoxKind::Critical, *refused);
        });
    }
    m_localIP =
        combo(server, QStringLiteral("LocalIPCombo"), config::localAddressChoices(machineAddresses()));
    serverForm->addRow(tr("Primary server"), m_server);
    serverForm->addRow(tr("Secondary server"), m_secondary);
    serverForm->addRow(tr("Local address"), m_localIP);

    auto* layout = new QGridLayout(page);
    layout->addWidget(m_comOption, 0, 0);
    layout->addWidget(m_tcpOption, 0, 1);
    layout->addWidget(serial, 1, 0);
    layout->addWidget(server, 1, 1, Qt::AlignTop);
    layout->setRowStretch(2, 1);
    return page;
}

QWidget* ConfigWindow::areasPage() {
    auto* page = new QWidget;
    m_areas = new QListWidget(page);
    m_areas->setObjectName(QStringLiteral("AreasAllowedListbox"));
    m_areas->setUniformItemSizes(true);
    for (int area = 0; area <= 255; ++area) {
        auto* item = new QListWidgetItem(tr("Area %1").arg(area), m_areas);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    connect(m_areas, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int area = m_areas->row(item);
        const bool allowed = item->checkState() == Qt::Checked;
        if (m_config.areaPermissions().allowed(area) == allowed) return;
        if (!m_config.setAreaAllowed(area, allowed)) {
            const QSignalBlocker quiet(m_areas);
            item->setCheckState(m_config.areaPermissions().allowed(area) ? Qt::Checked : Qt::Unchecked);
        }
    });
    const auto all = [this](bool allowed) {
        m_config.setAllAreasAllowed(allowed);
        const QSignalBlocker quiet(m_areas);
        for (int area = 0; area <= 255; ++area)
            m_areas->item(area)->setCheckState(m_config.areaPermissions().allowed(area) ? Qt::Checked
                                                                                        : Qt::Unchecked);
    };
    auto* selectAll = new QPushButton(tr("select all"), page);
    selectAll->setObjectName(QStringLiteral("SelectAllAreasButton"));
    connect(selectAll, &QPushButton::clicked, this, [all] { all(true); });
    auto* unselectAll = new QPushButton(tr("unselect all"), page);
    unselectAll->setObjectName(QStringLiteral("UnselectAllAreasButton"));
    connect(unselectAll, &QPushButton::clicked, this, [all] { all(false); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(selectAll);
    buttons->addWidget(unselectAll);
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(m_areas, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget* ConfigWindow::mailPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_mailHost = lineEdit(QStringLiteral("mailhost"), 240);
    m_mailHost->setPlaceholderText(tr("empty: no mail"));
    m_mailPort = lineEdit(QStringLiteral("mailport"), 60);
    m_mailPort->setValidator(new QIntValidator(1, 65535, m_mailPort));
    m_mailTls = combo(page, QStringLiteral("mailtls"),
                      {QStringLiteral("none"), QStringLiteral("starttls"), QStringLiteral("tls")});
    m_mailUser = lineEdit(QStringLiteral("mailuser"), 240);
    m_mailPassword = lineEdit(QStringLiteral("mailpassword"), 240);
    m_mailPassword->setEchoMode(QLineEdit::Password);
    m_mailSender = lineEdit(QStringLiteral("mailsender"), 240);
    m_calendar = lineEdit(QStringLiteral("ReminderCalendarPath"));
    m_calendar->setPlaceholderText(tr("an .ics file or a folder of them; empty: no reminders"));
    form->addRow(tr("SMTP server"), m_mailHost);
    form->addRow(tr("Port"), m_mailPort);
    form->addRow(tr("Encryption"), m_mailTls);
    form->addRow(tr("User (empty: no login)"), m_mailUser);
    form->addRow(tr("Password"), m_mailPassword);
    form->addRow(tr("Sender address"), m_mailSender);
    form->addRow(tr("Reminder calendar"), m_calendar);
    return page;
}

QWidget* ConfigWindow::passwordPage() {
    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    m_newPassword = lineEdit(QStringLiteral("NewPWDTextbox"), 200);
    m_confirmPassword = lineEdit(QStringLiteral("ConfirmPWDTextbox"), 200);
    m_newPassword->setEchoMode(QLineEdit::Password);
    m_confirmPassword->setEchoMode(QLineEdit::Password);
    connect(m_newPassword, &QLineEdit::returnPressed, m_confirmPassword,
            [this] { m_confirmPassword->setFocus(); });
    onLeave(m_newPassword, [this] {
        if (const auto refused = config::ConfigEngine::newPasswordEdited(m_newPassword->text())) {
            m_newPassword->clear();
            showMessage(this, BoxKind::Exclamation, *refused);
        }
    });
    form->addRow(tr("New password"), m_newPassword);
    form->addRow(tr("Confirm password"), m_confirmPassword);
    return page;
}

QWidget* ConfigWindow::maintenancePage() {
    auto* page = new QWidget;
    auto* importButton = new QPushButton(tr("Import area and channel names"), page);
    importButton->setObjectName(QStringLiteral("ImportButton"));
    connect(importButton, &QPushButton::clicked, this, [this] {
        if (!askYesNo(this, config::msg::kImportQuestion, config::msg::kImportTitle)) return;
        const config::NameImportResult result = m_config.importNames();
        if (!result.outcome.message.isEmpty())
            showMessage(this, result.outcome.ok ? BoxKind::Information : BoxKind::Critical,
                        result.outcome.message);
    });
    auto* test = new QPushButton(tr("Circuit test"), page);
    test->setObjectName(QStringLiteral("TestButton"));
    m_circuitProgress = new QProgressBar(page);
    m_circuitProgress->setObjectName(QStringLiteral("CircuitTestProgress"));
    m_circuitProgress->setRange(0, config::CircuitFindingTest::kLastArea);
    m_circuitProgress->setValue(0);
    m_circuitCancel = new QPushButton(tr("Cancel test"), page);
    m_circuitCancel->setObjectName(QStringLiteral("CircuitTestCancelButton"));
    m_circuitCancel->setEnabled(false);
    connect(test, &QPushButton::clicked, this, [this] {
        if (!askYesNo(this, config::msg::kCircuitTestQuestion, {}, false, BoxKind::Information)) return;
        if (m_config.startCircuitTest()) m_circuitCancel->setEnabled(true);
    });
    connect(m_circuitCancel, &QPushButton::clicked, this, [this] { m_config.circuitTest().cancel(); });
    auto* layout = new QGridLayout(page);
    layout->addWidget(importButton, 0, 0, 1, 3);
    layout->addWidget(test, 1, 0);
    layout->addWidget(m_circuitProgress, 1, 1);
    layout->addWidget(m_circuitCancel, 1, 2);
    layout->setRowStretch(2, 1);
    return page;
}

void ConfigWindow::restart() {
    const bool needsPassword = m_config.open();
    m_password->clear();
    fill();
    m_tabs->setEnabled(!needsPassword);
    m_passwordFrame->setVisible(needsPassword);
    if (needsPassword) m_password->setFocus();
}

void ConfigWindow::unlock() {
    const store::Outcome outcome = m_config.unlock(m_password->text());
    if (!outcome.ok) {
        m_password->clear();
        showMessage(this, BoxKind::Critical, outcome.message);
        return;
    }
    fill();
}

void ConfigWindow::fill() {
    m_form = m_config.form();
    const store::ConfigSettings& c = m_form.values.config;
    const store::CommsSettings& comms = m_form.values.comms;
    for (const BoolField& field : m_bools) field.box->setChecked(c.*field.member);
    for (const auto& [count, option] : m_buttonVersions) option->setChecked(count == c.buttonversion);
    m_maxMonitor->setText(QString::number(c.MonitorLogMaxRecords));
    m_loadFromMonitor->setText(QString::number(c.LoadFromMonitorLog));
    m_maxSensor->setText(QString::number(c.SensorLogMaxRecords));
    m_lat->setText(QString::number(m_form.latitude.degrees));
    m_northSouth->setCurrentIndex(m_form.latitude.hemisphere == config::NorthSouth::South ? 0 : 1);
    m_long->setText(QString::number(m_form.longitude.degrees));
    m_eastWest->setCurrentIndex(m_form.longitude.hemisphere == config::EastWest::East ? 0 : 1);
    m_timezone->setText(QString::number(c.Timezone));
    m_releaseRate->setText(QString::number(c.releaserate));
    {
        const QSignalBlocker a(m_watchDog), b(m_lockPlanview);
        m_watchDog->setChecked(m_config.useWatchDog());
        m_lockPlanview->setChecked(m_config.lockPlanview());
    }
    m_tcpOption->setChecked(comms.useTCP);
    m_comOption->setChecked(!comms.useTCP);
    for (int i = 0; i < m_comPort->count(); ++i)
        if (config::serialPortFromChoice(m_comPort->itemText(i)) == comms.comport)
            m_comPort->setCurrentIndex(i);
    m_portName->setText(comms.portname);
    selectText(m_baud, comms.baud1);
    selectText(m_dataBits, QString::number(comms.databits1));
    selectText(m_parity, comms.parity1);
    selectText(m_stopBits, comms.stopbits1);
    m_usb->setChecked(comms.USB);
    m_usbDelay->setText(QString::number(comms.usbdelay));
    m_server->setText(comms.hostname);
    m_secondary->setText(comms.secondaryhostname);
    if (m_localIP->findText(m_form.localIP) < 0 && !m_form.localIP.isEmpty())
        m_localIP->addItem(m_form.localIP);
    m_localIP->setCurrentText(m_form.localIP.isEmpty() ? m_localIP->itemText(0) : m_form.localIP);
    {
        const QSignalBlocker quiet(m_areas);
        for (int area = 0; area <= 255; ++area)
            m_areas->item(area)->setCheckState(m_config.areaPermissions().allowed(area) ? Qt::Checked
                                                                                        : Qt::Unchecked);
    }
    m_areas->setEnabled(m_config.areaPermissions().available());
    m_mailHost->setText(c.mailhost);
    m_mailPort->setText(QString::number(c.mailport));
    selectText(m_mailTls, c.mailtls);
    m_mailUser->setText(c.mailuser);
    m_mailPassword->setText(c.mailpassword);
    m_mailSender->setText(c.mailsender);
    m_calendar->setText(c.ReminderCalendarPath);
    m_newPassword->clear();
    m_confirmPassword->clear();
    applyEnabling();
}

config::ConfigForm ConfigWindow::collect() const {
    config::ConfigForm form = m_form;
    store::ConfigSettings& c = form.values.config;
    store::CommsSettings& comms = form.values.comms;
    for (const BoolField& field : m_bools) c.*field.member = field.box->isChecked();
    for (const auto& [count, option] : m_buttonVersions)
        if (option->isChecked()) c.buttonversion = count;
    c.MonitorLogMaxRecords = m_maxMonitor->text().toInt();
    c.LoadFromMonitorLog = config::ConfigEngine::loadFromMonitorLogEdited(m_loadFromMonitor->text().toInt());
    c.SensorLogMaxRecords = m_maxSensor->text().toInt();
    form.latitude = {m_lat->text().toDouble(), m_northSouth->currentIndex() == 0 ? config::NorthSouth::South
                                                                                 : config::NorthSouth::North};
    form.longitude = {m_long->text().toDouble(),
                      m_eastWest->currentIndex() == 0 ? config::EastWest::East : config::EastWest::West};
    c.Timezone = m_timezone->text().toDouble();
    c.releaserate = m_releaseRate->text().toInt();
    comms.useTCP = m_tcpOption->isChecked();
    comms.comport = config::serialPortFromChoice(m_comPort->currentText());
    comms.portname = m_portName->text().trimmed();
    comms.baud1 = m_baud->currentText();
    comms.databits1 = m_dataBits->currentText().toInt();
    comms.parity1 = m_parity->currentText();
    comms.stopbits1 = m_stopBits->currentText();
    comms.USB = m_usb->isChecked();
    comms.usbdelay = m_usbDelay->text().toInt();
    comms.hostname = m_server->text();
    comms.secondaryhostname = m_secondary->text();
    form.localIP = m_localIP->currentText();
    c.mailhost = m_mailHost->text().trimmed();
    c.mailport = m_mailPort->text().toInt();
    c.mailtls = m_mailTls->currentText();
    c.mailuser = m_mailUser->text().trimmed();
    c.mailpassword = m_mailPassword->text();
    c.mailsender = m_mailSender->text().trimmed();
    c.ReminderCalendarPath = m_calendar->text().trimmed();
    form.newPassword = m_newPassword->text();
    form.confirmPassword = m_confirmPassword->text();
    return form;
}

void ConfigWindow::applyEnabling() {
    const bool serial = m_comOption->isChecked();
    m_serialGroup->setEnabled(serial);
    m_serverGroup->setEnabled(!serial);
    m_usbDelay->setEnabled(m_usb->isChecked());
    const bool monitorLog = findChild<QCheckBox*>(QStringLiteral("EnableMonitorLogCheck"))->isChecked();
    m_maxMonitor->setEnabled(monitorLog);
    m_resetMonitor->setEnabled(monitorLog);
}

void ConfigWindow::ok() {
    const store::Outcome outcome = m_config.accept(collect());
    if (!outcome.ok) {
        showMessage(this, BoxKind::Critical, outcome.message);
        return;
    }
    // The engine shows "Quorvel needs to be restarted" and restarts the program.
    hide();
}

void ConfigWindow::cancel() {
    m_config.cancel();
    hide();
}

void ConfigWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    cancel();
}

}  // namespace qv::ui
