#pragma once
// The reactions and devices the engine runs: events, buttons, direct
// control and light levels. Built once the main database, the macro engine
// and the configuration are there; they live as long as the in box, which
// keeps calling them.

#include "clock/clock.h"
#include "comms/in_box.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "net/labels.h"
#include "net/message.h"
#include "store/store.h"

#include <functional>
#include <memory>

namespace qv::reactions {
class Events;
class ButtonPanel;
class DirectControl;
class LightLevels;
class FloatingPreset;
}  // namespace qv::reactions
namespace qv::devices {
class SensorLogWriter;
class SensorLogging;
class RollCallRunner;
class ChannelRequestQueue;
class EnergyRecorder;
}  // namespace qv::devices
namespace qv::macros {
class SmtpMailer;
}
namespace qv::plan {
class PlanFeed;
}

namespace qv::shell {

struct FeatureDeps {
    store::Database& main;
    macros::MacroRunner& runner;
    net::AreaState& areaState;
    const net::NameTables& names;
    store::MonitorSink& monitor;
    const qv::Clock& clock;
    std::function<void(const net::RawMessage&)> sendRS232;
    std::function<void(const QString&, bool)> enableMacro;
    store::DataPaths paths;
    const store::ConfigSettings& config;
    macros::SmtpMailer& mailer;  // the roll-call report goes out through it
    int channelSeekStepMs = 0;   // 0: the light levels' own step
};

class FeatureSet {
public:
    explicit FeatureSet(FeatureDeps deps);
    ~FeatureSet();

    void registerReactions(comms::InBox& inbox);

    // The start-up loaders, in the order the load sequence calls them.
    void GetButtonLabels();
    void GetButtonChanges();
    void GetAreaPresetEvents();
    void GetCustomCodeEvents();
    void GetSensorstoLog();
    void GetIndicatorChanges();

    // Stops the polling timers and closes the sensor log.
    void stop();

    reactions::Events& events() { return *m_events; }
    reactions::ButtonPanel& buttons() { return *m_buttons; }
    reactions::DirectControl& directControl() { return *m_directControl; }
    reactions::LightLevels& lightLevels() { return *m_lightLevels; }
    reactions::FloatingPreset& floatingPreset() { return *m_floatingPreset; }
    devices::SensorLogging& sensors() { return *m_sensors; }
    devices::RollCallRunner& rollCalls() { return *m_rollCalls; }
    plan::PlanFeed& plan() { return *m_plan; }
    // What the sensor windows need beside the polling: the sensor log the
    // editors write to and the clock whose timers a properties refresh waits on.
    devices::SensorLogWriter& sensorLog() { return *m_sensorLog; }
    const qv::Clock& clock() const { return m_clock; }

private:
    static std::function<void(const QString&, const QString&, const QString&, const QString&)> rollCallMailer(
        const FeatureDeps& deps);

    std::unique_ptr<reactions::Events> m_events;
    std::unique_ptr<reactions::ButtonPanel> m_buttons;
    std::unique_ptr<reactions::DirectControl> m_directControl;
    std::unique_ptr<reactions::LightLevels> m_lightLevels;
    std::unique_ptr<reactions::FloatingPreset> m_floatingPreset;
    std::unique_ptr<devices::SensorLogWriter> m_sensorLog;
    std::unique_ptr<devices::SensorLogging> m_sensors;
    std::unique_ptr<devices::RollCallRunner> m_rollCalls;
    std::unique_ptr<devices::ChannelRequestQueue> m_channelRequests;
    std::unique_ptr<devices::EnergyRecorder> m_energy;
    std::unique_ptr<plan::PlanFeed> m_plan;
    const qv::Clock& m_clock;
};

}  // namespace qv::shell
