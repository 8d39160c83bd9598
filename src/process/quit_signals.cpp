#include "process/quit_signals.h"

#include <fcntl.h>
#include <unistd.h>

namespace qv::process {

namespace {

// One pipe for the process: a handler can reach no object.
int g_pipe[2] = {-1, -1};

void onSignal(int number) {
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
}

void install(const std::vector<int>& numbers, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : numbers) ::sigaction(number, &action, nullptr);
}

}  // namespace

QuitSignals::QuitSignals(std::initializer_list<int> numbers, QObject* parent)
    : QObject(parent), m_numbers(numbers) {
    if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        while (::read(g_pipe[0], &byte, 1) == 1) emit quitRequested(byte);
    });
    install(m_numbers, onSignal);
}

QuitSignals::~QuitSignals() {
    install(m_numbers, SIG_DFL);
}

}  // namespace qv::process
