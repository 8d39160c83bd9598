#pragma once
// The light-levels window's engine: one row per known channel of an area,
// following the levels the network reports, sending the levels the user
// sets, storing presets, naming channels and finding channels by a seek.
//
// While the user holds a slider (setAdjusting(true)) reports for the area
// leave the rows alone. While a report moves a row, okToSendLevelChange()
// is false, so a window that forwards its slider's value-changed signal
// straight back to setSliderPercent does not echo the report to the network.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "comms/monitor_writer.h"
#include "features/reactions/area_channels.h"
#include "features/reactions/channel_seek.h"
#include "features/reactions/paced_levels.h"
#include "features/reactions/send_rs232.h"
#include "features/reactions/timed_sequence.h"
#include "net/area_state.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QString>

#include <vector>

namespace qv::store {
class Database;
}

namespace qv::reactions {

struct ChannelRow {
    int channel = 0;
    QString name;
    int levelByte = -1;          // -1: no report yet
    int percent = 0;             // the slider, 0..100
    bool sliderVisible = false;  // hidden until a level other than 0 is reported
    bool queryVisible = true;    // the "query" label, until the first report
};

class LightLevels : public QObject, public comms::DecodeReactions {
    Q_OBJECT
public:
    struct Intervals {
        int sliderPacingMs = 100;               // ScrollIntervalTimer
        int followPresetMs = 200;               // checkforchangingpresettimer
        int saveSpacingMs = 200;                // between saves to other presets
        int seekStepMs = ChannelSeek::kStepMs;  // requestleveltimer
    };

    static inline const QString kNoChannelsText = QStringLiteral(
        "I don't have any previous information about how many circuits are in this area. I can scan the "
        "system "
        "for you to find how many there are if you like, it may take around 2 minutes.");
    // The monitor line written before every save of a preset.
    static inline const QString kSaveNote = QStringLiteral("LightLevels asks to Save this Preset");
    static inline const QString kScanQuestion =
        QStringLiteral("Would you like me to scan for available circuits?");

    enum class Loaded { Channels, NoChannels, Failed };

    // What the configuration lets the user do here (UserCanSaveLightingPresets,
    // UserCanSeekchannels); a refused save or seek sends nothing.
    struct Permissions {
        bool savePresets = true;
        bool seekChannels = true;
    };

    LightLevels(store::Database& db, const net::AreaState& state, store::MonitorSink& monitor,
                const qv::Clock& clock, SendRS232 sendRS232, Intervals intervals, QObject* parent = nullptr);

    // Loads the area's known channels and asks each for its level. With
    // NoChannels the window asks kNoChannelsText and kScanQuestion and calls
    // startSeek() on yes. Failed: not an area 1..255, the store could not be
    // read (said on the monitor), or a seek is running.
    Loaded chooseArea(int area);
    int area() const { return m_area; }
    int preset() const { return m_preset; }
    const std::vector<ChannelRow>& channels() const { return m_rows; }
    const ChannelRow* channel(int channel) const;

    // A level request for every row.
    void requestLevels();
    // Selects the preset in the area (1 s fade); with auto-refresh the levels
    // are asked for again.
    bool choosePreset(int preset);
    void setAutoRefresh(bool on) { m_autoRefresh = on; }

    void setPermissions(Permissions permissions) { m_permissions = permissions; }
    const Permissions& permissions() const { return m_permissions; }

    // LevelisbeingAdjusted: the user holds a slider.
    void setAdjusting(bool adjusting) { m_adjusting = adjusting; }
    bool adjusting() const { return m_adjusting; }
    // OkToSendLevelChange
    bool okToSendLevelChange() const { return m_okToSend; }
    // The user moved a slider: the level goes out as ChannelLevelMessage,
    // paced. False when nothing is to be sent (a report is moving the row,
    // no area, or an unknown channel).
    bool setSliderPercent(int channel, double percent);

    // Stores the area's current levels as the chosen preset.
    bool savePreset();
    // Stores them into each of `presets` in turn, saveSpacingMs apart;
    // otherPresetsSaved() follows the last one.
    bool saveToOtherPresets(const std::vector<int>& presets);
    void cancelSaveToOtherPresets() { m_saves.cancel(); }
    bool savingToOtherPresets() const { return m_saves.running(); }

    // Names a channel of the current area. False (said on the monitor) when
    // the store refused.
    bool setChannelDescription(int channel, const QString& text);

    // The choices and the save button are disabled and the preset is not
    // followed while seeking() holds.
    bool startSeek();
    void stopSeek() { m_seek.stop(); }
    bool seeking() const { return m_seek.running(); }
    ChannelSeek& seek() { return m_seek; }

    // The window closed: timers stop, pending slider levels and saves are
    // dropped, a seek is stopped.
    void close();

    void levelChanged(int area, int channel, int levelByte) override;

signals:
    void loadingChannel(const QString& text);
    void channelsChanged();
    void channelChanged(int channel);
    void presetChanged(int preset);
    void otherPresetsSaved();
    void seekingChanged(bool seeking);
    void seekProgress(int channel, const QString& text);
    // A description changed; the name tables of the labels should follow.
    void channelNamed(int area, int channel, const QString& name);

private:
    // One tick of the follow timer: the preset choice follows the area when
    // someone else changes its preset.
    void checkforchangingpresettimer();
    Loaded loadRows();
    ChannelRow* row(int channel);
    void showLevel(ChannelRow& row, int levelByte);
    void send(const std::optional<net::RawMessage>& message);

    store::Database& m_db;
    const net::AreaState& m_state;
    comms::MonitorWriter m_monitorWriter;
    SendRS232 m_sendRS232;
    Permissions m_permissions;
    PacedLevels m_paced;
    TimedSequence m_saves;
    ChannelSeek m_seek;
    std::unique_ptr<qv::Timer> m_followTimer;
    std::vector<ChannelRow> m_rows;
    int m_area = 0;
    int m_preset = 0;
    bool m_autoRefresh = false;
    bool m_adjusting = false;
    bool m_okToSend = true;
};

}  // namespace qv::reactions
