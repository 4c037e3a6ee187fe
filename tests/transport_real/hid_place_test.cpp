#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "transport/real/hidapi_device.h"
#include "transport/real/sysfs_usb_place.h"

namespace ravelfin {
namespace {

namespace fs = std::filesystem;

// A HID device that is not on USB (made through uhid, say) is known by what its driver
// calls its place and by its unique id, so that it is found again after it restarts
// under another node.
TEST(HidPlace, AHidDeviceIsKnownByItsIdsAndOffUsbByItsPhysAndUniq) {
    const char* uevent =
        "DRIVER=hid-generic\n"
        "HID_ID=0003:00003A1D:00004206\n"
        "HID_NAME=Orvane Ravelfin MSR\n"
        "HID_PHYS=ravelfin-uhid-212/1\n"
        "HID_UNIQ=SN00000002\n"
        "MODALIAS=hid:b0003g0001v00003A1Dp00004206\n";
    const UsbPlace place = HidPlaceOfUevent(uevent);
    EXPECT_EQ(place.PortPath, "ravelfin-uhid-212/1");
    EXPECT_EQ(place.SerialNumber, "SN00000002");
    EXPECT_EQ(HidPlaceOfUevent("HID_PHYS=\nHID_UNIQ=\n").SerialNumber, "");
    EXPECT_EQ(HidPlaceOfUevent("XHID_UNIQ=SN1\n").SerialNumber, "");
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    ASSERT_TRUE(ParseHidUevent(uevent, vendor, product));
    EXPECT_EQ(std::tie(vendor, product), std::tuple(0x3A1D, 0x4206));
    EXPECT_FALSE(ParseHidUevent("HID_NAME=x\n", vendor, product));
    EXPECT_FALSE(ParseHidUevent("HID_ID=0003:00013A1D:00004206\n", vendor, product));

    const fs::path tmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    const fs::path device = tmp / "hid-place-test" / "0003:3A1D:4206.0007";
    fs::create_directories(device);
    std::ofstream(device / "uevent") << uevent;
    const UsbPlace read = ReadHidPlace(device.string());
    EXPECT_EQ(read.PortPath, "ravelfin-uhid-212/1");
    EXPECT_EQ(read.SerialNumber, "SN00000002");
    fs::remove_all(tmp / "hid-place-test");
}

}  // namespace
}  // namespace ravelfin
