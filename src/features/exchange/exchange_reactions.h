#pragma once
// The decoder's reaction for the item exchange: what is heard about areas
// and presets reaches the status items.

#include "comms/decode_reactions.h"
#include "features/exchange/exchange_items.h"

namespace qv::exchange {

class ExchangeReactions final : public comms::DecodeReactions {
public:
    explicit ExchangeReactions(ExchangeItems& items) : m_items(items) {}

    // An area 1..255 was heard in a preset (>= 1).
    void areaPresetSelected(int area, int preset) override;
    // A preset said to area 0 reaches every area, but it comes through the
    // preset-selected step only (the area step needs an area of 1 or more);
    // without this the status items of every area would go stale.
    void presetSelected(int area, int preset) override;

private:
    ExchangeItems& m_items;
};

}  // namespace qv::exchange
