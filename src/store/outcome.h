#pragma once
// What an action answers whoever asked (a window, a script, the command
// line): whether it was done, and the text to show, a refusal or a note that
// goes with success. An outcome nobody filled in is not a success.

#include <QString>

#include <utility>

namespace qv::store {

struct Outcome {
    bool ok = false;
    QString message;  // empty: nothing to show

    static Outcome done(QString note = {}) { return {true, std::move(note)}; }
    static Outcome refused(QString why) { return {false, std::move(why)}; }
};

}  // namespace qv::store
