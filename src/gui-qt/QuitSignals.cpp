#include "gui-qt/QuitSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace tarvo {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP};

volatile sig_atomic_t writeEnd = -1;

extern "C" void noteSignal(int) {
    const int saved = errno;
    const char byte = 1;
    if (writeEnd >= 0) [[maybe_unused]]
        const ssize_t ignored = ::write(writeEnd, &byte, 1);
    errno = saved;
}

void handleWith(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> quit) : quit_(std::move(quit)) {
    // A broken pipe (a FIFO saved to whose reader went away, an office's pipe
    // that closed) is a failed write the operator is told of, never the end
    // of the program.
    ::signal(SIGPIPE, SIG_IGN);
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &QuitSignals::received);
    writeEnd = pipe_[1];
    handleWith(noteSignal);
}

QuitSignals::~QuitSignals() {
    if (pipe_[0] < 0)
        return;
    handleWith(SIG_DFL);
    writeEnd = -1;
    notifier_.reset();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void QuitSignals::received() {
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    if (quit_)
        quit_();
}

}  // namespace tarvo
