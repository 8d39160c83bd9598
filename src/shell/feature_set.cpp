#include "shell/feature_set.h"

#include "features/reactions/button_panel.h"
#include "features/reactions/direct_control.h"
#include "features/reactions/events.h"
#include "features/reactions/floating_preset.h"
#include "features/reactions/light_levels.h"

namespace qv::shell {

FeatureSet::FeatureSet(FeatureDeps d)
    : m_events(std::make_unique<reactions::Events>(d.main, d.runner, d.monitor, d.clock)),
      m_buttons(std::make_unique<reactions::ButtonPanel>(d.main, d.runner, d.areaState, d.monitor, d.clock,
                                                         d.sendRS232, d.buttonversion)),
      m_directControl(std::make_unique<reactions::DirectControl>(d.main, d.areaState, d.names, d.monitor, d.clock,
                                                                 d.runner, d.sendRS232, d.enableMacro)),
      m_lightLevels(std::make_unique<reactions::LightLevels>(d.main, d.areaState, d.monitor, d.clock, d.sendRS232,
                                                             reactions::LightLevels::Intervals{})),
      m_floatingPreset(std::make_unique<reactions::FloatingPreset>(d.main, d.areaState, d.names, d.sendRS232,
                                                                   reactions::FloatingPreset::Intervals{})) {}

FeatureSet::~FeatureSet() = default;

void FeatureSet::registerReactions(comms::InBox& inbox) {
    inbox.addReactions(m_events.get());
    inbox.addReactions(m_buttons.get());
    inbox.addReactions(m_lightLevels.get());
    inbox.addReactions(m_floatingPreset.get());
}

void FeatureSet::GetButtonLabels() { m_buttons->GetButtonLabels(); }
void FeatureSet::GetButtonChanges() { m_buttons->GetButtonChanges(); }
void FeatureSet::GetAreaPresetEvents() { m_events->GetAreaPresetEvents(); }
void FeatureSet::GetCustomCodeEvents() { m_events->GetCustomCodeEvents(); }

}  // namespace qv::shell
