#pragma once
// A roll-call set-up: device types, installed devices and roll calls in a
// real main database, the simulated network answering version requests,
// and the report e-mails and macros recorded.

#include "devices_support.h"
#include "features/devices/roll_call.h"

namespace qv::test {

struct SentMail {
    QString recipients;
    QString subject;
    QString body;
    QString attachment;
};

class RollCallTest : public DataFolderTest {
protected:
    RollCallTest() {
        run(*main,
            "INSERT INTO DeviceTypes (Device_ID, Device, DeviceOpCode) VALUES (1, 'Dimmer', '20'), "
            "(2, 'Relay', '30'), (3, 'Old panel', '0A')");
        run(*main,
            "INSERT INTO DevicesInstalled (Device_ID, BoxNumber, Description) VALUES (1, 18, 'Dimmer rack'), "
            "(1, 7, 'Plant room'), (2, 5, 'Relay hall'), (3, 3, 'Foyer panel')");
    }

    void addMember(const QString& name, int deviceId, int box) {
        run(*main, "INSERT INTO RollCall (RollCallName, Device_ID, Boxnumber) VALUES (?, ?, ?)",
            {name, deviceId, box});
    }
    void addActions(const QString& name, const QString& recipients, const QString& macro) {
        run(*main, "INSERT INTO RollCallActions (RollCall, emailRecipients, MacrotoRun) VALUES (?, ?, ?)",
            {name, recipients, macro});
    }

    // Dimmer 18 and relay 5 answer; dimmer 7 is silent.
    static sim::NetworkLayout network() {
        sim::NetworkLayout layout;
        layout.devices = {{0x20, 18, 1, 4}, {0x30, 5, 2, 0x0B}, {0x0A, 3, 3, 1}};
        return layout;
    }

    void makeRunner() {
        wire = std::make_unique<SimWire>(network(), clock, monitor);
        runner =
            std::make_unique<devices::RollCallRunner>(*main, paths, monitor, clock, wire->sender(), macros,
                                                      [this](const QString& to, const QString& subject,
                                                             const QString& body, const QString& attachment) {
                                                          mails.push_back({to, subject, body, attachment});
                                                      });
        wire->inbox.addReactions(runner.get());
        QObject::connect(runner.get(), &devices::RollCallRunner::finished, [this] { ++finished; });
    }

    // Requests sent to a device type and box.
    int requestsTo(int type, int box) const {
        return wire->sentCount(
            [&](const net::RawMessage& m) { return m[1] == type && m[2] == box && m[3] == 0x80; });
    }

    std::unique_ptr<SimWire> wire;
    std::unique_ptr<devices::RollCallRunner> runner;
    RecordingMacroRunner macros;
    std::vector<SentMail> mails;
    int finished = 0;
};

}  // namespace qv::test
