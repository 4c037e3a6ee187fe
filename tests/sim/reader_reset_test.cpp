#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "protocol/reader_operations.h"
#include "sim/simulated_environment.h"
#include "sim_test_support.h"
#include "transport/transport_factory.h"

namespace ravelfin {
namespace {

using Change = DeviceEvent::Change;

/// A machine with one simulated reader and a monitor that keeps what it heard.
struct ResetRig {
    explicit ResetRig(const char* optionText) {
        Attach(env, optionText);
        monitor = env.CreateDeviceMonitor();
        std::string error;
        EXPECT_TRUE(monitor->Start([this](const DeviceEvent& e) { heard.push_back(e); }, error));
    }
    /// Opens the reader as `type`, sends one frame and lets go of it; true when it took it.
    bool Send(int type, const Bytes& frame) {
        auto transport = MakeTransport(type, env);
        if (!transport->OpenByIndex(0))
            return false;
        Bytes answer(1024);
        std::size_t length = 0;
        const bool ok = transport->Exchange(frame, answer, length);
        EXPECT_TRUE(env.Reader(0).IsPlugged());  // the reader resets once the host lets go
        transport->Close();
        return ok;
    }

    SimulatedEnvironment env;
    std::unique_ptr<DeviceMonitor> monitor;
    std::vector<DeviceEvent> heard;
};

TEST(SimulatedReaderReset, ARestartWaitReachesTheProgramsPauseAsOne) {
    struct ProgramPause final : Pause {
        int plain = 0;
        std::vector<int> restarts;
        void Wait(int milliseconds) override { plain += milliseconds; }
        void WaitForRestart(int milliseconds) override { restarts.push_back(milliseconds); }
    } program;
    SimulatedEnvironment env(program);
    Attach(env, "usb-hid");
    auto transport = MakeTransport(kInterfaceUsbHid, env);
    ASSERT_TRUE(transport->OpenByIndex(0));
    Bytes answer(1024);
    std::size_t length = 0;
    ASSERT_TRUE(transport->Exchange(SetFrame({0x23, 1, '8'}), answer, length));
    transport->Close();
    ASSERT_FALSE(env.Reader(0).IsPlugged());

    program.plain = 0;
    env.GetPause().WaitForRestart(8000);
    EXPECT_EQ(program.plain, 0);
    EXPECT_EQ(program.restarts.size(), 2u);  // up to the reader's return, then the rest
    EXPECT_EQ(std::accumulate(program.restarts.begin(), program.restarts.end(), 0), 8000);
    EXPECT_TRUE(env.Reader(0).IsPlugged());
}

TEST(SimulatedReaderReset, OnlyAChangeThatResetsARealReaderDoes) {
    // The same values again, another setting, a keyboard's interval on a HID reader, a
    // format on a serial reader: nobody leaves.
    for (const auto& [optionText, type, frame] :
         {std::tuple{"usb-hid", kInterfaceUsbHid, SetFrame({0x23, 1, '0', 0x10, 1, '5'})},
          std::tuple{"usb-hid", kInterfaceUsbHid, SetFrame({0x14, 1, 9})},
          std::tuple{"usb-hid-kb", kInterfaceUsbHidKb, SetFrame({0x23, 1, '8', 0x14, 1, 1})},
          std::tuple{"rs232", kInterfaceRs232, SetFrame({0x23, 1, '8'})},
          std::tuple{"usb-hid-kb", kInterfaceUsbHidKb, CommandFrame(kFuncSetDefaults)}}) {
        ResetRig rig(optionText);
        ASSERT_TRUE(rig.Send(static_cast<int>(type), frame)) << optionText;
        EXPECT_TRUE(rig.heard.empty()) << optionText;
        EXPECT_EQ(Listed(rig.env, static_cast<int>(type)).size(), 1u) << optionText;
    }

    // Factory settings reset a keyboard reader that ran with another polling interval.
    ResetRig rig("usb-hid-kb");
    ASSERT_TRUE(rig.Send(kInterfaceUsbHidKb, SetFrame({0x14, 1, 7})));
    rig.env.GetPause().Wait(SimulatedEnvironment::kResetAbsenceMs);
    rig.heard.clear();
    ASSERT_TRUE(rig.Send(kInterfaceUsbHidKb, CommandFrame(kFuncSetDefaults)));
    EXPECT_EQ(rig.heard.size(), 1u);
    EXPECT_EQ(rig.env.Reader(0).Settings().KbPollInterval, 1);
}

}  // namespace
}  // namespace ravelfin
