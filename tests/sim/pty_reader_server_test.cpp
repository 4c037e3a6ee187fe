#include "sim/pty_reader_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "sim_test_support.h"

namespace ravelfin {
namespace {

/// Reads from `fd` until `count` bytes arrived or two seconds passed without them.
Bytes ReadBytes(int fd, std::size_t count) {
    Bytes bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd descriptor{fd, POLLIN, 0};
        if (::poll(&descriptor, 1, 100) <= 0) continue;
        std::uint8_t buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

TEST(PtyReaderServer, AnswersFramesOnTheTerminalAndKeepsSettingsUntilStopped) {
    SimulatedReaderOptions options;
    options.InterfaceType = kInterfaceRs232;
    SimulatedReader reader(options);
    PtyReaderServer server(reader);
    std::string error;
    ASSERT_TRUE(server.Start(error)) << error;
    ASSERT_FALSE(server.TerminalPath().empty());

    std::atomic<bool> stop{false};
    bool served = false;
    std::thread thread([&] { served = server.Serve(stop, 20); });

    const int fd = ::open(server.TerminalPath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    // A set frame split across two writes, then the version read.
    const Bytes set = SetFrame({0x10, 1, '5', 0x34, 3, 2, 'A', 'B'});
    ASSERT_EQ(::write(fd, set.data(), 4), 4);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ASSERT_EQ(::write(fd, set.data() + 4, set.size() - 4), static_cast<ssize_t>(set.size() - 4));
    EXPECT_EQ(ReadBytes(fd, 1), Bytes{kAck});
    const Bytes version = CommandFrame(kFuncReadVersion);
    ASSERT_EQ(::write(fd, version.data(), version.size()), 5);
    EXPECT_EQ(ReadBytes(fd, 9), (Bytes{kAck, kStx, 'V', '4', '.', '3', '0', kEtx, 0x4E}));
    ::close(fd);

    stop = true;
    thread.join();
    EXPECT_TRUE(served);
    EXPECT_EQ(reader.Settings().TerminalType, '5');
    EXPECT_EQ(reader.Settings().Track1Prefix, BytesFromText("AB"));
}

}  // namespace
}  // namespace ravelfin
