#pragma once
// The answer of a configuration command: whether it went through, and the
// message the window shows (empty for none).

#include <QString>

namespace qv::config {

struct Outcome {
    bool ok = true;
    QString message;

    static Outcome success(QString text = {}) { return {true, std::move(text)}; }
    static Outcome failure(QString text) { return {false, std::move(text)}; }
};

}  // namespace qv::config
