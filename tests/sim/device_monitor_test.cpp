#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "sim/simulated_clock.h"
#include "sim/simulated_environment.h"
#include "sim_test_support.h"
#include "transport/transport_factory.h"

namespace ravelfin {
namespace {

using Change = DeviceEvent::Change;

/// A monitor of `env` that keeps what it heard.
struct Heard {
    explicit Heard(SimulatedEnvironment& env) : monitor(env.CreateDeviceMonitor()) {
        std::string error;
        EXPECT_TRUE(monitor->Start(
            [this](const DeviceEvent& e) {
                std::lock_guard lock(mutex);
                events.push_back(e);
                changed.notify_all();
            },
            error))
            << error;
    }
    std::vector<DeviceEvent> Events() {
        std::lock_guard lock(mutex);
        return events;
    }
    bool WaitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5),
                                [&] { return events.size() >= count; });
    }

    std::unique_ptr<DeviceMonitor> monitor;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<DeviceEvent> events;
};

TEST(SimulatedDeviceMonitor, HearsPlugsAndUnplugsWhileTheDeviceListsFollow) {
    SimulatedEnvironment env;
    Attach(env, "usb-hid");
    Attach(env, "usb-hid-kb");
    Attach(env, "usb-rs232");
    Heard heard(env);

    env.Unplug(0);
    env.Unplug(0);  // already out: nothing more to tell
    // The keyboard reader moves up to index 0, like on a machine whose reader was pulled out.
    EXPECT_EQ(Listed(env, kInterfaceUsbHid), std::vector<DeviceEntry>{});
    EXPECT_EQ(Listed(env, kInterfaceUsbHidKb),
              (std::vector<DeviceEntry>{{kInterfaceUsbHidKb, "/sim/hidraw1", 0, {}, ""}}));
    auto transport = MakeTransport(kInterfaceUsbHid, env);
    EXPECT_FALSE(transport->Open("/sim/hidraw0"));

    env.Unplug(2);
    EXPECT_EQ(Listed(env, kInterfaceUsbRs232), std::vector<DeviceEntry>{});
    env.Plug(0);
    EXPECT_EQ(Listed(env, kInterfaceUsbHid),
              (std::vector<DeviceEntry>{{kInterfaceUsbHid, "/sim/hidraw0", 0, {}, ""}}));
    EXPECT_EQ(Listed(env, kInterfaceUsbHidKb),
              (std::vector<DeviceEntry>{{kInterfaceUsbHidKb, "/sim/hidraw1", 1, {}, ""}}));

    heard.monitor->Stop();
    env.Unplug(1);
    EXPECT_EQ(heard.Events(), (std::vector<DeviceEvent>{
                                  {Change::Left, true, "/sim/hidraw0", kInterfaceUsbHid},
                                  {Change::Left, false, "/sim/ttyUSB0", kInterfaceUsbRs232},
                                  {Change::Arrived, true, "/sim/hidraw0", kInterfaceUsbHid},
                              }));
}

TEST(SimulatedDeviceMonitor, TheClockPlugsReadersInAndOutAtTheirTimes) {
    SimulatedEnvironment env;
    Attach(env, "usb-hid,arrive=300,leave=900");
    Attach(env, "rs232");
    Attach(env, "usb-hid,arrive=100");
    Attach(env, "usb-hid-kb,leave=300");
    Heard heard(env);

    // Readers with an arrival time are not there before it.
    EXPECT_EQ(Listed(env, kInterfaceUsbHid).size(), 0u);
    EXPECT_EQ(env.NextScheduledMs(), 100);
    env.AdvanceClock(99);
    EXPECT_TRUE(heard.Events().empty());
    env.AdvanceClock(300);
    EXPECT_EQ(Listed(env, kInterfaceUsbHid),
              (std::vector<DeviceEntry>{{kInterfaceUsbHid, "/sim/hidraw0", 0, {}, ""},
                                        {kInterfaceUsbHid, "/sim/hidraw1", 1, {}, ""}}));
    EXPECT_EQ(env.NextScheduledMs(), 900);
    env.AdvanceClock(200);  // the clock does not run backwards
    env.AdvanceClock(5000);
    EXPECT_EQ(env.NextScheduledMs(), -1);
    EXPECT_EQ(heard.Events(), (std::vector<DeviceEvent>{
                                  {Change::Arrived, true, "/sim/hidraw1", kInterfaceUsbHid},
                                  {Change::Arrived, true, "/sim/hidraw0", kInterfaceUsbHid},
                                  {Change::Left, true, "/sim/hidraw2", kInterfaceUsbHidKb},
                                  {Change::Left, true, "/sim/hidraw0", kInterfaceUsbHid},
                              }));
}

TEST(SimulatedDeviceMonitor, ARunningClockDeliversOnItsOwnThreadAndStopsWhenAsked) {
    SimulatedEnvironment env;
    Attach(env, "usb-hid,arrive=0,leave=30");
    Attach(env, "usb-hid,arrive=600000");
    Heard heard(env);
    SimulatedClock clock(env);
    clock.Start();
    ASSERT_TRUE(heard.WaitFor(2));
    clock.Stop();  // long before the second reader is due
    EXPECT_EQ(heard.Events().size(), 2u);
    EXPECT_EQ(env.NextScheduledMs(), 600000);
}

}  // namespace
}  // namespace ravelfin
