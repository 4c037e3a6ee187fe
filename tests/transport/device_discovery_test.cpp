#include "transport/device_discovery.h"

#include <gtest/gtest.h>

#include "sim/sim_test_support.h"
#include "sim/simulated_device_source.h"
#include "sim/simulated_environment.h"
#include "transport/transport_factory.h"

namespace ravelfin {
namespace {

using List = std::vector<DeviceEntry>;

List Listed(DeviceSource& source, int type, List list = {}) {
    ListDevices(source, type, list);
    return list;
}

TEST(DeviceDiscovery, SerialPortsAreTypedByTheirUsbIdsAndKeepTheirIndex) {
    SimulatedDeviceSource source;
    // ttyUSB0 is another vendor's adapter.
    source.AddSerialPort({"/dev/ttyS0", false, 0, 0, "", "", ""});
    source.AddSerialPort({"/dev/ttyUSB0", true, 0x0403, 0x6001, "", "", ""});
    source.AddSerialPort({"/dev/ttyUSB1", true, 0x5E1C, 0x0D42, "", "", ""});
    source.AddSerialPort({"/dev/ttyUSB2", true, 0x5E1C, 0x0D43, "", "", ""});
    source.AddSerialPort({"/dev/ttyS1", false, 0, 0, "", "", ""});

    // A port without USB is known by its node when udev gives it no stable name.
    EXPECT_EQ(Listed(source, kInterfaceRs232, {{2, "kept", 0, {}, ""}}),
              (List{{2, "kept", 0, {}, ""},
                    {1, "/dev/ttyS0", 0, {"/dev/ttyS0", ""}, ""},
                    {1, "/dev/ttyS1", 4, {"/dev/ttyS1", ""}, ""}}));
    EXPECT_EQ(Listed(source, kInterfaceUsbRs232),
              (List{{4, "/dev/ttyUSB1", 2, {"/dev/ttyUSB1", ""}, ""}}));
    EXPECT_EQ(Listed(source, kInterfacePs2), (List{{2, "PS/2 Keyboard port", 0, {}, ""}}));
    for (int type : {0, 6, -1})
        EXPECT_EQ(Listed(source, type), List{}) << type;

    // Opening by index takes any port, reader or not.
    std::string name;
    EXPECT_TRUE(GetPortName(source, 1, name));
    EXPECT_EQ(name, "/dev/ttyUSB0");
}

TEST(DeviceDiscovery, HidInterfacesAreReadersByVendorAndProductRanges) {
    const std::pair<std::uint16_t, int> products[] = {{0x4100, 0}, {0x4101, 3}, {0x4106, 3},
                                                      {0x4107, 0}, {0x4200, 0}, {0x4201, 5},
                                                      {0x4206, 5}, {0x4207, 0}};
    for (const auto& [product, type] : products)
        EXPECT_EQ(HidReaderType(0x3A1D, product), type) << std::hex << product;
    EXPECT_EQ(HidReaderType(0x3A1E, 0x4206), 0);

    SimulatedDeviceSource source;
    source.AddHidInterface({"/dev/hidraw0", 0x046D, 0xC077, "", ""});  // a mouse
    source.AddHidInterface({"/dev/hidraw1", 0x3A1D, 0x4206, "", ""});
    source.AddHidInterface({"/dev/hidraw2", 0x3A1D, 0x4103, "", ""});
    source.AddHidInterface({"/dev/hidraw3", 0x3A1D, 0x4202, "", ""});
    EXPECT_EQ(Listed(source, kInterfaceUsbHid),
              (List{{5, "/dev/hidraw1", 1, {"/dev/hidraw1", ""}, ""},
                    {5, "/dev/hidraw3", 3, {"/dev/hidraw3", ""}, ""}}));
    EXPECT_EQ(Listed(source, kInterfaceUsbHidKb),
              (List{{3, "/dev/hidraw2", 2, {"/dev/hidraw2", ""}, ""}}));

    std::string path;
    EXPECT_TRUE(GetHidDevicePath(source, 0, path));
    EXPECT_EQ(path, "/dev/hidraw0");
}

}  // namespace
}  // namespace ravelfin
