#include "transport/device_discovery.h"

#include <gtest/gtest.h>

#include "sim/simulated_device_source.h"
#include "sim/simulated_environment.h"
#include "transport/transport_factory.h"

namespace ravelfin {
namespace {

TEST(DeviceDiscovery, SerialPortsAreTypedByTheirUsbIdsAndKeepTheirIndex) {
    SimulatedDeviceSource source;
    source.AddSerialPort({"/dev/ttyS0", false, 0, 0});
    source.AddSerialPort({"/dev/ttyUSB0", true, 0x0403, 0x6001});  // another vendor's adapter
    source.AddSerialPort({"/dev/ttyUSB1", true, 0x5E1C, 0x0D42});
    source.AddSerialPort({"/dev/ttyUSB2", true, 0x5E1C, 0x0D43});
    source.AddSerialPort({"/dev/ttyS1", false, 0, 0});

    std::vector<DeviceEntry> list{{2, "kept", 0}};
    ListDevices(source, kInterfaceRs232, list);
    EXPECT_EQ(list, (std::vector<DeviceEntry>{
                        {2, "kept", 0}, {1, "/dev/ttyS0", 0}, {1, "/dev/ttyS1", 4}}));
    list.clear();
    ListDevices(source, kInterfaceUsbRs232, list);
    EXPECT_EQ(list, (std::vector<DeviceEntry>{{4, "/dev/ttyUSB1", 2}}));

    int type = -1;
    std::string name = "x";
    EXPECT_TRUE(ClassifyPort(source, 1, type, name));
    EXPECT_EQ(type, 0);
    EXPECT_EQ(name, "");
    EXPECT_TRUE(GetPortName(source, 1, name));
    EXPECT_EQ(name, "/dev/ttyUSB0");
    EXPECT_FALSE(ClassifyPort(source, 5, type, name));
    EXPECT_FALSE(GetPortName(source, 5, name));
    EXPECT_FALSE(GetPortName(source, -1, name));
}

TEST(DeviceDiscovery, HidInterfacesAreReadersByVendorAndProductLists) {
    EXPECT_EQ(HidReaderType(0x3A1D, 0x4101), 3);
    EXPECT_EQ(HidReaderType(0x3A1D, 0x4106), 3);
    EXPECT_EQ(HidReaderType(0x3A1D, 0x4201), 5);
    EXPECT_EQ(HidReaderType(0x3A1D, 0x4206), 5);
    for (std::uint16_t pid : {0x4100, 0x4107, 0x4200, 0x4207, 0x4301}) {
        EXPECT_EQ(HidReaderType(0x3A1D, pid), 0) << pid;
    }
    EXPECT_EQ(HidReaderType(0x3A1E, 0x4206), 0);

    SimulatedDeviceSource source;
    source.AddHidInterface({"/dev/hidraw0", 0x046D, 0xC077});  // a mouse
    source.AddHidInterface({"/dev/hidraw1", 0x3A1D, 0x4206});
    source.AddHidInterface({"/dev/hidraw2", 0x3A1D, 0x4103});
    source.AddHidInterface({"/dev/hidraw3", 0x3A1D, 0x4202});
    std::vector<DeviceEntry> list;
    ListDevices(source, kInterfaceUsbHid, list);
    EXPECT_EQ(list, (std::vector<DeviceEntry>{{5, "/dev/hidraw1", 1}, {5, "/dev/hidraw3", 3}}));
    list.clear();
    ListDevices(source, kInterfaceUsbHidKb, list);
    EXPECT_EQ(list, (std::vector<DeviceEntry>{{3, "/dev/hidraw2", 2}}));

    int type = -1;
    std::string path = "x";
    EXPECT_TRUE(ClassifyHidDevice(source, 0, type, path));
    EXPECT_EQ(type, 0);
    EXPECT_EQ(path, "");
    EXPECT_TRUE(GetHidDevicePath(source, 0, path));
    EXPECT_EQ(path, "/dev/hidraw0");
    EXPECT_FALSE(ClassifyHidDevice(source, 4, type, path));
    EXPECT_FALSE(GetHidDevicePath(source, 4, path));
}

TEST(DeviceDiscovery, KeyboardWedgeIsOneFixedEntryAndOtherTypesListNothing) {
    SimulatedDeviceSource source;
    source.AddHidInterface({"/dev/hidraw0", 0x3A1D, 0x4206});
    std::vector<DeviceEntry> list;
    ListDevices(source, kInterfacePs2, list);
    EXPECT_EQ(list, (std::vector<DeviceEntry>{{2, "PS/2 Keyboard port", 0}}));
    for (int type : {0, 6, -1})
        ListDevices(source, type, list);
    EXPECT_EQ(list.size(), 1u);
}

TEST(DeviceDiscovery, SimulatedReadersTakeTheNextIndexOfTheirOwnClass) {
    SimulatedEnvironment environment;
    std::string error;
    for (std::uint32_t type : {kInterfaceUsbHid, kInterfaceRs232, kInterfaceUsbHid,
                               kInterfaceUsbRs232, kInterfaceUsbHidKb}) {
        SimulatedReaderOptions options;
        options.InterfaceType = type;
        ASSERT_TRUE(environment.AddReader(options, error)) << error;
    }
    SimulatedReaderOptions ps2;
    ps2.InterfaceType = kInterfacePs2;
    EXPECT_FALSE(environment.AddReader(ps2, error));

    std::vector<DeviceEntry> list;
    for (int type = 1; type <= 5; ++type)
        ListDevices(environment.Devices(), type, list);
    EXPECT_EQ(list, (std::vector<DeviceEntry>{{1, "/sim/ttyS0", 0},
                                              {2, "PS/2 Keyboard port", 0},
                                              {3, "/sim/hidraw2", 2},
                                              {4, "/sim/ttyUSB1", 1},
                                              {5, "/sim/hidraw0", 0},
                                              {5, "/sim/hidraw1", 1}}));
}

TEST(DeviceDiscovery, TransportsExistForSerialAndHidTypesOnly) {
    SimulatedEnvironment environment;
    for (int type : {1, 3, 4, 5}) {
        const auto transport = MakeTransport(type, environment);
        ASSERT_NE(transport, nullptr) << type;
        EXPECT_EQ(transport->GetInterfaceType(), type);
        EXPECT_TRUE(transport->IsReady());
    }
    for (int type : {0, 2, 6, -1})
        EXPECT_EQ(MakeTransport(type, environment), nullptr) << type;
}

}  // namespace
}  // namespace ravelfin
