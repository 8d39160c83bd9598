#pragma once
// Which functions of the main window the user may open, and its button
// layout. SetPermissions fills the model from the settings; the windows read
// it and follow its changed() signal (menu commands, toolbar buttons, the
// button panel).

#include "store/settings_loaders.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace qv::config {

// The functions behind the permission switches of Config.
enum class Function {
    AreaNames,      // areanames: the area, preset and channel names editor
    LightLevels,    // lightlevels: the light-levels window
    Events,         // events: the events editor
    Scheduler,      // scheduler
    Email,          // email: the e-mail editor
    CustomCode,     // customcode: the custom-code editor
    DdeLink,        // ddeability
    Corvalin,       // corvalin: the light-box editors
    RollCall,       // rollcall
    Macros,         // macros: the macro editor
    DirectControl,  // directcontrol
    PlanView,       // plan
    Monitor,        // monitor
    SensorLog,      // sensorlog: the light-sensor windows
    MacrosRunning,  // macrosrunning: the running-macros window
};
inline constexpr int kFunctionCount = 15;

struct Permissions {
    bool allowed[kFunctionCount] = {};
    int buttonVersion = 8;

    bool allows(Function f) const { return allowed[static_cast<int>(f)]; }
    bool operator==(const Permissions& other) const;
};

Permissions permissionsFrom(const store::ConfigSettings& config);

// The six toolbar buttons that follow a permission, by their keys:
// "LightLevels", "Scheduler", "Macros", "DirectControl", "PlanView", "Monitor".
QStringList toolbarKeys();
// The function behind a toolbar key; false when the key has none.
bool functionOfToolbarKey(const QString& key, Function* function);

class PermissionModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool areanames READ areanames NOTIFY changed)
    Q_PROPERTY(bool lightlevels READ lightlevels NOTIFY changed)
    Q_PROPERTY(bool events READ events NOTIFY changed)
    Q_PROPERTY(bool scheduler READ scheduler NOTIFY changed)
    Q_PROPERTY(bool email READ email NOTIFY changed)
    Q_PROPERTY(bool customcode READ customcode NOTIFY changed)
    Q_PROPERTY(bool ddeability READ ddeability NOTIFY changed)
    Q_PROPERTY(bool corvalin READ corvalin NOTIFY changed)
    Q_PROPERTY(bool rollcall READ rollcall NOTIFY changed)
    Q_PROPERTY(bool macros READ macros NOTIFY changed)
    Q_PROPERTY(bool directcontrol READ directcontrol NOTIFY changed)
    Q_PROPERTY(bool plan READ plan NOTIFY changed)
    Q_PROPERTY(bool monitor READ monitor NOTIFY changed)
    Q_PROPERTY(bool sensorlog READ sensorlog NOTIFY changed)
    Q_PROPERTY(bool macrosrunning READ macrosrunning NOTIFY changed)
    Q_PROPERTY(int buttonversion READ buttonversion NOTIFY changed)
public:
    // Until SetPermissions runs nothing is allowed, so no window opens on
    // settings that were never read.
    explicit PermissionModel(QObject* parent = nullptr);

    const Permissions& current() const { return m_current; }
    bool allows(Function f) const { return m_current.allows(f); }
    // Whether the toolbar button with this key is enabled; keys without a
    // permission are always enabled.
    bool toolbarButtonEnabled(const QString& key) const;

    // Emits changed() only when something differs.
    void set(const Permissions& permissions);

    bool areanames() const { return allows(Function::AreaNames); }
    bool lightlevels() const { return allows(Function::LightLevels); }
    bool events() const { return allows(Function::Events); }
    bool scheduler() const { return allows(Function::Scheduler); }
    bool email() const { return allows(Function::Email); }
    bool customcode() const { return allows(Function::CustomCode); }
    bool ddeability() const { return allows(Function::DdeLink); }
    bool corvalin() const { return allows(Function::Corvalin); }
    bool rollcall() const { return allows(Function::RollCall); }
    bool macros() const { return allows(Function::Macros); }
    bool directcontrol() const { return allows(Function::DirectControl); }
    bool plan() const { return allows(Function::PlanView); }
    bool monitor() const { return allows(Function::Monitor); }
    bool sensorlog() const { return allows(Function::SensorLog); }
    bool macrosrunning() const { return allows(Function::MacrosRunning); }
    int buttonversion() const { return m_current.buttonVersion; }

signals:
    void changed();

private:
    Permissions m_current;
};

}  // namespace qv::config
