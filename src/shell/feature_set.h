#pragma once
// The reactions and devices the engine runs: events, buttons, direct
// control and light levels. Built once the main database, the macro engine
// and the configuration are there; they live as long as the in box, which
// keeps calling them.

#include "comms/clock.h"
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

namespace qv::shell {

struct FeatureDeps {
    store::Database& main;
    macros::MacroRunner& runner;
    net::AreaState& areaState;
    const net::NameTables& names;
    store::MonitorSink& monitor;
    const comms::Clock& clock;
    std::function<void(const net::RawMessage&)> sendRS232;
    std::function<void(const QString&, bool)> enableMacro;
    int buttonversion = 8;
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

    reactions::Events& events() { return *m_events; }
    reactions::ButtonPanel& buttons() { return *m_buttons; }
    reactions::DirectControl& directControl() { return *m_directControl; }
    reactions::LightLevels& lightLevels() { return *m_lightLevels; }
    reactions::FloatingPreset& floatingPreset() { return *m_floatingPreset; }

private:
    std::unique_ptr<reactions::Events> m_events;
    std::unique_ptr<reactions::ButtonPanel> m_buttons;
    std::unique_ptr<reactions::DirectControl> m_directControl;
    std::unique_ptr<reactions::LightLevels> m_lightLevels;
    std::unique_ptr<reactions::FloatingPreset> m_floatingPreset;
};

}  // namespace qv::shell
