#pragma once

#include <string>

#include "transport/device_source.h"

namespace ravelfin {

/// Which reader a device is, in terms that survive its list position and its device node:
/// where it is plugged in and the serial number it reports. A reader that restarts, or that
/// is pulled out and plugged back into the same socket, keeps its identity; another reader
/// plugged in meanwhile does not take it over.
struct ReaderIdentity {
    /// The USB bus and port chain ("1-2.4") of a USB reader; for a serial port without USB
    /// its stable name, else its node; for a HID interface whose USB place is unknown, its
    /// node.
    std::string PortPath;
    /// The USB serial number; empty when the reader reports none.
    std::string SerialNumber;

    /// True when there is anything to recognise the reader by.
    bool IsKnown() const { return !PortPath.empty() || !SerialNumber.empty(); }
    /// True when `other` is the same reader: two serial numbers that are both known must be
    /// equal, and so must two port paths; with no port path on one side the serial numbers
    /// alone decide. Unknown identities are never the same reader.
    bool SameReader(const ReaderIdentity& other) const;
    /// "port 1-2.4, serial SN0001" (the parts that are known), for messages and lists.
    std::string Describe() const;

    bool operator==(const ReaderIdentity&) const = default;
};

ReaderIdentity IdentityOf(const HidInterfaceInfo& hid);
ReaderIdentity IdentityOf(const SerialPortInfo& port);

/// The USB bus and port chain in a sysfs device path: its last directory named like
/// "1-2" or "1-2.4.1" (a USB device, not one of its interfaces such as "1-2.4:1.0").
/// Empty when the path passes no USB device.
std::string UsbPortPathOf(const std::string& sysfsPath);

}  // namespace ravelfin
