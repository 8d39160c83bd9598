#pragma once
// What the item exchange and the area status file are given by the program.

#include "clock/clock.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "net/message.h"
#include "store/monitor_record.h"

#include <functional>

namespace qv::exchange {

struct ExchangeDeps {
    // The program's sendRS232: everything for the network goes through it.
    std::function<void(const net::RawMessage&)> sendRS232;
    macros::MacroRunner& runner;
    // The decoder's area preset state, read for the presets already known.
    const net::AreaState& areaState;
    store::MonitorSink& monitor;
    const qv::Clock& clock;
};

}  // namespace qv::exchange
