#include "transport/reader_identity.h"

#include <gtest/gtest.h>

#include "sim/simulated_device_source.h"
#include "transport/device_discovery.h"

namespace ravelfin {
namespace {

TEST(ReaderIdentity, ReadersAreTheSameByPlaceAndSerialNumberNeverByAnUnknownIdentity) {
    const ReaderIdentity reader{"1-2.4", "SN1"};
    EXPECT_TRUE(reader.SameReader({"1-2.4", "SN1"}));
    EXPECT_TRUE(reader.SameReader({"1-2.4", ""}));      // a reader that reports no serial
    EXPECT_FALSE(reader.SameReader({"1-2.4", "SN2"}));  // another reader in its socket
    EXPECT_FALSE(reader.SameReader({"1-2.3", "SN1"}));  // a copy of its serial elsewhere
    EXPECT_TRUE(reader.SameReader({"", "SN1"}));        // asked for by serial number alone
    EXPECT_FALSE(ReaderIdentity({"", "SN1"}).SameReader({"", "SN2"}));
    EXPECT_FALSE(ReaderIdentity({"1-2", ""}).SameReader({"", "SN1"}));
    EXPECT_FALSE(ReaderIdentity{}.SameReader(ReaderIdentity{}));
    EXPECT_FALSE(reader.SameReader(ReaderIdentity{}));

    EXPECT_EQ(reader.Describe(), "port 1-2.4, serial SN1");
    EXPECT_EQ(ReaderIdentity({"", "SN1"}).Describe(), "serial SN1");
    EXPECT_EQ(ReaderIdentity({"/dev/ttyS0", ""}).Describe(), "port /dev/ttyS0");

    // A serial port is placed by its USB socket, else its stable name, else its node.
    SerialPortInfo port{"/dev/ttyUSB0", true, 0x5E1C, 0x0D42, "/dev/serial/by-id/x", "3-1", "S"};
    EXPECT_EQ(IdentityOf(port), (ReaderIdentity{"3-1", "S"}));
    port.PortPath.clear();
    EXPECT_EQ(IdentityOf(port).PortPath, "/dev/serial/by-id/x");
    port.StableName.clear();
    EXPECT_EQ(IdentityOf(port).PortPath, "/dev/ttyUSB0");
    EXPECT_EQ(IdentityOf(HidInterfaceInfo{"/dev/hidraw4", 1, 2, "", ""}).PortPath, "/dev/hidraw4");
}

TEST(ReaderIdentity, TheUsbPlaceIsTheLastUsbDeviceOnTheSysfsPath) {
    EXPECT_EQ(UsbPortPathOf("/sys/devices/pci0000:00/0000:00:14.0/usb1/1-2/1-2.4/1-2.4:1.0/"
                            "0003:3A1D:4206.0005/hidraw/hidraw3"),
              "1-2.4");
    EXPECT_EQ(UsbPortPathOf("/sys/devices/pci0000:00/0000:00:14.0/usb3/3-10/3-10:1.0/ttyUSB0/tty/"
                            "ttyUSB0"),
              "3-10");
    EXPECT_EQ(UsbPortPathOf("/sys/devices/platform/serial8250/tty/ttyS0"), "");
    EXPECT_EQ(UsbPortPathOf("/sys/devices/virtual/misc/uhid/0003:3A1D:4206.0001/hidraw/hidraw0"),
              "");
    EXPECT_EQ(UsbPortPathOf("a-1/1-x/1-/-1/1.2"), "");
}

TEST(ReaderIdentity, FindReaderTakesTheOneReaderWithTheIdentityWhereverItIsListed) {
    SimulatedDeviceSource source;
    source.AddHidInterface({"/dev/hidraw0", 0x3A1D, 0x4206, "1-1", "A"});
    source.AddHidInterface({"/dev/hidraw1", 0x046D, 0xC077, "1-3", "B"});  // not a reader
    source.AddHidInterface({"/dev/hidraw2", 0x3A1D, 0x4103, "1-2", "B"});
    DeviceEntry found;
    ASSERT_TRUE(FindReader(source, {"1-2", "B"}, {kInterfaceUsbHid, kInterfaceUsbHidKb}, found));
    EXPECT_EQ(found, (DeviceEntry{kInterfaceUsbHidKb, "/dev/hidraw2", 2, {"1-2", "B"}, ""}));
    EXPECT_FALSE(FindReader(source, {"1-2", "B"}, {kInterfaceUsbHid}, found));  // other kind
    EXPECT_FALSE(FindReader(source, {"1-3", "B"}, {kInterfaceUsbHid, kInterfaceUsbHidKb}, found));
    EXPECT_FALSE(FindReader(source, {"1-9", ""}, {kInterfaceUsbHid}, found));

    // Two readers that both answer to a serial number cannot be told apart.
    source.AddHidInterface({"/dev/hidraw3", 0x3A1D, 0x4201, "1-4", "A"});
    EXPECT_FALSE(FindReader(source, {"", "A"}, {kInterfaceUsbHid}, found));
    EXPECT_TRUE(FindReader(source, {"1-4", "A"}, {kInterfaceUsbHid}, found));
    EXPECT_EQ(found.Index, 3);

    EXPECT_TRUE(DescribeDevice(source, kInterfaceUsbHid, 3, found));
    EXPECT_EQ(found.Identity, (ReaderIdentity{"1-4", "A"}));
    EXPECT_FALSE(DescribeDevice(source, kInterfaceUsbHidKb, 3, found));
    EXPECT_FALSE(DescribeDevice(source, kInterfaceUsbHid, 1, found));
}

}  // namespace
}  // namespace ravelfin
