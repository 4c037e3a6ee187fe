#include <gtest/gtest.h>

#include "protocol/interface_type.h"
#include "transport/real/udev_device_monitor.h"

namespace ravelfin {
namespace {

TEST(UdevDeviceMonitor, TellsReadersFromOtherDevicesByTheirIds) {
    EXPECT_EQ(UdevDeviceType("hidraw", "0003:00003A1D:00004206", "", ""), kInterfaceUsbHid);
    EXPECT_EQ(UdevDeviceType("hidraw", "0003:00003A1D:00004101", "", ""), kInterfaceUsbHidKb);
    EXPECT_EQ(UdevDeviceType("hidraw", "0003:00003A1D:00004207", "", ""), kInterfaceUnknown);
    EXPECT_EQ(UdevDeviceType("hidraw", "0003:0000046D:00004206", "", ""), kInterfaceUnknown);
    EXPECT_EQ(UdevDeviceType("hidraw", "", "", ""), kInterfaceUnknown);
    EXPECT_EQ(UdevDeviceType("tty", "", "5e1c", "0d42"), kInterfaceUsbRs232);
    EXPECT_EQ(UdevDeviceType("tty", "", "5E1C", "0D42"), kInterfaceUsbRs232);
    EXPECT_EQ(UdevDeviceType("tty", "", "0403", "6001"), kInterfaceUnknown);
    EXPECT_EQ(UdevDeviceType("tty", "", "", ""), kInterfaceRs232);
    EXPECT_EQ(UdevDeviceType("input", "", "", ""), kInterfaceUnknown);
}

TEST(UdevDeviceMonitor, StartsAndStopsWhereTheSystemHasUdev) {
    UdevDeviceMonitor monitor;
    std::string error;
    if (!monitor.Start([](const DeviceEvent&) {}, error)) {
        GTEST_SKIP() << "no udev monitor on this machine: " << error;
    }
    monitor.Stop();
    monitor.Stop();
    EXPECT_TRUE(monitor.Start([](const DeviceEvent&) {}, error)) << error;
}

}  // namespace
}  // namespace ravelfin
