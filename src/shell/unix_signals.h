#pragma once
// SIGTERM, SIGINT and SIGHUP (a log-off, a service stop, Ctrl-C) become a
// Qt signal on the event loop, so they take the normal shutdown path.

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace qv::shell {

class UnixSignals : public QObject {
    Q_OBJECT
public:
    explicit UnixSignals(QObject* parent = nullptr);
    ~UnixSignals() override;

signals:
    void shutdownRequested(int signalNumber);

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace qv::shell
