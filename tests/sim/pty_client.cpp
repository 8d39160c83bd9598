#include "pty_client.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <cerrno>

namespace qv::sim::test {

PtyClient::PtyClient(const QString& path)
    : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}

PtyClient::~PtyClient() {
    close();
}

void PtyClient::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

bool PtyClient::write(const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(m_fd, data.constData() + done, static_cast<size_t>(data.size() - done));
        if (n > 0) {
            done += n;
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
    }
    return true;
}

std::vector<QByteArray> PtyClient::readChunks(qsizetype count, int timeoutMs) {
    std::vector<QByteArray> chunks;
    qsizetype total = 0;
    const QDeadlineTimer deadline(timeoutMs);
    while (total < count && !deadline.hasExpired()) {
        if (QCoreApplication::instance()) QCoreApplication::processEvents();
        pollfd state{m_fd, POLLIN, 0};
        if (::poll(&state, 1, 1) <= 0 || !(state.revents & POLLIN)) continue;
        char buffer[65536];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            chunks.emplace_back(buffer, n);
            total += n;
        }
    }
    return chunks;
}

QByteArray PtyClient::read(qsizetype count, int timeoutMs) {
    QByteArray joined;
    for (const QByteArray& chunk : readChunks(count, timeoutMs)) joined += chunk;
    return joined;
}

}  // namespace qv::sim::test
