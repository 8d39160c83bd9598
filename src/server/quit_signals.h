#pragma once
// SIGTERM and SIGINT (a service stop, Ctrl-C) become a Qt signal on the
// event loop, so that the relay leaves through its ordinary shutdown: the
// simulator is stopped and the port closed. The handler only writes a byte
// to a pipe.

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace qv::server {

class QuitSignals : public QObject {
    Q_OBJECT
public:
    explicit QuitSignals(QObject* parent = nullptr);
    ~QuitSignals() override;

signals:
    void quitRequested(int signalNumber);

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace qv::server
