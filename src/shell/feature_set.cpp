#include "shell/feature_set.h"

#include "comms/monitor_writer.h"
#include "features/devices/channel_requests.h"
#include "features/devices/energy_recorder.h"
#include "features/devices/roll_call.h"
#include "features/devices/sensor_log_writer.h"
#include "features/devices/sensor_logging.h"
#include "features/plan/plan_feed.h"
#include "features/reactions/button_panel.h"
#include "features/reactions/direct_control.h"
#include "features/reactions/events.h"
#include "features/reactions/floating_preset.h"
#include "features/reactions/light_levels.h"
#include "macros/mail_message.h"
#include "macros/smtp_mailer.h"

#include <QFile>
#include <QFileInfo>

namespace qv::shell {

namespace {

reactions::LightLevels::Intervals lightLevelIntervals(const FeatureDeps& d) {
    reactions::LightLevels::Intervals intervals;
    if (d.channelSeekStepMs > 0) intervals.seekStepMs = d.channelSeekStepMs;
    return intervals;
}

}  // namespace

FeatureSet::FeatureSet(FeatureDeps d)
    : m_events(std::make_unique<reactions::Events>(d.main, d.runner, d.monitor, d.clock)),
      m_buttons(std::make_unique<reactions::ButtonPanel>(d.main, d.runner, d.areaState, d.monitor, d.clock,
                                                         d.sendRS232, d.config.buttonversion)),
      m_directControl(std::make_unique<reactions::DirectControl>(
          d.main, d.areaState, d.names, d.monitor, d.clock, d.runner, d.sendRS232, d.enableMacro)),
      m_lightLevels(std::make_unique<reactions::LightLevels>(d.main, d.areaState, d.monitor, d.clock,
                                                             d.sendRS232, lightLevelIntervals(d))),
      m_floatingPreset(std::make_unique<reactions::FloatingPreset>(
          d.main, d.areaState, d.names, d.clock, d.sendRS232, reactions::FloatingPreset::Intervals{})),
      m_sensorLog(std::make_unique<devices::SensorLogWriter>(d.paths.sensorLog(), d.monitor, d.clock)),
      m_sensors(std::make_unique<devices::SensorLogging>(d.main, *m_sensorLog, d.areaState, d.monitor,
                                                         d.clock, d.sendRS232)),
      m_rollCalls(std::make_unique<devices::RollCallRunner>(d.main, d.paths, d.monitor, d.clock, d.sendRS232,
                                                            d.runner, rollCallMailer(d))),
      m_channelRequests(std::make_unique<devices::ChannelRequestQueue>(d.clock, d.sendRS232)),
      m_energy(std::make_unique<devices::EnergyRecorder>(d.main, *m_channelRequests, d.monitor, d.clock)),
      m_plan(std::make_unique<plan::PlanFeed>(d.main, d.monitor, d.clock)),
      m_clock(d.clock) {
    m_sensors->setLoggingEnabled(d.config.enablesensorlog);
    m_energy->setEnabled(d.config.enableenergyusage);
    m_lightLevels->setPermissions({d.config.UserCanSaveLightingPresets, d.config.UserCanSeekchannels});
}

std::function<void(const QString&, const QString&, const QString&, const QString&)>
FeatureSet::rollCallMailer(const FeatureDeps& d) {
    const comms::MonitorWriter monitor(d.monitor, d.clock);
    macros::SmtpMailer* mailer = &d.mailer;
    return [monitor, mailer](const QString& recipients, const QString& subject, const QString& body,
                             const QString& attachmentPath) {
        macros::MailMessage message;
        message.to = macros::recipientAddresses(recipients);
        message.toHeader = recipients;
        message.subject = subject;
        message.body = body;
        QFile file(attachmentPath);
        if (!attachmentPath.isEmpty() && file.open(QIODevice::ReadOnly))
            message.attachments.append({QFileInfo(attachmentPath).fileName(), file.readAll()});
        mailer->send(message, [monitor, subject](const QString& error) {
            if (error.isEmpty()) return;
            monitor.error(QStringLiteral("The roll-call e-mail \"%1\" was not sent: %2").arg(subject, error));
        });
    };
}

FeatureSet::~FeatureSet() = default;

void FeatureSet::registerReactions(comms::InBox& inbox) {
    inbox.addReactions(m_events.get());
    inbox.addReactions(m_buttons.get());
    inbox.addReactions(m_lightLevels.get());
    inbox.addReactions(m_floatingPreset.get());
    inbox.addReactions(m_sensors.get());
    inbox.addReactions(m_rollCalls.get());
    inbox.addReactions(m_energy.get());
    inbox.addReactions(m_plan.get());
}

void FeatureSet::GetSensorstoLog() {
    m_sensors->GetSensorstoLog();
}

void FeatureSet::stop() {
    m_sensors->stop();
    m_rollCalls->stop();
    m_channelRequests->stop();
    m_sensorLog->close();
}

void FeatureSet::GetButtonLabels() {
    m_buttons->GetButtonLabels();
}
void FeatureSet::GetButtonChanges() {
    m_buttons->GetButtonChanges();
}
void FeatureSet::GetAreaPresetEvents() {
    m_events->GetAreaPresetEvents();
}
void FeatureSet::GetCustomCodeEvents() {
    m_events->GetCustomCodeEvents();
}

void FeatureSet::GetIndicatorChanges() {
    m_plan->GetIndicatorChanges();
}

}  // namespace qv::shell
