#include "features/exchange/exchange_reactions.h"

namespace qv::exchange {

void ExchangeReactions::areaPresetSelected(int area, int preset) {
    m_items.statusHeard(area, preset);
}

void ExchangeReactions::presetSelected(int area, int preset) {
    if (area == 0) m_items.allAreasHeard(preset);
}

}  // namespace qv::exchange
