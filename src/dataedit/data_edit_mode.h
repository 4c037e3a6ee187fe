#pragma once

#include <cstdint>

namespace ravelfin {

/// The two choices of the Data Editing page that the `mode` character carries.
struct DataEditChoice {
    bool enabled = false;    // "Enable" rather than "Disable"
    bool unmatched = false;  // "Unmatched" rather than "Matched"
    bool operator==(const DataEditChoice&) const = default;
};

/// Reads `mode`: an odd code means enabled, bit 1 means "Unmatched" ('0' disabled,
/// '1' enabled and matched, '3' enabled and unmatched).
inline constexpr DataEditChoice ReadDataEditMode(std::uint8_t mode) {
    return {(mode & 0x01) != 0, (mode & 0x02) != 0};
}

/// The `mode` character of a choice: '0' when disabled, else '3' for "Unmatched" and '1'
/// for "Matched".
inline constexpr std::uint8_t DataEditModeFor(DataEditChoice choice) {
    if (!choice.enabled)
        return '0';
    return choice.unmatched ? '3' : '1';
}

}  // namespace ravelfin
