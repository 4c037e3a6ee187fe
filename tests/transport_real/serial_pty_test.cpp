#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "protocol/settings_parser.h"
#include "sim/recording_pause.h"
#include "sim/sim_test_support.h"
#include "sim/terminal_reader_server.h"
#include "transport/real/hidapi_device.h"
#include "transport/real/qt_serial_link.h"
#include "transport/real/real_environment.h"
#include "transport/serial_transport.h"

namespace ravelfin {
namespace {

/// A simulated RS-232 reader served on a pseudo-terminal for the length of one test.
struct ServedReader {
    ServedReader() {
        std::string error;
        EXPECT_TRUE(server.Start(error)) << error;
        thread = std::thread([this] { served = server.Serve(stop, 20); });
    }
    ~ServedReader() { Stop(); }
    /// Stops serving; the reader may be looked at from this thread afterwards.
    void Stop() {
        stop = true;
        if (thread.joinable())
            thread.join();
    }

    SimulatedReader reader{ReaderOptions(kInterfaceRs232)};
    TerminalReaderServer server{reader};
    std::atomic<bool> stop{false};
    bool served = false;
    std::thread thread;
};

/// The real serial link, but the pauses are only counted: an answer's first byte is waited
/// for as long as the served reader takes (its thread has to run), every later read sees at
/// once what has come.
class CountedPauses final : public ReaderEnvironment {
  public:
    DeviceSource& Devices() override { return real_.Devices(); }
    std::unique_ptr<HidDevice> CreateHidDevice() override { return real_.CreateHidDevice(); }
    std::unique_ptr<SerialLink> CreateSerialLink() override {
        return std::make_unique<FirstByteAwaited>(real_.CreateSerialLink());
    }
    Pause& GetPause() override { return pause; }
    RecordingPause pause;

  private:
    struct FirstByteAwaited final : SerialLink {
        explicit FirstByteAwaited(std::unique_ptr<SerialLink> link) : link(std::move(link)) {}
        bool Open(const std::string& name) override { return link->Open(name); }
        void Close() override { link->Close(); }
        bool IsOpen() const override { return link->IsOpen(); }
        bool Write(std::span<const std::uint8_t> bytes) override {
            awaiting = true;
            return link->Write(bytes);
        }
        ReadResult ReadByte(std::uint8_t& byte, int timeoutMs) override {
            const ReadResult result = link->ReadByte(byte, awaiting ? 5000 : timeoutMs);
            awaiting = false;
            return result;
        }
        void PurgeReceive() override { link->PurgeReceive(); }
        PortError LastError() const override { return link->LastError(); }
        std::unique_ptr<SerialLink> link;
        bool awaiting = false;
    };
    RealEnvironment real_{pause};
};

TEST(SerialOverPty, ASetFrameReachesTheReaderAndReadAllEndsAtOneSecondOfSilence) {
    ServedReader served;
    CountedPauses environment;
    SerialTransport transport(kInterfaceRs232, environment);
    ASSERT_TRUE(transport.Open(served.server.TerminalPath()))
        << static_cast<int>(transport.LastOpenError());

    Bytes answer(kSettingsBuffer);
    std::size_t length = 0;
    EXPECT_TRUE(transport.Exchange(SetFrame({0x10, 1, '5', '8', 2, 1, 0x0D}), answer, length));
    EXPECT_EQ(length, 1u);

    environment.pause.Waits.clear();
    ASSERT_TRUE(transport.Exchange(CommandFrame(kFuncReadAll), answer, length));
    served.Stop();
    EXPECT_TRUE(served.served);
    // The answer pause, then a second of silence in steps.
    EXPECT_EQ(environment.pause.Waits.front(), 1000);
    EXPECT_EQ(environment.pause.Total(), 2000);
    ReaderSettings parsed(kInterfaceRs232);
    ASSERT_TRUE(ParseSettings(std::span(answer).first(length), parsed));
    EXPECT_EQ(parsed, served.reader.Settings());
    EXPECT_EQ(parsed.TerminalType, '5');
    EXPECT_EQ(parsed.Track2Suffix, Bytes{0x0D});
}

TEST(SerialOverPty, OpeningIsExclusiveAndSaysWhyItFailed) {
    ServedReader served;
    QtSerialLink first;
    ASSERT_TRUE(first.Open(served.server.TerminalPath()));  // a pseudo-terminal has no DTR or RTS
    QtSerialLink second;
    EXPECT_FALSE(second.Open(served.server.TerminalPath()));
    EXPECT_EQ(second.LastError(), PortError::Busy);
    first.Close();
    EXPECT_TRUE(second.Open(served.server.TerminalPath()));

    EXPECT_FALSE(second.Open("/dev/ravelfin-no-such-port"));
    EXPECT_EQ(second.LastError(), PortError::NotFound);
    HidapiDevice hid;
    EXPECT_FALSE(hid.Open("/dev/ravelfin-no-such-hidraw", HidDevice::Access::ReadWrite));
    EXPECT_EQ(hid.LastError(), PortError::NotFound);
}

}  // namespace
}  // namespace ravelfin
