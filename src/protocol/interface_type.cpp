#include "protocol/interface_type.h"

#include <array>

namespace ravelfin {

std::string InterfaceTypeName(std::uint32_t type) {
    static const std::array<const char*, 6> kNames = {
        "Unknown", "RS232", "PS/2 Keyboard", "USB-HID-KB", "USB-RS232", "USB-HID"};
    return type < kNames.size() ? kNames[type] : kNames[0];
}

}  // namespace ravelfin
