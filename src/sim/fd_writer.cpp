#include "sim/fd_writer.h"

#include <unistd.h>
#include <cerrno>

namespace qv::sim {

FdWriter::FdWriter(std::size_t maxQueuedBytes, QObject* parent)
    : QObject(parent), m_maxQueuedBytes(maxQueuedBytes) {}

void FdWriter::setFd(int fd) {
    clear();
    m_notifier.reset();
    m_fd = fd;
    if (fd < 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Write);
    m_notifier->setEnabled(false);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &FdWriter::flush);
}

void FdWriter::write(const QByteArray& bytes) {
    if (m_fd < 0 || bytes.isEmpty()) return;
    m_queue.push_back(bytes);
    m_queuedBytes += static_cast<std::size_t>(bytes.size());
    while (m_queuedBytes > m_maxQueuedBytes && m_queue.size() > 1) dropOldest();
    // Anything already waiting goes first; the notifier will call flush.
    if (m_queue.size() == 1) flush();
}

void FdWriter::clear() {
    m_queue.clear();
    m_frontOffset = 0;
    m_queuedBytes = 0;
    if (m_notifier) m_notifier->setEnabled(false);
}

void FdWriter::flush() {
    while (!m_queue.empty()) {
        const QByteArray& front = m_queue.front();
        const std::size_t left = static_cast<std::size_t>(front.size()) - m_frontOffset;
        const ssize_t written = ::write(m_fd, front.constData() + m_frontOffset, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                m_notifier->setEnabled(true);
                return;
            }
            const int error = errno;
            clear();
            emit failed(error);
            return;
        }
        m_queuedBytes -= static_cast<std::size_t>(written);
        m_frontOffset += static_cast<std::size_t>(written);
        if (m_frontOffset == static_cast<std::size_t>(front.size())) {
            m_queue.pop_front();
            m_frontOffset = 0;
        }
    }
    m_notifier->setEnabled(false);
}

// The front write may be half out already; the one behind it goes instead.
void FdWriter::dropOldest() {
    const auto victim = m_frontOffset > 0 ? m_queue.begin() + 1 : m_queue.begin();
    m_queuedBytes -= static_cast<std::size_t>(victim->size());
    m_dropped += static_cast<std::uint64_t>(victim->size());
    m_queue.erase(victim);
}

}  // namespace qv::sim
