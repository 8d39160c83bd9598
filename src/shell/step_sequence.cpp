#include "shell/step_sequence.h"

#include <QMetaObject>

namespace qv::shell {

void StepSequence::add(const QString& caption, std::function<void()> step, int gapBeforeMs) {
    addAsync(
        caption,
        [step = std::move(step)](Next next) {
            step();
            next();
        },
        gapBeforeMs);
}

void StepSequence::addAsync(const QString& caption, std::function<void(Next)> step, int gapBeforeMs) {
    m_steps.push_back({caption, std::move(step), gapBeforeMs});
}

void StepSequence::start(Next done) {
    m_done = std::move(done);
    m_aborted = false;
    // From the event loop, so a caller's continuation never runs before it returns.
    QMetaObject::invokeMethod(
        this, [this] { runFrom(0); }, Qt::QueuedConnection);
}

void StepSequence::runFrom(int index) {
    if (m_aborted) return;
    if (index >= static_cast<int>(m_steps.size())) {
        if (m_done) m_done();
        return;
    }
    const Step& step = m_steps[static_cast<std::size_t>(index)];
    if (!step.caption.isEmpty()) emit caption(step.caption);
    m_current = index;
    if (step.gapBeforeMs > 0)
        m_gap->start(step.gapBeforeMs);
    else
        runStep();
}

void StepSequence::runStep() {
    if (m_aborted) return;
    const int index = m_current;
    // The continuation may be called once only; a second call is ignored.
    auto called = std::make_shared<bool>(false);
    m_steps[static_cast<std::size_t>(index)].run([this, index, called] {
        if (*called) return;
        *called = true;
        // Through the event loop, so a long chain never deepens the stack.
        QMetaObject::invokeMethod(
            this, [this, index] { runFrom(index + 1); }, Qt::QueuedConnection);
    });
}

}  // namespace qv::shell
