#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "protocol/reader_operations.h"
#include "sim/sim_test_support.h"
#include "sim/simulated_environment.h"
#include "transport/hid_transport.h"
#include "transport/serial_transport.h"
#include "transport/version_answer.h"

namespace ravelfin {
namespace {

/// One simulated reader of `kType` opened by index 0 through a `Transport`, its pauses cleared.
template <class Transport, std::uint32_t kType, const char* kOptionText>
class TransportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Attach(environment_, kOptionText);
        ASSERT_TRUE(transport_.OpenByIndex(0));
        pauses().clear();
    }
    SimulatedReader& reader() { return environment_.Reader(0); }
    std::vector<int>& pauses() { return environment_.RecordedPauses().Waits; }

    /// One exchange into an answer buffer of `capacity` bytes filled with 0xEE.
    bool Exchange(const Bytes& frame, std::size_t capacity) {
        answer_.assign(capacity, 0xEE);
        length_ = 12345;
        return transport_.Exchange(frame, answer_, length_);
    }
    Bytes Received() const {
        return Bytes(answer_.begin(), answer_.begin() + static_cast<std::ptrdiff_t>(length_));
    }

    SimulatedEnvironment environment_;
    Transport transport_{kType, environment_};
    Bytes answer_;
    std::size_t length_ = 0;
};

constexpr std::size_t kPayload = 32;  // feature reports of 33 bytes with the report id

constexpr char kHid[] = "usb-hid";
using HidTransportTest = TransportTest<HidTransport, kInterfaceUsbHid, kHid>;

TEST_F(HidTransportTest, CutsFramesIntoReportPayloadsWithTheRestZeroed) {
    std::vector<Bytes>& reports = environment_.Source().FindHidInterface("/sim/hidraw0")->Reports;
    for (std::size_t length : {kPayload, kPayload + 1, 3 * kPayload - 1}) {
        SCOPED_TRACE(length);
        reports.clear();
        // A set frame of exactly `length` bytes: one preamble of the right size.
        Bytes items{0xD2, static_cast<std::uint8_t>(length - 6),
                    static_cast<std::uint8_t>(length - 7)};
        items.insert(items.end(), length - 7, 'p');
        const Bytes frame = SetFrame(items);
        ASSERT_TRUE(Exchange(frame, 64));
        ASSERT_EQ(reports.size(), (length + kPayload - 1) / kPayload);
        Bytes carried;
        for (const Bytes& report : reports) {
            ASSERT_EQ(report.size(), kPayload + 1);
            EXPECT_EQ(report[0], 0);
            carried.insert(carried.end(), report.begin() + 1, report.end());
        }
        Bytes padded = frame;
        padded.resize(carried.size(), 0);
        EXPECT_EQ(carried, padded);
        EXPECT_EQ(reader().Frames().back(), frame);
    }
}

TEST_F(HidTransportTest, AnswerIsWholePayloadsUntilThreeEmptyPollsAndNeedsRoomForOneMore) {
    const Bytes expected = reader().Answer(CommandFrame(kFuncReadAll));
    const std::size_t delivered = (expected.size() + kPayload - 1) / kPayload * kPayload;
    ASSERT_GT(delivered, 2 * kPayload);

    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadAll), delivered + kPayload));
    Bytes padded = expected;
    padded.resize(delivered, 0);
    EXPECT_EQ(Received(), padded);
    EXPECT_EQ(pauses(), (std::vector<int>{1000, 200, 200, 200}));

    EXPECT_FALSE(Exchange(CommandFrame(kFuncReadAll), delivered + kPayload - 1));
    EXPECT_EQ(length_, delivered);
    EXPECT_EQ(answer_[delivered], 0xEE);  // nothing written past what was counted
    EXPECT_FALSE(Exchange(CommandFrame(kFuncReadVersion), kPayload - 1));
    EXPECT_EQ(length_, 0u);
}

