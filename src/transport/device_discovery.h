#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "transport/device_source.h"
#include "transport/reader_identity.h"

namespace ravelfin {

/// USB ids that identify readers.
inline constexpr std::uint16_t kReaderVendorId = 0x3A1D;
inline constexpr std::uint16_t kUsbSerialVendorId = 0x5E1C;
inline constexpr std::uint16_t kUsbSerialProductId = 0x0D42;

/// One found device: its interface type (1 to 5), the name to open (port name or device
/// path; "PS/2 Keyboard port" for type 2), its enumeration index within its class, and which
/// reader it is (empty for type 2). Name and index hold for this moment only; the identity
/// holds while the reader stays plugged into the same socket.
struct DeviceEntry {
    int Type = 0;
    std::string Name;
    int Index = 0;
    ReaderIdentity Identity;
    /// A serial port's stable name (/dev/serial/by-id/...), to show beside the node.
    std::string StableName;

    bool operator==(const DeviceEntry&) const = default;
};

/// The interface type of a HID interface with these ids: 3 for keyboard readers, 5 for HID
/// readers, 0 for anything else.
int HidReaderType(std::uint16_t vendorId, std::uint16_t productId);

/// Classifies the serial port with this index. Returns false when there is no such port;
/// otherwise `type` is 4 for a reader's USB virtual port, 1 for a port without USB ids and
/// 0 for any other USB port, and `name` is the port name (empty for type 0).
bool ClassifyPort(DeviceSource& source, int index, int& type, std::string& name);

/// The name of the serial port with this index, whatever it is. False when there is none
/// or its name is empty.
bool GetPortName(DeviceSource& source, int index, std::string& name);

/// Classifies the HID interface with this index. Returns false when there is no such
/// interface; otherwise `type` is 3, 5 or 0 (see `HidReaderType`) and `path` the device
/// path for readers, empty for anything else.
bool ClassifyHidDevice(DeviceSource& source, int index, int& type, std::string& path);

/// The path of the HID interface with this index, whatever it is. False when there is none
/// or its path is empty.
bool GetHidDevicePath(DeviceSource& source, int index, std::string& path);

/// Appends one entry per attached reader of `type`, in enumeration order; entries already in
/// `list` stay. Type 2 always appends the single PS/2 entry; types 0 and above 5 append
/// nothing.
void ListDevices(DeviceSource& source, int type, std::vector<DeviceEntry>& list);

/// Finds the reader with this identity among the attached readers of `types` (see
/// `ReaderIdentity::SameReader`). False when none is attached, and when more than one
/// answers to the identity: which of them is meant cannot be told then.
bool FindReader(DeviceSource& source, const ReaderIdentity& identity,
                std::initializer_list<int> types, DeviceEntry& found);

/// The entry of the device of `type` at `index` of its class, with its identity; false when
/// there is no reader of that type there.
bool DescribeDevice(DeviceSource& source, int type, int index, DeviceEntry& entry);

}  // namespace ravelfin
