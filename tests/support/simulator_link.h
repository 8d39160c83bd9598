#pragma once
// The engine's serial comms opened on quorvel-sim, run as a real process on a
// pseudo-terminal.

#include "comms/serial_comms.h"
#include "process/simulator_process.h"
#include "support/qt_support.h"

#include <gtest/gtest.h>

#include <optional>

namespace qv::test {

// Starts sim with the extra arguments and opens comms on its link.
inline bool openOnSimulator(process::SimulatorProcess& sim, comms::SerialComms& comms,
                            const QStringList& arguments = {}) {
    QString error;
    const QString link = sim.start(arguments, &error);
    if (link.isEmpty()) {
        ADD_FAILURE() << "quorvel-sim did not start: " << error.toStdString();
        return false;
    }
    std::optional<bool> outcome;
    comms.GetCommsMethod(comms::SerialSettings{link, 1}, [&](bool ok) { outcome = ok; });
    waitUntil([&] { return outcome.has_value(); }, 10000);
    return outcome.value_or(false);
}

}  // namespace qv::test
