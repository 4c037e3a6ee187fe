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

/// The /dev/serial/by-id link to `node`, else its /dev/serial/by-path link; empty when udev
/// made neither.
std::string StableSerialName(const std::string& node);

}  // namespace ravelfin
