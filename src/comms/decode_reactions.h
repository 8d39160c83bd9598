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

    // After decoding, for every line, in this order.
    virtual void customCodeListen(const std::string& /*compactHex*/) {}          // every line
    virtual void areaPresetEvent(int /*area*/, int /*preset*/) {}                // every line
    virtual void energyRecorder(int /*area*/) {}                                 // area and preset non-zero
    virtual void planView(int /*area*/, int /*preset*/) {}                       // preset >= 1
    virtual void itemExchange(int /*area*/, int /*preset*/) {}                   // area, preset >= 1
    virtual void buttonChange(int /*area*/, int /*preset*/) {}                   // every line
    virtual void customCodeEvent(const std::string& /*hex*/) {}                  // every line
    virtual void buttonCustomCode(const std::string& /*hex*/) {}                 // every line
};

}  // namespace qv::comms
