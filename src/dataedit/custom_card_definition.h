#pragma once

#include <array>

#include "protocol/bytes.h"

namespace ravelfin {

/// Record kinds of the custom card definitions; each record starts with its kind byte.
inline constexpr std::uint8_t kLengthLimitRecord = 0xF0;
inline constexpr std::uint8_t kMatchStringRecord = 0xF1;
inline constexpr std::uint8_t kBeforeField = 0xF2;
inline constexpr std::uint8_t kBetweenField = 0xF3;
inline constexpr std::uint8_t kAfterField = 0xF4;
inline constexpr std::uint8_t kAmongField = 0xF5;

inline constexpr std::size_t kMaxCustomFields = 12;

/// The rules that make a card a "Custom" (or "Custom2") card and cut its fields.
struct CustomCardDefinition {
    /// Field definitions (kinds 0xF2 to 0xF5); the one at position i has field number i.
    std::vector<Bytes> fields;
    /// Per track (index = track - 1): empty, or one 0xF0 record.
    std::array<Bytes, 3> lengthLimits;
    /// Per track (index = track - 1): empty, or one 0xF1 record.
    std::array<Bytes, 3> matchStrings;

    void Clear() {
        fields.clear();
        for (auto& b : lengthLimits) b.clear();
        for (auto& b : matchStrings) b.clear();
    }
    bool operator==(const CustomCardDefinition&) const = default;
};

}  // namespace ravelfin
