#pragma once
// The main window's macro buttons 1..N and the rules that make a button
// multi-state: when an area is reported in a preset, or a custom code is
// heard, a rule gives its button a new caption, colour and macro. This is
// the state; the window draws it from button() and redraws on changed().
//
// Current captions, colours and macros are not stored back: after a restart
// the buttons start from their Buttons rows, and GetButtonChanges re-applies
// the rules for the presets already heard and asks for the others.

#include "clock/clock.h"
#include "comms/decode_reactions.h"
#include "comms/monitor_writer.h"
#include "features/reactions/send_rs232.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QSet>
#include <QString>

#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::reactions {

struct ButtonFace {
    QString caption;
    // The stored colour value (red in the low byte, then green, then blue);
    // nothing while the button has its designed colour.
    std::optional<int> colour;
    QString macro;  // what a press runs now; empty for none
    bool hidden = false;
    bool operator==(const ButtonFace&) const = default;
};

class ButtonPanel : public QObject, public comms::DecodeReactions {
    Q_OBJECT
public:
    static constexpr int kMaxButtons = 24;
    static inline const QString kNoMacro =
        QStringLiteral("you have not assigned a starting macro to this button");

    // Config.buttonversion: 4, 8, 12, 18 or 24 buttons. Anything else gives 8,
    // the layout a fresh configuration has.
    static int buttonCountFor(int buttonversion);

    ButtonPanel(store::Database& db, macros::MacroRunner& runner, const net::AreaState& state,
                store::MonitorSink& monitor, const qv::Clock& clock, SendRS232 sendRS232, int buttonversion,
                QObject* parent = nullptr);

    int count() const { return m_count; }
    // Buttons 1..count(); any other number gives an empty face.
    const ButtonFace& button(int index) const;
    // The mini-panel menu shows only items with a caption.
    bool menuItemVisible(int index) const { return !button(index).caption.isEmpty(); }

    // Back to the stored starting state: captions, macros, hidden marks, and
    // the designed colours. Rows for places above count() are skipped.
    void GetButtonLabels();
    // Rebuilds the rule triggers and rule custom codes, asks each area that
    // has not been heard yet for its preset (once per distinct area/preset
    // trigger; the answer comes back through the decoder) and applies the
    // rules of the presets already known.
    void GetButtonChanges();
    // Applies the rules of one trigger: an area in a preset (CustomCode
    // empty), or a custom code heard (area and Preset 0). Also called by the
    // server link for the presets it reports.
    void ButtonChange(int area, int Preset, const QString& CustomCode);

    // A press of button (or menu item) `index`: cues its current macro and
    // returns the empty text, or returns the message to show.
    QString press(int index);

    bool isRuleTrigger(int area, int preset) const;
    bool isRuleCustomCode(const QString& hex) const;

    // Decoder reactions: only triggers some rule uses reach ButtonChange.
    void presetHeardAfterSelection(int area, int preset) override;
    void customCodeHeardLast(const std::string& hex) override;

signals:
    void changed(int index);

private:
    struct Rule {
        int buttonIndex = 0;
        QString label;
        std::optional<int> colour;
        QString macro;
    };
    void apply(const std::vector<Rule>& rules);
    void setFace(int index, const ButtonFace& face);

    store::Database& m_db;
    macros::MacroRunner& m_runner;
    const net::AreaState& m_state;
    comms::MonitorWriter m_monitorWriter;
    SendRS232 m_sendRS232;
    int m_count;
    std::vector<ButtonFace> m_faces;  // index 0 unused
    std::vector<bool> m_triggers;     // area * 256 + preset
    QSet<QString> m_ruleCodes;        // normalised hex
};

}  // namespace qv::reactions
