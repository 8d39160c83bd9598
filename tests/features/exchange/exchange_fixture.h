#pragma once
// Fakes shared by the item exchange tests: a clock that stands still, a
// macro runner and a sender that keep what they were given.

#include "clock/clock.h"
#include "features/exchange/exchange_deps.h"
#include "macros/macro_runner.h"
#include "net/area_state.h"
#include "net/message.h"
#include "support/manual_clock.h"
#include "support/qt_support.h"

#include <QStringList>

#include <string>
#include <vector>

namespace qv::exchange::test {

// Stands still until a test advances it; its timers fire then.
struct FixedClock : qv::test::ManualClock {
    FixedClock() : qv::test::ManualClock({QDate(2024, 3, 5), QTime(9, 30)}) {}
};

class RecordingRunner final : public macros::MacroRunner {
public:
    void RunMacro(const QString& name) override { names << name; }
    QStringList names;
};

// What the exchange handed to sendRS232, as hex text.
struct SentMessages {
    std::vector<std::string> hex;
    std::function<void(const net::RawMessage&)> sender() {
        return [this](const net::RawMessage& m) { hex.push_back(net::toHex(m)); };
    }
};

struct ExchangeWorld {
    FixedClock clock;
    RecordingRunner runner;
    SentMessages sent;
    net::AreaState state;
    qv::test::RecordingMonitor monitor;

    ExchangeDeps deps() { return ExchangeDeps{sent.sender(), runner, state, monitor, clock}; }

    int monitorCount(const QString& type, const QString& commentPart) const {
        return monitor.count([&](const store::MonitorRecord& r) {
            return r.MsgType == type && r.comment.contains(commentPart);
        });
    }
};

// 1C 0C 32 0A 00 00 FF: area 12, preset 5 (opcode 0A, bank 0), 1 s fade.
inline const std::string kArea12Preset5 = "1C 0C 32 0A 00 00 FF 9D";

}  // namespace qv::exchange::test