TEST_F(HidTransportTest, ReadsTakeAnyAnswerEvenTheEmptyNakReportWhileSetsNeedAnAck) {
    EXPECT_TRUE(Exchange(SetFrame({0x10, 1, '6'}), 64));
    EXPECT_EQ(answer_[0], kAck);
    EXPECT_FALSE(Exchange(SetFrame({0x99, 1, '6'}), 64));
    EXPECT_EQ(answer_[0], kRefused);
    EXPECT_EQ(length_, kPayload);
    EXPECT_TRUE(Exchange(ReadFrame(0x10), 64));
    EXPECT_EQ(answer_[0], kRefused);

    reader().SetFault(SimulatedFault::NoAnswer);
    pauses().clear();
    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadVersion), 128));
    Bytes nak(kPayload, 0);
    nak[0] = kNak;
    EXPECT_EQ(Received(), nak);
    EXPECT_EQ(pauses(), (std::vector<int>{1000, 200, 200, 200}));
    EXPECT_FALSE(Exchange(SetFrame({0x10, 1, '1'}), 64));
    EXPECT_EQ(Received(), nak);

    // Two empty polls before the answer: still within the three attempts.
    reader().SetFault(SimulatedFault::SlowAnswer);
    const Bytes expected = reader().Answer(CommandFrame(kFuncReadAll));
    pauses().clear();
    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadAll), 1024));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), answer_.begin()));
    EXPECT_EQ(pauses(), (std::vector<int>{1000, 200, 200, 200, 200, 200}));
}

// A reader whose feature reports carry 64 bytes: a write's answer and the empty report after
// it must fit the answer buffer, or every write fails although the reader took it.
TEST_F(HidTransportTest, WithWideFeatureReportsAWriteIsTakenAsTheReaderAcknowledgesIt) {
    transport_.Close();
    environment_.Source().FindHidInterface("/sim/hidraw0")->FeatureReportLength = 65;
    ASSERT_TRUE(transport_.OpenByIndex(0));
    EXPECT_EQ(WriteGeneralSettings(ReaderSettings(kInterfaceUsbHid), &transport_), kWriteOk);
}

TEST_F(HidTransportTest, SetReportsAreTriedThreeTimesTenMillisecondsApart) {
    reader().FailNextSetReports(2);
    EXPECT_TRUE(Exchange(SetFrame({0x10, 1, '4'}), 64));
    EXPECT_EQ(pauses(), (std::vector<int>{10, 10, 1000, 200, 200, 200}));
    EXPECT_EQ(reader().Settings().TerminalType, '4');

    pauses().clear();
    const std::size_t framesBefore = reader().Frames().size();
    reader().FailNextSetReports(3);
    EXPECT_FALSE(Exchange(SetFrame({0x10, 1, '5'}), 64));
    EXPECT_EQ(length_, 0u);
    EXPECT_EQ(pauses(), (std::vector<int>{10, 10, 10}));
    EXPECT_EQ(reader().Frames().size(), framesBefore);
}

TEST_F(HidTransportTest, OpensOnlyReadersOfItsOwnModeAndSaysWhyNot) {
    Attach(environment_, "usb-hid-kb");
    EXPECT_EQ(transport_.ProductId, 0x4206u);
    // A keyboard reader is not taken in HID mode; the device open before is closed.
    EXPECT_FALSE(transport_.Open("/sim/hidraw1"));
    EXPECT_EQ(transport_.GetDeviceName(), "");
    EXPECT_EQ(environment_.Source().FindHidInterface("/sim/hidraw1")->OpenHandles, 0);
    EXPECT_EQ(environment_.Source().FindHidInterface("/sim/hidraw0")->OpenHandles, 0);
    EXPECT_FALSE(Exchange(CommandFrame(kFuncReadAll), 64));
    EXPECT_EQ(length_, 0u);

    HidTransport keyboard(kInterfaceUsbHidKb, environment_);
    EXPECT_TRUE(keyboard.OpenByIndex(1));
    EXPECT_EQ(keyboard.ProductId, 0x4106u);
    keyboard.Close();
    EXPECT_FALSE(keyboard.OpenByIndex(2));
    EXPECT_FALSE(keyboard.Open("/sim/hidraw9"));
    EXPECT_EQ(keyboard.LastOpenError(), PortError::NotFound);
}

// The index names a device only when it is opened: a list that changes later does not move
// an open transport to another device.
TEST_F(HidTransportTest, AnOpenTransportKeepsItsDeviceUntilClosed) {
    Attach(environment_, "usb-hid");
    environment_.Unplug(0);  // the second reader moves up to index 0
    EXPECT_TRUE(transport_.OpenByIndex(0));
    EXPECT_EQ(transport_.GetDeviceName(), "/sim/hidraw0");
    transport_.Close();
    EXPECT_TRUE(transport_.OpenByIndex(0));
    EXPECT_EQ(transport_.GetDeviceName(), "/sim/hidraw1");
}

