#pragma once

#include <cstdint>
#include <string>

namespace ravelfin {

/// How a reader is attached. The numbers are stored in the preferences and must not change.
enum InterfaceTypeValue : std::uint32_t {
    kInterfaceUnknown = 0,
    kInterfaceRs232 = 1,
    kInterfacePs2 = 2,
    kInterfaceUsbHidKb = 3,
    kInterfaceUsbRs232 = 4,
    kInterfaceUsbHid = 5,
};

/// Display name of an interface type ("Unknown", "RS232", ...); "Unknown" for values past 5.
std::string InterfaceTypeName(std::uint32_t type);

}  // namespace ravelfin
