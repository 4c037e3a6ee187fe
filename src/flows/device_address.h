#pragma once

#include <string>
#include <utility>

#include "transport/reader_transport.h"

namespace ravelfin {

/// Which device of its class a flow opens: by name (a port name or HID path) when one is
/// given, otherwise by enumeration index. Converts from either, so a flow can be handed the
/// connection's `DeviceIndex` or a name that a user typed.
struct DeviceAddress {
    DeviceAddress(int index = -1) : Index(index) {}             // NOLINT: implicit on purpose
    DeviceAddress(std::string name) : Name(std::move(name)) {}  // NOLINT
    DeviceAddress(const char* name) : Name(name) {}             // NOLINT

    int Index = -1;
    std::string Name;
};

/// Opens `device` on `transport`; true when it opened.
inline bool OpenDevice(ReaderTransport& transport, const DeviceAddress& device) {
    return device.Name.empty() ? transport.OpenByIndex(device.Index) : transport.Open(device.Name);
}

}  // namespace ravelfin
