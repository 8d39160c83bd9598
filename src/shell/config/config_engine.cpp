#include "shell/config/config_engine.h"

#include "shell/config/choice_lists.h"
#include "shell/config/limits.h"
#include "shell/config/logging.h"
#include "shell/config/messages.h"
#include "shell/config/password.h"
#include "shell/config/sensor_log_reset.h"
#include "shell/config/settings_writer.h"
#include "store/database.h"
#include "store/store_error.h"

#include <stdexcept>
#include <utility>

namespace qv::config {

namespace {

const QString kUseWatchDogKey = QStringLiteral("Client/useWatchDog");
const QString kLockPlanviewKey = QStringLiteral("Client/LockPlanview");
const QString kLocalIPKey = QStringLiteral("Client/QVTCPIPLocalIP");
const QString kShowAllMacroActivityKey = QStringLiteral("Client/ShowAllMacroActivityCheck");

bool userFlag(const QSettings& settings, const QString& key) {
    const QString text = settings.value(key).toString().trimmed();
    return text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
           text == QLatin1String("-1");
}

}  // namespace

ConfigEngine::ConfigEngine(ConfigDeps deps, QObject* parent)
    : QObject(parent),
      m_deps(std::move(deps)),
      m_settings(initialSettings()),
      m_permissions(this),
      m_areas(m_deps.paths.winrights(), m_deps.monitor, m_deps.clock, this),
      m_circuitTest(m_deps.sendRS232, m_deps.monitor, m_deps.clock, m_deps.circuitTestIntervalMs, this) {
    connect(&m_areas, &AreaSendPermissions::doNotSendChanged, this, &ConfigEngine::doNotSendChanged);
}

void ConfigEngine::load() {
    if (m_loaded) return;
    m_loaded = true;
    try {
        const LoadedSettings loaded = loadSettings(m_deps.main);
        m_settings = loaded.settings;
        for (const QString& change : loaded.adjustments) m_monitorWriter.warning(change);
    } catch (const store::StoreError& e) {
        m_loadFailed = true;
        m_settings = initialSettings();
        m_monitorWriter.error(
            QStringLiteral("The configuration could not be read; the initial settings are used "
                           "and the configuration can not be saved until restart: %1")
                .arg(QString::fromUtf8(e.what())));
    }
    emit releaseRateChanged(m_settings.config.releaserate);
    m_areas.load();
}

const Settings& ConfigEngine::settings() {
    load();
    return m_settings;
}

void ConfigEngine::SetPermissions() {
    load();
    m_permissions.set(permissionsFrom(m_settings.config));
}

void ConfigEngine::setState(DialogState state) {
    if (state == m_state) return;
    m_state = state;
    emit stateChanged(state);
}

bool ConfigEngine::open() {
    load();
    setState(DialogState::Locked);
    bool required = true;
    try {
        required = passwordRequired(readStoredPasswords(m_deps.main));
    } catch (const store::StoreError& e) {
        // Unreadable: keep the frame up rather than open the tabs to anyone.
        m_monitorWriter.error(QStringLiteral("The configuration password could not be read: %1")
                                  .arg(QString::fromUtf8(e.what())));
    }
    if (!required) setState(DialogState::Unlocked);
    return required;
}

store::Outcome ConfigEngine::unlock(const QString& typed) {
    load();
    try {
        if (passwordAccepted(readStoredPasswords(m_deps.main), typed)) {
            setState(DialogState::Unlocked);
            return store::Outcome::done();
        }
    } catch (const std::exception& e) {
        m_monitorWriter.error(QStringLiteral("The configuration password could not be checked: %1")
                                  .arg(QString::fromUtf8(e.what())));
    }
    setState(DialogState::Locked);
    return store::Outcome::refused(msg::kPasswordIncorrect);
}

void ConfigEngine::cancel() {
    setState(DialogState::Hidden);
}

ConfigForm ConfigEngine::form() {
    load();
    ConfigForm form;
    form.values = m_settings;
    form.latitude = latitudeField(m_settings.config.Latitude);
    form.longitude = longitudeField(m_settings.config.Longitude);
    form.localIP = localIP();
    return form;
}

store::Outcome ConfigEngine::accept(const ConfigForm& form) {
    load();
    if (!unlocked()) return store::Outcome::refused(msg::kLocked);
    if (form.newPassword != form.confirmPassword) return store::Outcome::refused(msg::kPasswordNotConfirmed);
    if (const auto refused = checkNewPassword(form.newPassword)) return store::Outcome::refused(*refused);
    const store::CommsSettings& comms = form.values.comms;
    if (comms.useTCP && comms.hostname.trimmed().isEmpty())
        return store::Outcome::refused(msg::kServerNeeded);
    if (!comms.useTCP && (comms.comport < 1 || comms.comport > kSerialPortCount) &&
        comms.portname.trimmed().isEmpty())
        return store::Outcome::refused(msg::kComPortNeeded);
    if (m_loadFailed)
        return store::Outcome::refused(
            QStringLiteral("The configuration could not be read at start-up, so it is not saved "
                           "over the stored one"));

    Settings next = form.values;
    next.config.Latitude = storedLatitude(form.latitude);
    next.config.Longitude = storedLongitude(form.longitude);
    next.comms.hostname = next.comms.hostname.trimmed();
    next.comms.secondaryhostname = next.comms.secondaryhostname.trimmed();
    applyLimits(next);

    try {
        std::optional<QString> hash;
        if (!form.newPassword.isEmpty()) hash = hashPassword(form.newPassword);
        storeSettings(m_deps.main, next, hash, ExtraFields::MailAndDevice);
    } catch (const std::exception& e) {
        const QString why = QStringLiteral("The configuration could not be saved, nothing was changed: %1")
                                .arg(QString::fromUtf8(e.what()));
        m_monitorWriter.error(why);
        return store::Outcome::refused(why);
    }
    m_deps.userSettings.setValue(kLocalIPKey, form.localIP);

    const bool rateChanged = next.config.releaserate != m_settings.config.releaserate;
    m_settings = next;
    m_monitorWriter.system(QStringLiteral("The configuration was saved"));
    SetPermissions();
    if (rateChanged) emit releaseRateChanged(m_settings.config.releaserate);
    emit commsSettingsChanged(m_settings.comms);
    setState(DialogState::Hidden);
    emit restartRequested(msg::kRestartNeeded);
    return store::Outcome::done(msg::kRestartNeeded);
}

int ConfigEngine::releaseRateEdited(int typedMs) {
    load();
    if (!unlocked()) return m_settings.config.releaserate;
    const int limited = limitReleaseRate(typedMs);
    if (limited != m_settings.config.releaserate) {
        m_settings.config.releaserate = limited;
        emit releaseRateChanged(limited);
    }
    return limited;
}

bool ConfigEngine::setAreaAllowed(int area, bool allowed) {
    load();
    return unlocked() && m_areas.setAllowed(area, allowed);
}

bool ConfigEngine::setAllAreasAllowed(bool allowed) {
    load();
    return unlocked() && m_areas.setAllAllowed(allowed);
}

std::optional<QString> ConfigEngine::setUseWatchDog(bool on) {
    if (!unlocked()) return std::nullopt;
    if (on == useWatchDog()) return std::nullopt;
    m_deps.userSettings.setValue(kUseWatchDogKey, on ? 1 : 0);
    return msg::kWatchDogRestart;
}

bool ConfigEngine::setLockPlanview(bool on) {
    if (!unlocked()) return false;
    m_deps.userSettings.setValue(kLockPlanviewKey, on ? 1 : 0);
    return true;
}

bool ConfigEngine::setDdeAbility(bool on) {
    if (!unlocked()) return false;
    emit ddeLinkRequested(on);
    return true;
}

store::Outcome ConfigEngine::resetSensorLog() {
    if (!unlocked()) return store::Outcome::refused(msg::kLocked);
    const store::Outcome outcome = config::resetSensorLog(m_deps.paths.sensorLog());
    m_monitorWriter.write(outcome.ok ? store::MonitorType::System : store::MonitorType::Error,
                          outcome.message);
    return outcome;
}

NameImportResult ConfigEngine::importNames() {
    if (!unlocked()) return {store::Outcome::refused(msg::kLocked), 0, 0, {}};
    NameImportResult result = importAreaChannelNames(m_deps.main, m_deps.paths.dir);
    for (const QString& skipped : result.skipped) m_monitorWriter.warning(skipped);
    if (!result.outcome.ok) {
        m_monitorWriter.warning(result.outcome.message);
        return result;
    }
    m_monitorWriter.system(QStringLiteral("Area and channel names imported: %1 area names, %2 channel names")
                               .arg(result.areasNamed)
                               .arg(result.channelsNamed));
    emit namesChanged();
    return result;
}

bool ConfigEngine::startCircuitTest() {
    if (!unlocked()) return false;
    if (!m_deps.sendRS232) {
        qCWarning(lcConfig) << "circuit-finding test asked for without a sender";
        return false;
    }
    return m_circuitTest.start();
}

bool ConfigEngine::useWatchDog() const {
    return userFlag(m_deps.userSettings, kUseWatchDogKey);
}

bool ConfigEngine::showAllMacroActivity() const {
    return userFlag(m_deps.userSettings, kShowAllMacroActivityKey);
}

void ConfigEngine::setShowAllMacroActivity(bool on) {
    m_deps.userSettings.setValue(kShowAllMacroActivityKey, on);
    emit showAllMacroActivityChanged(on);
}

bool ConfigEngine::lockPlanview() const {
    return userFlag(m_deps.userSettings, kLockPlanviewKey);
}

QString ConfigEngine::localIP() const {
    return m_deps.userSettings.value(kLocalIPKey).toString();
}

int ConfigEngine::loadFromMonitorLogEdited(int typed) {
    return limitLoadFromMonitorLog(typed);
}

std::optional<QString> ConfigEngine::newPasswordEdited(const QString& text) {
    return checkNewPassword(text);
}

std::optional<QString> ConfigEngine::serverAddressEdited(const QString& text) {
    if (text.trimmed().isEmpty() || CheckValidIPQuad(text.trimmed())) return std::nullopt;
    return msg::kInvalidIPNumber;
}

}  // namespace qv::config