TEST_F(HidTransportTest, FirmwareVersionIsReadOnceThenServedFromTheCache) {
    transport_.Close();
    std::string version;
    ASSERT_TRUE(transport_.GetFirmwareVersion(version));  // opens by the remembered index
    EXPECT_EQ(version, "V4.30");
    EXPECT_EQ(transport_.GetDeviceName(), "");  // and closes again
    const std::size_t frames = reader().Frames().size();
    reader().SetFault(SimulatedFault::Nak);
    EXPECT_TRUE(transport_.GetFirmwareVersion(version));
    EXPECT_EQ(version, "V4.30");
    EXPECT_EQ(reader().Frames().size(), frames);
}

constexpr char kRs232[] = "rs232";
using SerialTransportTest = TransportTest<SerialTransport, kInterfaceRs232, kRs232>;

TEST_F(SerialTransportTest, AnswerEndsAtSilenceStopsAtTheCapacityAndNeedsAnAck) {
    const Bytes expected = reader().Answer(CommandFrame(kFuncReadAll));
    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadAll), 1024));
    EXPECT_EQ(Received(), expected);
    // 1000 ms after sending, then 1000 ms of silence waited for in steps.
    ASSERT_FALSE(pauses().empty());
    EXPECT_EQ(pauses().front(), 1000);
    EXPECT_EQ(environment_.RecordedPauses().Total(), 2000);

    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadAll), 20));
    EXPECT_EQ(Received(), Bytes(expected.begin(), expected.begin() + 20));
    // The rest of that answer was not left behind for the next exchange.
    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadVersion), 64));
    EXPECT_EQ(Received(), reader().Answer(CommandFrame(kFuncReadVersion)));

    EXPECT_FALSE(Exchange(SetFrame({0x99, 1, '1'}), 64));
    EXPECT_EQ(Received(), Bytes{kRefused});
    EXPECT_TRUE(Exchange(SetFrame({0x10, 1, '5'}), 64));
    EXPECT_EQ(reader().Settings().TerminalType, '5');
}

TEST_F(SerialTransportTest, PortsOpenExclusivelyAndTheVersionReadClosesThemEvenOnFailure) {
    EXPECT_EQ(transport_.GetDeviceName(), "/sim/ttyS0");
    SerialTransport other(kInterfaceRs232, environment_);
    EXPECT_FALSE(other.OpenByIndex(0));

    std::string version;
    reader().SetFault(SimulatedFault::Nak);
    EXPECT_FALSE(transport_.GetFirmwareVersion(version));
    EXPECT_EQ(transport_.GetDeviceName(), "");
    EXPECT_FALSE(Exchange(CommandFrame(kFuncReadVersion), 16));
    EXPECT_EQ(length_, 0u);
    reader().SetFault(SimulatedFault::None);
    ASSERT_TRUE(transport_.GetFirmwareVersion(version));  // reopens by the remembered index
    EXPECT_EQ(version, "V4.30");
    EXPECT_TRUE(other.Open("/sim/ttyS0"));

    // A failed open closes the port opened before and says so.
    EXPECT_FALSE(other.Open("/sim/ttyS9"));
    EXPECT_EQ(other.GetDeviceName(), "");
    EXPECT_TRUE(transport_.Open("/sim/ttyS0"));
}

TEST(VersionAnswer, TextLiesBetweenTheFirstStxAndAnEtxBeforeTheLrc) {
    const std::pair<Bytes, const char*> cases[] = {
        {{0x06, 0x02, 'V', '4', '.', '3', '0', 0x03, 0x4E}, "V4.30"},
        // Cut short: the text received stays, short of the last two bytes, where the ETX and
        // the LRC belong.
        {{0x06, 0x02, 'V', '4', '.', '3', 0x03}, "V4."},
        {{0x06, 0x02, 'V', '4', '.', '3'}, "V4"},
        {{0x06, 0x02, 'V', '4', 0, 0, 0, 0, 0}, "V4"},  // padded HID reports
        {{0x15, 0, 0, 0, 0, 0, 0, 0}, ""},              // no STX
        {{0x06, 'V', '4', '.', 0x03, 0x02}, ""},        // STX too late to hold text
    };
    for (const auto& [answer, text] : cases)
        EXPECT_EQ(VersionTextFromAnswer(answer), text) << answer.size();
}

}  // namespace
}  // namespace ravelfin
