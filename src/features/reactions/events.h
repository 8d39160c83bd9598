#pragma once
// Area/preset and custom-code events: something heard on the network puts a
// macro on the cue. The in box calls presetHeard and customCodeHeard for
// every line it decodes; the two loaders fill the look-ups from the Events
// table at start-up and after every change in the events window.
//
// A loader builds its new table aside and swaps it in only when the whole
// read succeeded, so a damaged database leaves the events that were running.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "comms/monitor_writer.h"
#include "features/reactions/event_tables.h"
#include "macros/macro_runner.h"
#include "store/monitor_record.h"

#include <QString>

namespace qv::store {
class Database;
}

namespace qv::reactions {

class Events : public comms::DecodeReactions {
public:
    Events(store::Database& db, macros::MacroRunner& runner, store::MonitorSink& monitor,
           const qv::Clock& clock);

    // Rows with an area outside 0..255 or a preset outside 1..255 are skipped
    // with a warning: preset 0 is what every line without a preset carries, so
    // an event there would fire on nearly everything heard. When two events
    // share an area and preset, the row read last wins.
    void GetAreaPresetEvents();
    // When two events share a custom code, the first read keeps it and one
    // warning names both. An event whose macro is gone keeps its code with no
    // macro, so it fires nothing.
    void GetCustomCodeEvents();

    QString areaPresetMacro(int area, int preset) const { return m_areaPreset.macroFor(area, preset); }
    QString customCodeMacro(const QString& hex) const { return m_customCodes.macroFor(hex); }

    void presetHeard(int area, int preset) override;
    void customCodeHeard(const std::string& hex) override;

private:
    store::Database& m_db;
    macros::MacroRunner& m_runner;
    comms::MonitorWriter m_monitorWriter;
    AreaPresetEventTable m_areaPreset;
    CustomCodeEventMap m_customCodes;
};

}  // namespace qv::reactions
