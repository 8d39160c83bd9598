#pragma once
// Ends the event loop on SIGTERM or SIGINT, so that the simulator leaves
// through its ordinary exit path and removes its link. The handler only
// writes a byte to a pipe; the quitting happens in the event loop.

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace qv::sim {

class QuitOnSignal : public QObject {
    Q_OBJECT
public:
    explicit QuitOnSignal(QObject* parent = nullptr);
    ~QuitOnSignal() override;

    // Which signal ended the run, 0 while none has.
    int received() const { return m_received; }

private:
    void onSignal();

    int m_pipe[2] = {-1, -1};
    int m_received = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace qv::sim
