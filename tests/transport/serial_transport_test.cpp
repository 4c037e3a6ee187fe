#include "transport/serial_transport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "transport_test_support.h"

namespace ravelfin {
namespace {

class SerialTransportTest : public ::testing::Test {
protected:
    void SetUp() override {
        AttachReader(environment_, kInterfaceRs232);
        ASSERT_TRUE(transport_.OpenByIndex(0));
        environment_.RecordedPauses().Waits.clear();
    }

    SimulatedReader& reader() { return environment_.Reader(0); }

    bool Exchange(const Bytes& frame, std::size_t capacity) {
        answer_.assign(capacity, 0xEE);
        length_ = 12345;
        return transport_.Exchange(frame, answer_, length_);
    }
    Bytes Received() const {
        return Bytes(answer_.begin(), answer_.begin() + static_cast<std::ptrdiff_t>(length_));
    }

    SimulatedEnvironment environment_;
    SerialTransport transport_{kInterfaceRs232, environment_};
    Bytes answer_;
    std::size_t length_ = 0;
};

TEST_F(SerialTransportTest, AnswerEndsAtSilenceWithoutPaddingAndStopsAtTheCapacity) {
    const Bytes expected = reader().Answer(CommandFrame(kFuncReadAll));
    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadAll), 1024));
    EXPECT_EQ(Received(), expected);
    // 1000 ms after sending, then 1000 ms of silence waited for in steps.
    const auto& waits = environment_.RecordedPauses().Waits;
    ASSERT_FALSE(waits.empty());
    EXPECT_EQ(waits.front(), 1000);
    EXPECT_EQ(environment_.RecordedPauses().Total(), 2000);

    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadAll), 20));
    EXPECT_EQ(Received(), Bytes(expected.begin(), expected.begin() + 20));
    // The rest of that answer was not left behind for the next exchange.
    ASSERT_TRUE(Exchange(CommandFrame(kFuncReadVersion), 64));
    EXPECT_EQ(Received(), reader().Answer(CommandFrame(kFuncReadVersion)));
}

TEST_F(SerialTransportTest, EveryExchangeNeedsAnAckFirst) {
    reader().SetFault(SimulatedFault::Nak);
    EXPECT_FALSE(Exchange(CommandFrame(kFuncReadVersion), 64));
    EXPECT_EQ(Received(), Bytes{kNak});

    reader().SetFault(SimulatedFault::NoAnswer);
    EXPECT_FALSE(Exchange(CommandFrame(kFuncReadAll), 64));
    EXPECT_EQ(length_, 0u);

    reader().SetFault(SimulatedFault::None);
    EXPECT_FALSE(Exchange(SetFrame({0x99, 1, '1'}), 64));
    EXPECT_EQ(Received(), Bytes{kRefused});
    EXPECT_TRUE(Exchange(SetFrame({0x10, 1, '5'}), 64));
    EXPECT_EQ(reader().Settings().TerminalType, '5');
}

TEST_F(SerialTransportTest, PortsOpenExclusivelyByNameOrIndex) {
    EXPECT_EQ(transport_.GetDeviceName(), "/sim/ttyS0");
    SerialTransport other(7, environment_);
    EXPECT_EQ(other.GetInterfaceType(), kInterfaceRs232);
    EXPECT_FALSE(other.OpenByIndex(0));
    EXPECT_EQ(other.LastOpenError(), PortError::Busy);
    EXPECT_FALSE(other.OpenByIndex(5));
    EXPECT_EQ(other.DeviceIndex, 5);
    EXPECT_FALSE(other.Open(""));
    EXPECT_TRUE(other.Close());

    EXPECT_TRUE(transport_.Close());
    EXPECT_EQ(transport_.GetDeviceName(), "");
    std::size_t length = 3;
    Bytes answer(16);
    EXPECT_FALSE(transport_.Exchange(CommandFrame(kFuncReadVersion), answer, length));
    EXPECT_EQ(length, 0u);
    EXPECT_TRUE(other.Open("/sim/ttyS0"));
}

TEST_F(SerialTransportTest, FirmwareVersionClosesThePortAfterwardsEvenOnFailure) {
    std::string version;
    reader().SetFault(SimulatedFault::Nak);
    EXPECT_FALSE(transport_.GetFirmwareVersion(version));
    EXPECT_EQ(transport_.GetDeviceName(), "");

    reader().SetFault(SimulatedFault::None);
    ASSERT_TRUE(transport_.GetFirmwareVersion(version));
    EXPECT_EQ(version, "V4.30");
    EXPECT_EQ(transport_.GetDeviceName(), "");
    SerialTransport other(kInterfaceUsbRs232, environment_);
    EXPECT_TRUE(other.OpenByIndex(0));
}

/// Notes how many exchanges are inside their pause at once, dawdling there a little.
class OverlapPause final : public Pause {
public:
    void Wait(int) override {
        const int now = ++inside_;
        int seen = most;
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        for (int i = 0; i < 200; ++i)
            std::this_thread::yield();
        --inside_;
    }
    std::atomic<int> most{0};

private:
    std::atomic<int> inside_{0};
};

TEST(SerialTransportLock, ExchangesFromTwoThreadsNeverInterleave) {
    OverlapPause pause;
    SimulatedEnvironment environment(pause);
    AttachReader(environment, kInterfaceRs232);
    SerialTransport transport(kInterfaceRs232, environment);
    ASSERT_TRUE(transport.OpenByIndex(0));
    SimulatedReader& reader = environment.Reader(0);
    const Bytes version = reader.Answer(CommandFrame(kFuncReadVersion));
    const Bytes all = reader.Answer(CommandFrame(kFuncReadAll));
    auto run = [&](std::uint8_t funcId, const Bytes& expected, int& good) {
        for (int i = 0; i < 200; ++i) {
            Bytes answer(1024);
            std::size_t length = 0;
            if (transport.Exchange(CommandFrame(funcId), answer, length) &&
                Bytes(answer.begin(), answer.begin() + static_cast<std::ptrdiff_t>(length)) ==
                    expected) {
                ++good;
            }
        }
    };
    int goodVersions = 0;
    int goodReads = 0;
    std::thread first(run, kFuncReadVersion, std::cref(version), std::ref(goodVersions));
    std::thread second(run, kFuncReadAll, std::cref(all), std::ref(goodReads));
    first.join();
    second.join();
    EXPECT_EQ(pause.most, 1);
    EXPECT_EQ(goodVersions, 200);
    EXPECT_EQ(goodReads, 200);
}

}  // namespace
}  // namespace ravelfin
