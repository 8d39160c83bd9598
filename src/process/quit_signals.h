#pragma once
// Unix signals (a service stop, Ctrl-C, a log-off) become a Qt signal on the
// event loop, so that each program leaves through its ordinary shutdown. The
// handler only writes a byte to a pipe; everything else happens in the loop.

#include <QObject>
#include <QSocketNotifier>

#include <csignal>
#include <initializer_list>
#include <memory>
#include <vector>

namespace qv::process {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(std::initializer_list<int> numbers = {SIGTERM, SIGINT}, QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested(int signalNumber);

private:
    std::vector<int> m_numbers;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace qv::process
