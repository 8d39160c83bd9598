#pragma once
// The items of topic "Quorvel" and what a write to each of them does.
//
// Writes act at once and leave the item as the DDE window left it:
//   SetArea n           a preset 0..96 sets area n (0 sends nothing); the item reads "0" again
//   Area1               a preset sets area 1 (0 sends nothing); the item reads "0" again
//   SetAreaPreset       "area,preset" with area 0..255 sets the area; the item keeps the text
//   RequestAreaPreset   an area 0..255 is asked for its preset; the item is cleared
//   Macro               a name starts that macro; the item is cleared
// A value out of range or not a number sends nothing and still resets the
// item; the write answers with the reason so that the client knows.
// StatusArea n and StatusofAreaPreset follow what the decoder hears, from
// the moment the items are loaded.
//
// Plain logic: no sockets, no event loop.

#include "features/exchange/item_names.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "net/message.h"

#include <QString>

#include <array>
#include <functional>

namespace qv::exchange {

class ExchangeItems {
public:
    using Sender = std::function<void(const net::RawMessage&)>;
    using ChangeHandler = std::function<void(const ItemRef& item, const QString& text)>;

    static constexpr int kMaxSetAreaPreset = 96;
    static constexpr int kMaxMacroNameChars = 255;

    ExchangeItems(Sender sendRS232, macros::MacroRunner& runner);

    // Called with the item and its new text whenever an item's text changes.
    void setChangeHandler(ChangeHandler handler) { m_changed = std::move(handler); }

    // Makes the items live: the status items take the presets already known
    // and from now on follow the decoder. Stays loaded for good.
    void load(const net::AreaState& state);
    bool isLoaded() const { return m_loaded; }

    QString read(const ItemRef& item) const;

    struct WriteResult {
        bool ok = true;
        QString error;  // why nothing was done, when !ok
    };
    WriteResult write(const ItemRef& item, const QString& value);

    // The decoder heard that an area 1..255 is in a preset (>= 1).
    void statusHeard(int area, int preset);
    // The decoder applied a preset to every area at once.
    void allAreasHeard(int preset);

private:
    WriteResult writeSetArea(int area, const QString& value);
    WriteResult writeArea1(const QString& value);
    WriteResult writeSetAreaPreset(const QString& value);
    WriteResult writeRequestAreaPreset(const QString& value);
    WriteResult writeMacro(const QString& value);
    // Sends GoAreaPreset(area, preset); 0 sends nothing, as the builder says.
    WriteResult goAreaPreset(int area, int preset, const QString& item);

    template <typename Self>
    static auto& slot(Self& self, const ItemRef& item);
    void assign(const ItemRef& item, const QString& text);

    Sender m_send;
    macros::MacroRunner& m_runner;
    ChangeHandler m_changed;
    bool m_loaded = false;

    std::array<QString, 256> m_setArea;
    std::array<QString, 256> m_statusArea;
    QString m_area1;
    QString m_setAreaPreset;
    QString m_requestAreaPreset;
    QString m_macro;
    QString m_statusofAreaPreset;
};

}  // namespace qv::exchange
