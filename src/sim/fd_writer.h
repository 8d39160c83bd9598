#pragma once
// Non-blocking writes to a file descriptor. What the kernel does not take at
// once is queued and written when the descriptor is writable again, so a
// slow reader never stalls the simulator and no byte is lost or reordered.
// The queue has a ceiling: a reader that stops reading altogether loses the
// oldest whole writes, never part of one.

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

#include <cstdint>
#include <deque>
#include <memory>

namespace qv::sim {

class FdWriter : public QObject {
    Q_OBJECT
public:
    explicit FdWriter(std::size_t maxQueuedBytes = 1 << 20, QObject* parent = nullptr);

    // -1 detaches; queued bytes are dropped either way.
    void setFd(int fd);
    void write(const QByteArray& bytes);
    void clear();

    std::size_t queuedBytes() const { return m_queuedBytes; }
    std::uint64_t droppedBytes() const { return m_dropped; }

signals:
    // The descriptor refused a write for good (EIO once the reader hung up).
    void failed(int errorNumber);

private:
    void flush();
    void dropOldest();

    int m_fd = -1;
    std::size_t m_maxQueuedBytes;
    std::deque<QByteArray> m_queue;
    std::size_t m_frontOffset = 0;  // bytes of the front write already taken
    std::size_t m_queuedBytes = 0;
    std::uint64_t m_dropped = 0;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace qv::sim
