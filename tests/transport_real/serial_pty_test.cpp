#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <thread>

#include "protocol/command_frame.h"
#include "protocol/settings_encoder.h"
#include "protocol/settings_parser.h"
#include "sim/pty_reader_server.h"
#include "transport/real/hidapi_device.h"
#include "transport/real/qt_serial_link.h"
#include "transport/real/real_environment.h"
#include "transport/serial_transport.h"

namespace ravelfin {
namespace {

/// A simulated RS-232 reader served on a pseudo-terminal for the length of one test.
class ServedReader {
public:
    ServedReader() : reader_(Options()), server_(reader_) {
        std::string error;
        started_ = server_.Start(error);
        EXPECT_TRUE(started_) << error;
        if (started_) thread_ = std::thread([this] { server_.Serve(stop_, 20); });
    }
    ~ServedReader() { Stop(); }
    /// Stops serving; the reader may be looked at from this thread afterwards.
    void Stop() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }
    const std::string& Path() const { return server_.TerminalPath(); }
    SimulatedReader& Reader() { return reader_; }

private:
    static SimulatedReaderOptions Options() {
        SimulatedReaderOptions options;
        options.InterfaceType = kInterfaceRs232;
        return options;
    }

    SimulatedReader reader_;
    PtyReaderServer server_;
    bool started_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(SerialOverPty, ReadAllArrivesWholeAndEndsAtOneSecondOfSilence) {
    ServedReader served;
    RealEnvironment environment;
    SerialTransport transport(kInterfaceRs232, environment);
    ASSERT_TRUE(transport.Open(served.Path())) << static_cast<int>(transport.LastOpenError());

    std::array<std::uint8_t, kShortFrameBuffer> frame{};
    std::size_t frameLength = 0;
    ASSERT_TRUE(BuildCommandFrame(kFuncReadAll, {}, frame, frameLength));
    std::array<std::uint8_t, kSettingsBuffer> answer{};
    std::size_t answerLength = 0;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(transport.Exchange(std::span(frame).first(frameLength), answer, answerLength));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    served.Stop();

    EXPECT_GE(elapsed, std::chrono::milliseconds(1950));
    EXPECT_LT(elapsed, std::chrono::milliseconds(4000));
    ReaderSettings record(kInterfaceRs232);
    ASSERT_TRUE(ParseSettings(std::span(answer).first(answerLength), record));
    EXPECT_EQ(record, served.Reader().Settings());
}

TEST(SerialOverPty, AGeneralSettingsFrameReachesTheReader) {
    ServedReader served;
    RealEnvironment environment;
    SerialTransport transport(kInterfaceRs232, environment);
    ASSERT_TRUE(transport.Open(served.Path()));

    ReaderSettings record(kInterfaceRs232);
    record.FirmwareVersionNumber = 4.3;
    record.TerminalType = '5';
    record.Track2Suffix = {'E', 'N', 'D', 0x0D};
    std::array<std::uint8_t, kSettingsBuffer> frame{};
    std::size_t frameLength = 0;
    ASSERT_TRUE(EncodeGeneralSettings(record, frame, frameLength));
    std::array<std::uint8_t, kWriteAnswerBuffer> answer{};
    std::size_t answerLength = 0;
    EXPECT_TRUE(transport.Exchange(std::span(frame).first(frameLength), answer, answerLength));
    EXPECT_EQ(answerLength, 1u);
    transport.Close();
    served.Stop();
    EXPECT_EQ(served.Reader().Settings().TerminalType, '5');
    EXPECT_EQ(served.Reader().Settings().Track2Suffix, record.Track2Suffix);
}

TEST(SerialOverPty, OpeningIsExclusiveAndSaysWhyItFailed) {
    ServedReader served;
    QtSerialLink first;
    ASSERT_TRUE(first.Open(served.Path()));  // a pseudo-terminal has no DTR or RTS
    QtSerialLink second;
    EXPECT_FALSE(second.Open(served.Path()));
    EXPECT_EQ(second.LastError(), PortError::Busy);
    first.Close();
    EXPECT_TRUE(second.Open(served.Path()));

    EXPECT_FALSE(second.Open("/dev/ravelfin-no-such-port"));
    EXPECT_EQ(second.LastError(), PortError::NotFound);
    HidapiDevice hid;
    EXPECT_FALSE(hid.Open("/dev/ravelfin-no-such-hidraw", HidDevice::Access::ReadWrite));
    EXPECT_EQ(hid.LastError(), PortError::NotFound);
}

TEST(HidUevent, GivesTheUsbIdsOfTheNode) {
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    ASSERT_TRUE(ParseHidUevent("DRIVER=hid-generic\nHID_ID=0003:00003A1D:00004206\nHID_NAME=x\n",
                               vendor, product));
    EXPECT_EQ(vendor, 0x3A1D);
    EXPECT_EQ(product, 0x4206);
    EXPECT_FALSE(ParseHidUevent("HID_NAME=x\n", vendor, product));
    EXPECT_FALSE(ParseHidUevent("HID_ID=0003:00013A1D:00004206\n", vendor, product));
}

}  // namespace
}  // namespace ravelfin
