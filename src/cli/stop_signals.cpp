#include "cli/stop_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace ravelfin::cli {

namespace {

// The handler may only write to a pipe; the listener reads it. A byte of kSignalled is a
// signal, kQuit the end of the listener.
int stopPipe[2] = {-1, -1};
constexpr char kSignalled = 'S';
constexpr char kQuit = 'Q';

extern "C" void WriteSignalByte(int) {
    const int saved = errno;
    [[maybe_unused]] const auto written = ::write(stopPipe[1], &kSignalled, 1);
    errno = saved;
}

}  // namespace

StopSignals::StopSignals(std::function<void()> onStop) : onStop_(std::move(onStop)) {
    if (::pipe2(stopPipe, O_CLOEXEC) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = WriteSignalByte;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, &oldInt_);
    ::sigaction(SIGTERM, &action, &oldTerm_);
    installed_ = true;
    listener_ = std::jthread([this] { Listen(); });
}

StopSignals::~StopSignals() {
    if (!installed_)
        return;
    ::sigaction(SIGINT, &oldInt_, nullptr);
    ::sigaction(SIGTERM, &oldTerm_, nullptr);
    [[maybe_unused]] const auto written = ::write(stopPipe[1], &kQuit, 1);
    listener_.join();
    ::close(stopPipe[0]);
    ::close(stopPipe[1]);
    stopPipe[0] = stopPipe[1] = -1;
}

void StopSignals::Listen() {
    for (;;) {
        char byte = 0;
        const auto got = ::read(stopPipe[0], &byte, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || byte == kQuit)
            return;
        if (onStop_)
            onStop_();
    }
}

}  // namespace ravelfin::cli
