#pragma once

#include <string>

namespace ravelfin {

/// Where a device node's USB device sits, read from sysfs: the bus and port chain and the
/// serial number of the USB device above `sysfsDevice` (a link such as
/// /sys/class/hidraw/hidraw3/device). Both empty when the device is not on USB or sysfs
/// cannot be read; the serial number alone empty when the device reports none.
struct UsbPlace {
    std::string PortPath;
    std::string SerialNumber;
};
UsbPlace ReadUsbPlace(const std::string& sysfsDevice);

/// The place and serial number of a HID interface (`sysfsDevice` such as
/// /sys/class/hidraw/hidraw3/device): its USB place when it is on USB; otherwise (made
/// through uhid, on Bluetooth) what the HID layer says, `HidPlaceOfUevent` of its uevent.
UsbPlace ReadHidPlace(const std::string& sysfsDevice);
/// HID_PHYS (where the device sits, as its driver names it) and HID_UNIQ (its serial number)
/// of a HID device's uevent text; empty where the text has none.
UsbPlace HidPlaceOfUevent(const std::string& uevent);

/// The /dev/serial/by-id link to `node`, else its /dev/serial/by-path link; empty when udev
/// made neither.
std::string StableSerialName(const std::string& node);

}  // namespace ravelfin
