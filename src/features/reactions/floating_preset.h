#pragma once
// The floating preset window's engine, opened from one plan-view indicator:
// the indicator's switching channels with their levels, a preset to go to,
// on, off, a level and flashing for the selected channel, a refresh that
// shows "--" for every channel that did not answer, and saving a preset.
// When the window loses focus it asks to be closed a little later.

#include "comms/decode_reactions.h"
#include "features/reactions/paced_levels.h"
#include "features/reactions/send_rs232.h"
#include "net/area_state.h"
#include "net/labels.h"

#include <QObject>
#include <QString>

#include <set>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::reactions {

struct FloatingChannel {
    int channel = 0;
    QString text;       // "Channel 3: Downlights"
    QString levelText;  // "40%", or "--" while there is no reply
};

class FloatingPreset : public QObject, public comms::DecodeReactions {
    Q_OBJECT
public:
    struct Intervals {
        int sliderPacingMs = 200;  // ScrollIntervalTimer
        int flashMs = 1000;        // Flashchanneltimer
        int unloadMs = 2000;       // UnloadTimer
        int refreshWaitMs = 1000;  // how long a refresh waits for answers
    };

    static inline const QString kShowChannels = QStringLiteral("Show Channels");
    static inline const QString kHideChannels = QStringLiteral("Hide Channels");
    static inline const QString kRefresh = QStringLiteral("Refresh");
    static inline const QString kWait = QStringLiteral("wait");
    static inline const QString kNoReply = QStringLiteral("--");
    static inline const QString kNoResponse = QStringLiteral("no response");

    FloatingPreset(store::Database& db, const net::AreaState& state, const net::NameTables& names,
                   const qv::Clock& clock, SendRS232 sendRS232, Intervals intervals,
                   QObject* parent = nullptr);

    // Loads the indicator's area and switching channels and asks each for its
    // level. False when the indicator does not exist, has no area 1..255, or
    // the store cannot be read.
    bool open(int planIndicatorId);
    int area() const { return m_area; }
    const std::vector<FloatingChannel>& channels() const { return m_channels; }

    // The channel on, off, level and flash act on; false for one not listed.
    bool selectChannel(int channel);
    int selectedChannel() const { return m_selected; }

    bool go(int preset);
    bool on();
    bool off();
    bool setLevelPercent(double percent);
    void setFlash(bool flashing);
    bool flashing() const { return m_flashTimer->isActive(); }
    bool savePreset(int preset);

    // Asks every channel again; the caption is "wait" until the answers have
    // had their time, then "Refresh".
    void refresh();
    QString refreshCaption() const { return m_refreshCaption; }

    void toggleChannels();
    bool channelsShown() const { return m_channelsShown; }
    QString channelsCaption() const { return m_channelsShown ? kHideChannels : kShowChannels; }

    QString presetCheckText() const;

    void focusLost();
    void focusGained();
    // Stops every timer and forgets the indicator.
    void close();

    void levelChanged(int area, int channel, int levelByte) override;

signals:
    void channelsChanged();
    void levelTextChanged(int channel, const QString& text);
    void refreshCaptionChanged(const QString& caption);
    void channelsCaptionChanged(const QString& caption);
    void closeRequested();

private:
    void Flashchanneltimer();
    void UnloadTimer();
    void refreshDone();
    FloatingChannel* find(int channel);
    void setLevelText(int channel, const QString& text);
    bool sendLevel(int levelByte, const QString& text);
    void send(const std::optional<net::RawMessage>& message);

    store::Database& m_db;
    const net::AreaState& m_state;
    const net::NameTables& m_names;
    SendRS232 m_sendRS232;
    PacedLevels m_paced;
    std::unique_ptr<qv::Timer> m_flashTimer;
    std::unique_ptr<qv::Timer> m_unloadTimer;
    std::unique_ptr<qv::Timer> m_refreshTimer;
    std::vector<FloatingChannel> m_channels;
    std::set<int> m_replied;
    int m_area = 0;
    int m_selected = 0;
    bool m_flashLit = false;
    bool m_channelsShown = false;
    QString m_refreshCaption = kRefresh;
};

}  // namespace qv::reactions
