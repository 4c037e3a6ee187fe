#include "transport/hid_transport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "transport_test_support.h"

namespace ravelfin {
namespace {

constexpr std::size_t kPayload = 32;  // feature reports of 33 bytes with the report id

class HidTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        AttachReader(environment_, kInterfaceUsbHid);
        ASSERT_TRUE(transport_.OpenByIndex(0));
        pauses().clear();
    }

    SimulatedReader& reader() { return environment_.Reader(0); }
    std::vector<int>& pauses() { return environment_.RecordedPauses().Waits; }

    bool Exchange(const Bytes& frame, std::size_t capacity) {
        answer_.assign(capacity, 0xEE);
        length_ = 12345;
        return transport_.Exchange(frame, answer_, length_);
    }
    Bytes Received() const {
        return Bytes(answer_.begin(), answer_.begin() + static_cast<std::ptrdiff_t>(length_));
    }

    SimulatedEnvironment environment_;
    HidTransport transport_{kInterfaceUsbHid, environment_};
    Bytes answer_;
    std::size_t length_ = 0;
};

TEST_F(HidTransportTest, CutsFramesIntoReportPayloadsWithTheRestZeroed) {
    std::vector<Bytes>& reports = environment_.Source().FindHidInterface("/sim/hidraw0")->Reports;
    for (std::size_t length : {kPayload, kPayload + 1, 3 * kPayload - 1}) {
        SCOPED_TRACE(length);
        reports.clear();
        const Bytes frame = SetFrameOfLength(length);
        ASSERT_TRUE(Exchange(frame, 64));
        ASSERT_EQ(reports.size(), (length + kPayload - 1) / kPayload);
        Bytes carried;
        for (const Bytes& report : reports) {
            ASSERT_EQ(report.size(), kPayload + 1);
            EXPECT_EQ(report[0], 0);
            carried.insert(carried.end(), report.begin() + 1, report.end());
        }
        EXPECT_TRUE(std::equal(frame.begin(), frame.end(), carried.begin()));
        EXPECT_TRUE(std::all_of(carried.begin() + static_cast<std::ptrdiff_t>(length),
                                carried.end(), [](std::uint8_t b) { return b == 0; }));
        EXPECT_EQ(reader().Frames().back(), frame);
    }
}

TEST_F(HidTransportTest, AnswerIsWholePayloadsUntilThreeAttemptsBringNothing) {
    const Bytes expected = reader().Answer(CommandFrame(kFuncReadAll));
    const std::size_t reports = (expected.size() + kPayload - 1) / kPayload;
    ASSERT_GT(reports, 2u);
    pauses().clear();

    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadAll), 1024));
    EXPECT_EQ(length_, reports * kPayload);
    const Bytes received = Received();
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), received.begin()));
    EXPECT_TRUE(std::all_of(received.begin() + static_cast<std::ptrdiff_t>(expected.size()),
                            received.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(pauses(), (std::vector<int>{1000, 200, 200, 200}));
}

TEST_F(HidTransportTest, RoomForOneMorePayloadIsRequired) {
    const std::size_t answerLength = reader().Answer(CommandFrame(kFuncReadAll)).size();
    const std::size_t delivered = (answerLength + kPayload - 1) / kPayload * kPayload;

    EXPECT_TRUE(Exchange(CommandFrame(kFuncReadAll), delivered + kPayload));
    EXPECT_EQ(length_, delivered);

    EXPECT_FALSE(Exchange(CommandFrame(kFuncReadAll), delivered + kPayload - 1));
    EXPECT_EQ(length_, delivered);
    EXPECT_EQ(answer_[delivered], 0xEE);  // nothing written past what was counted

    EXPECT_FALSE(Exchange(CommandFrame(kFuncReadVersion), kPayload - 1));
    EXPECT_EQ(length_, 0u);
}

TEST_F(HidTransportTest, AnEmptyNakReportIsTheAnswerWhenNothingElseCame) {
    reader().SetFault(SimulatedFault::NoAnswer);
    // A read succeeds with the NAK as its answer ...
    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadVersion), 128));
    Bytes nak(kPayload, 0);
    nak[0] = kNak;
    EXPECT_EQ(Received(), nak);
    EXPECT_EQ(pauses(), (std::vector<int>{1000, 200, 200, 200}));
    // ... while a set frame needs an ACK.
    EXPECT_FALSE(Exchange(SetFrame({0x10, 1, '1'}), 64));
    EXPECT_EQ(Received(), nak);
}

