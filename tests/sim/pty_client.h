#pragma once
// The PC's side of the pseudo-terminal, opened with plain POSIX calls as a
// program would open a serial port, with nothing of the simulator's own code.
// While it waits it keeps the Qt event loop turning, so a gateway living in
// the same thread gets to answer.

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <QThread>

#include <vector>

namespace qv::sim::test {

class PtyClient {
public:
    explicit PtyClient(const QString& path);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void close();
    bool write(const QByteArray& data);

    // Reads until `count` bytes have come or timeoutMs has passed; one entry
    // per read() call, so tests can see how the bytes were cut.
    std::vector<QByteArray> readChunks(qsizetype count, int timeoutMs);
    QByteArray read(qsizetype count, int timeoutMs);

private:
    int m_fd = -1;
};

// Turns the event loop until done() holds or timeoutMs passes.
template <typename Done>
bool pumpUntil(Done done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::usleep(200);
    }
    return true;
}

}  // namespace qv::sim::test
