#pragma once
// What the rest of the program does with a decoded line. The in box calls
// every registered reaction in the fixed order below; each subsystem
// (events, buttons, plan view, item exchange, sensors, roll call, energy)
// overrides only what it needs. The numeric conditions (area and preset
// heard) are checked by the in box; the table look-ups are the reaction's.

#include "net/decoder.h"

#include <string>

namespace qv::comms {

class DecodeReactions {
public:
    virtual ~DecodeReactions() = default;

    // While decoding, as the message is understood.
    virtual void levelChanged(int /*area*/, int /*channel*/, int /*levelByte*/) {}
    virtual void sensorAnnounced(int /*box*/) {}
    virtual void sensorReading(const net::SensorReading& /*reading*/) {}
    virtual void versionReply(const net::VersionReply& /*reply*/) {}

    // After decoding, for every line, in this order. Hooks carrying the same
    // data are named for their condition or their place: the order in which
    // reactions answer is observable (events run before the button panel).
    virtual void compactCodeHeard(const std::string& /*compactHex*/) {}      // every line
    virtual void presetHeard(int /*area*/, int /*preset*/) {}                // every line
    virtual void nonZeroPresetHeard(int /*area*/) {}                         // area and preset non-zero
    virtual void presetSelected(int /*area*/, int /*preset*/) {}             // preset >= 1
    virtual void areaPresetSelected(int /*area*/, int /*preset*/) {}         // area, preset >= 1
    virtual void presetHeardAfterSelection(int /*area*/, int /*preset*/) {}  // every line
    virtual void customCodeHeard(const std::string& /*hex*/) {}              // every line
    virtual void customCodeHeardLast(const std::string& /*hex*/) {}          // every line
};

}  // namespace qv::comms