TEST_F(HidTransportTest, ASlowAnswerWithinThreeAttemptsIsCollectedWhole) {
    reader().SetFault(SimulatedFault::SlowAnswer);
    const Bytes expected = reader().Answer(CommandFrame(kFuncReadAll));
    pauses().clear();
    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadAll), 1024));
    const Bytes received = Received();
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), received.begin()));
    EXPECT_EQ(pauses(), (std::vector<int>{1000, 200, 200, 200, 200, 200}));
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

TEST_F(HidTransportTest, SetSucceedsOnlyOnAckWhileReadsTakeAnyFirstByte) {
    EXPECT_TRUE(Exchange(SetFrame({0x10, 1, '6'}), 64));
    EXPECT_EQ(answer_[0], kAck);
    EXPECT_FALSE(Exchange(SetFrame({0x99, 1, '6'}), 64));
    EXPECT_EQ(answer_[0], kRefused);
    EXPECT_EQ(length_, kPayload);
    EXPECT_TRUE(Exchange(Bytes{kStx, kReadLetter, 0x10, kEtx, 0x43}, 64));
    EXPECT_EQ(answer_[0], kRefused);
}

TEST_F(HidTransportTest, OpeningFollowsPathsIndicesAndTheReaderMode) {
    AttachReader(environment_, kInterfaceUsbHid);
    AttachReader(environment_, kInterfaceUsbHidKb);
    EXPECT_EQ(transport_.GetDeviceName(), "/sim/hidraw0");
    EXPECT_EQ(transport_.ProductId, 0x4206u);

    // Already open by index: the index is not even looked at until Close.
    EXPECT_TRUE(transport_.OpenByIndex(1));
    EXPECT_EQ(transport_.GetDeviceName(), "/sim/hidraw0");
    // The open path again is not reopened: a busy device does not matter then.
    reader().SetFault(SimulatedFault::PortBusy);
    EXPECT_TRUE(transport_.Open("/sim/hidraw0"));
    reader().SetFault(SimulatedFault::None);
    // Another path closes the first device.
    EXPECT_TRUE(transport_.Open("/sim/hidraw1"));
    EXPECT_EQ(transport_.GetDeviceName(), "/sim/hidraw1");
    // A keyboard reader is not taken in HID mode; the device is left closed.
    EXPECT_FALSE(transport_.Open("/sim/hidraw2"));
    EXPECT_EQ(transport_.GetDeviceName(), "");
    std::size_t length = 1;
    EXPECT_FALSE(transport_.Exchange(CommandFrame(kFuncReadAll), answer_, length));
    EXPECT_EQ(length, 0u);

    HidTransport keyboard(kInterfaceUsbHidKb, environment_);
    EXPECT_TRUE(keyboard.OpenByIndex(2));
    EXPECT_EQ(keyboard.ProductId, 0x4106u);
    EXPECT_EQ(keyboard.GetInterfaceType(), kInterfaceUsbHidKb);
    EXPECT_TRUE(keyboard.Close());
    EXPECT_TRUE(keyboard.Close());
    EXPECT_FALSE(keyboard.OpenByIndex(3));
    EXPECT_EQ(keyboard.DeviceIndex, 3);
    EXPECT_FALSE(keyboard.Open(""));

    environment_.Reader(1).SetFault(SimulatedFault::PortBusy);
    EXPECT_FALSE(keyboard.Open("/sim/hidraw1"));
    EXPECT_EQ(keyboard.LastOpenError(), PortError::Busy);
    EXPECT_FALSE(keyboard.Open("/sim/hidraw9"));
    EXPECT_EQ(keyboard.LastOpenError(), PortError::NotFound);
}

TEST_F(HidTransportTest, FirmwareVersionIsReadOnceThenServedFromTheCache) {
    transport_.Close();
    std::string version;
    ASSERT_TRUE(transport_.GetFirmwareVersion(version));  // opens by the remembered index
    EXPECT_EQ(version, "V4.30");
    EXPECT_EQ(transport_.GetDeviceName(), "");  // and closes again
    const std::size_t frames = reader().Frames().size();
    reader().SetFault(SimulatedFault::UnpluggedMidAnswer);
    reader().Answer(CommandFrame(kFuncReadVersion));
    ASSERT_FALSE(reader().IsPlugged());
    EXPECT_TRUE(transport_.GetFirmwareVersion(version));
    EXPECT_EQ(version, "V4.30");
    EXPECT_EQ(reader().Frames().size(), frames + 1);

    HidTransport fresh(kInterfaceUsbHid, environment_);
    EXPECT_FALSE(fresh.GetFirmwareVersion(version));
    EXPECT_EQ(version, "");
}

}  // namespace
}  // namespace ravelfin
