#pragma once
// The configuration engine: the program's settings (loaded once from the
// Config and Comms rows), the permission model, the password gate of the
// configuration window, the immediate changes of that window and its OK,
// and the maintenance commands (sensor-log reset, name import, circuit test).
//
// It never opens a window. Questions, messages and restarts come back as
// results and signals; the window asks the user and calls back.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "net/message.h"
#include "shell/config/area_send_permissions.h"
#include "shell/config/circuit_test.h"
#include "shell/config/name_import.h"
#include "shell/config/permissions.h"
#include "shell/config/position.h"
#include "shell/config/settings.h"
#include "store/data_paths.h"
#include "store/monitor_record.h"
#include "store/outcome.h"

#include <QObject>
#include <QSettings>
#include <array>
#include <functional>
#include <optional>

namespace qv::store {
class Database;
}

namespace qv::config {

struct ConfigDeps {
    store::Database& main;   // the main database, open for the whole run
    store::DataPaths paths;  // the sensor log, winrights.db and the name sheet live here
    store::MonitorSink& monitor;
    const qv::Clock& clock;
    QSettings& userSettings;                                // per-user settings, section "Client"
    std::function<void(const net::RawMessage&)> sendRS232;  // for the circuit-finding test
    int circuitTestIntervalMs = CircuitFindingTest::kDefaultIntervalMs;
};

// What the configuration window edits: a copy of the settings and the fields
// that are not settings. OK takes the position from latitude and longitude,
// not from values.config.Latitude/Longitude.
struct ConfigForm {
    Settings values;
    Latitude latitude;
    Longitude longitude;
    QString newPassword;  // empty: keep the stored password
    QString confirmPassword;
    QString localIP;  // QVTCPIPLocalIP
};

class ConfigEngine : public QObject {
    Q_OBJECT
public:
    enum class DialogState { Hidden, Locked, Unlocked };
    Q_ENUM(DialogState)

    explicit ConfigEngine(ConfigDeps deps, QObject* parent = nullptr);

    // Reads the settings and the area permissions; later calls do nothing.
    // Connect releaseRateChanged and doNotSendChanged first: both are emitted
    // with what was read. A table that cannot be read leaves the initial
    // settings in force (with an error record) and OK refuses to overwrite it.
    void load();
    bool isLoaded() const { return m_loaded; }
    // The program's settings; loads them on first use.
    const Settings& settings();

    // Fills the permission model from the settings.
    void SetPermissions();
    PermissionModel& permissions() { return m_permissions; }
    const AreaSendPermissions& areaPermissions() const { return m_areas; }
    CircuitFindingTest& circuitTest() { return m_circuitTest; }

    // The configuration window ------------------------------------------------
    DialogState state() const { return m_state; }
    // Shows the password frame. Returns whether a password must be typed;
    // when none is stored the tabs are unlocked at once.
    bool open();
    // The password frame's OK: msg::kPasswordIncorrect when it does not match.
    store::Outcome unlock(const QString& typed);
    // Cancel: nothing is stored beyond the changes that act at once.
    void cancel();
    // The values the window starts from.
    ConfigForm form();
    // OK: validates, stores, applies the permissions and asks for the restart.
    // A validation message leaves the window open (state stays Unlocked).
    store::Outcome accept(const ConfigForm& form);

    // Changes that act at once. Each needs the window unlocked; otherwise it
    // changes nothing.
    // The release-rate box was left: the value limited to 50..300, which the
    // out box uses from now on.
    int releaseRateEdited(int typedMs);
    bool setAreaAllowed(int area, bool allowed);
    bool setAllAreasAllowed(bool allowed);
    // Returns the message to show (msg::kWatchDogRestart).
    std::optional<QString> setUseWatchDog(bool on);
    bool setLockPlanview(bool on);
    // Ticking loads the DDE window, clearing it unloads it (ddeLinkRequested).
    bool setDdeAbility(bool on);
    store::Outcome resetSensorLog();  // after msg::kSensorLogResetQuestion was answered Yes
    NameImportResult importNames();   // after msg::kImportQuestion was answered Yes
    bool startCircuitTest();          // after msg::kCircuitTestQuestion was answered Yes

    // Per-user settings.
    bool useWatchDog() const;
    // The monitor window's ShowAllMacroActivityCheck, kept per user: every
    // macro line run gets a "System" record. Needs no unlocked window.
    bool showAllMacroActivity() const;
    void setShowAllMacroActivity(bool on);
    bool lockPlanview() const;
    QString localIP() const;

    // Checks of single boxes, for the window to call when a box loses focus.
    static int loadFromMonitorLogEdited(int typed);
    // The message to show (the box is then cleared), or nothing.
    static std::optional<QString> newPasswordEdited(const QString& text);
    static std::optional<QString> serverAddressEdited(const QString& text);

signals:
    void releaseRateChanged(int ms);
    void doNotSendChanged(const std::array<bool, 256>& doNotSend);
    void ddeLinkRequested(bool on);
    // The area or channel names changed: fill the name tables again.
    void namesChanged();
    // OK stored new comms settings: open the link again with them.
    void commsSettingsChanged(const qv::store::CommsSettings& comms);
    // OK is done: show the message, then shut the program down.
    void restartRequested(const QString& message);
    void stateChanged(qv::config::ConfigEngine::DialogState state);
    void showAllMacroActivityChanged(bool on);

private:
    bool unlocked() const { return m_state == DialogState::Unlocked; }
    void setState(DialogState state);

    ConfigDeps m_deps;
    comms::MonitorWriter m_monitorWriter{m_deps.monitor, m_deps.clock};
    Settings m_settings;
    bool m_loaded = false;
    bool m_loadFailed = false;
    DialogState m_state = DialogState::Hidden;
    PermissionModel m_permissions;
    AreaSendPermissions m_areas;
    CircuitFindingTest m_circuitTest;
};

}  // namespace qv::config
