#pragma once
// The direct-control window's engine: choose an area (and ask it for its
// preset), send a preset, run a macro or change whether it is enabled, and
// the text that shows which preset the area is in. Everything sent or run
// by hand leaves a "Direct Control" monitor record first.

#include "clock/clock.h"
#include "comms/monitor_writer.h"
#include "features/reactions/choice_lists.h"
#include "features/reactions/send_rs232.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "net/labels.h"
#include "store/monitor_record.h"

#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace qv::store {
class Database;
}

namespace qv::reactions {

class DirectControl : public QObject {
    Q_OBJECT
public:
    static constexpr int kCheckPresetMs = 500;
    static inline const QString kRequesting = QStringLiteral("...requesting");
    static inline const QString kNoResponse = QStringLiteral("no response...");

    // The macro engine's EnableMacro(name, enabled).
    using EnableMacro = std::function<void(const QString&, bool)>;

    DirectControl(store::Database& db, const net::AreaState& state, const net::NameTables& names,
                  store::MonitorSink& monitor, const qv::Clock& clock, macros::MacroRunner& runner,
                  SendRS232 sendRS232, EnableMacro enableMacro, int checkPresetMs = kCheckPresetMs,
                  QObject* parent = nullptr);

    // Pick lists; throw store::StoreError.
    std::vector<Choice> areas() { return areaChoices(m_db, QStringLiteral(" ")); }
    std::vector<Choice> presets(int area) { return presetChoices(m_db, area, QStringLiteral(" ")); }
    std::vector<Choice> macros() { return macroChoices(m_db); }

    // Asks the area for its preset, shows "...requesting" and starts the
    // preset check. False for a number that is not an area 0..255.
    bool chooseArea(int area);
    std::optional<int> area() const { return m_area; }
    QString statusText() const { return m_status; }

    // Sends the chosen area to `preset` (1 s fade). False, and nothing sent,
    // without an area or with a preset the message cannot carry.
    bool send(int preset);
    void runMacro(const QString& name);
    // The macro's enabled mark; nothing for a macro that does not exist.
    // Throws store::StoreError.
    std::optional<bool> macroEnabled(const QString& name);
    void setMacroEnabled(const QString& name, bool enabled);

    // What the preset check shows for the area now.
    QString presetCheckText(int area) const;
    // Stops the preset check, for when the window closes.
    void close();

signals:
    void statusTextChanged(const QString& text);

private:
    // One tick of the preset check.
    void CheckPresetTimer();
    void setStatus(const QString& text);

    store::Database& m_db;
    const net::AreaState& m_state;
    const net::NameTables& m_names;
    comms::MonitorWriter m_monitorWriter;
    macros::MacroRunner& m_runner;
    SendRS232 m_sendRS232;
    EnableMacro m_enableMacro;
    std::unique_ptr<qv::Timer> m_checkPresetTimer;
    std::optional<int> m_area;
    QString m_status;
};

}  // namespace qv::reactions
