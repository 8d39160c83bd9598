#include "sim/quit_on_signal.h"

#include <QCoreApplication>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace qv::sim {

namespace {

int g_writeEnd = -1;

void onUnixSignal(int number) {
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t ignored = ::write(g_writeEnd, &byte, 1);
}

void install(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace

QuitOnSignal::QuitOnSignal(QObject* parent) : QObject(parent) {
    if (::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    g_writeEnd = m_pipe[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &QuitOnSignal::onSignal);
    install(onUnixSignal);
}

QuitOnSignal::~QuitOnSignal() {
    install(SIG_DFL);
    g_writeEnd = -1;
    m_notifier.reset();
    for (int fd : m_pipe)
        if (fd >= 0) ::close(fd);
}

void QuitOnSignal::onSignal() {
    unsigned char byte = 0;
    while (::read(m_pipe[0], &byte, 1) == 1) m_received = byte;
    QCoreApplication::quit();
}

}  // namespace qv::sim
