#include "sim/terminal_reader_server.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace ravelfin {

TerminalReaderServer::~TerminalReaderServer() {
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

namespace {

// Raw mode: no echo (the server would read its own answers back) and no translation.
void MakeRaw(int terminal) {
    termios settings{};
    if (::tcgetattr(terminal, &settings) == 0) {
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, B9600);
        ::cfsetospeed(&settings, B9600);
        ::tcsetattr(terminal, TCSANOW, &settings);
    }
}

}  // namespace

bool TerminalReaderServer::Start(std::string& error) {
    if (master_ >= 0) return true;
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        error = std::string("cannot create a pseudo-terminal: ") + std::strerror(errno);
        master_ = slave_ = -1;
        return false;
    }
    MakeRaw(slave_);
    terminalPath_ = name;
    return true;
}

bool TerminalReaderServer::Open(const std::string& terminal, std::string& error) {
    if (master_ >= 0) return true;
    master_ = ::open(terminal.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        error = "cannot open " + terminal + ": " + std::strerror(errno);
        return false;
    }
    MakeRaw(master_);
    terminalPath_ = terminal;
    return true;
}

bool TerminalReaderServer::WriteAll(const Bytes& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool TerminalReaderServer::Serve(const std::atomic<bool>& stop, int pollMs) {
    if (master_ < 0) return false;
    std::uint8_t buffer[512];
    while (!stop.load()) {
        pollfd descriptor{master_, POLLIN, 0};
        const int ready = ::poll(&descriptor, 1, pollMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return false;
        if (descriptor.revents & (POLLERR | POLLNVAL)) return false;
        if (ready == 0 || (descriptor.revents & POLLIN) == 0) continue;
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        collector_.Add(std::span(buffer, static_cast<std::size_t>(n)));
        Bytes frame;
        while (collector_.Take(frame)) {
            const Bytes answer = reader_.Answer(frame);
            if (!answer.empty() && !WriteAll(answer)) return false;
        }
    }
    return true;
}

}  // namespace ravelfin
