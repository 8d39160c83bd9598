#pragma once
// Steps run one after another through the event loop, with a short gap
// between them, so timers, comms and macro events keep flowing while the
// program starts or stops. A step may finish later (asynchronous steps call
// their continuation when done).

#include "clock/clock.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace qv::shell {

class StepSequence : public QObject {
    Q_OBJECT
public:
    using Next = std::function<void()>;

    explicit StepSequence(const qv::Clock& clock, QObject* parent = nullptr)
        : QObject(parent), m_gap(clock.createSingleShot(0, [this] { runStep(); })) {}

    // A step with a caption (shown on the splash window; empty for none).
    void add(const QString& caption, std::function<void()> step, int gapBeforeMs = 0);
    void addAsync(const QString& caption, std::function<void(Next)> step, int gapBeforeMs = 0);

    void start(Next done);
    // Stops before the next step; done is not called.
    void abort() { m_aborted = true; }

signals:
    void caption(const QString& text);

private:
    struct Step {
        QString caption;
        std::function<void(Next)> run;
        int gapBeforeMs = 0;
    };
    void runFrom(int index);
    void runStep();

    std::unique_ptr<qv::Timer> m_gap;  // waits out the gap before the current step
    int m_current = 0;
    std::vector<Step> m_steps;
    Next m_done;
    bool m_aborted = false;
};

}  // namespace qv::shell
