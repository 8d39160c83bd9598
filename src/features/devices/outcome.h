#pragma once
// What an editor action answers: whether it was done, and the text the window
// shows (a refusal, or a note that goes with success).

#include <QString>

namespace qv::devices {

struct Outcome {
    bool ok = false;
    QString message;  // empty: nothing to show

    static Outcome done(QString note = {}) { return {true, std::move(note)}; }
    static Outcome refused(QString why) { return {false, std::move(why)}; }
};

}  // namespace qv::devices
