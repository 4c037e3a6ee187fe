#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "protocol/reader_settings.h"

namespace ravelfin {

/// Security levels 3 and 4 lock the track framing (sentinels, prefixes, suffixes).
bool LocksTrackFraming(std::uint8_t securityLevel);

/// What the security level does to the Track settings page when it opens.
enum class PageLock { kEnabled, kDisabled, kUnchanged };
/// Only secure readers (model class 30000) above firmware 4.25 lock the page: levels '3' and
/// '4' disable it, '0' to '2' enable it, any other byte leaves it as it is. Every other
/// reader has it enabled.
PageLock TrackPageLock(const ReaderSettings& settings);

/// The Keyboard settings page works for keyboard readers only (PS/2 and USB-HID-KB).
bool HasKeyboardSettings(std::uint32_t interfaceType);

/// Bits of `SendOptions`.
inline constexpr int kSendSentinelsBit = 0;
inline constexpr int kAccountNumberOnlyBit = 1;
inline constexpr int kErrorIndicationBit = 2;
inline constexpr int kAltFunctionKeysBit = 3;
/// `options` with one bit set or cleared and the others kept.
std::uint8_t WithBit(std::uint8_t options, int bit, bool set);
bool HasBit(std::uint8_t options, int bit);

/// The USB HID keyboard polling interval: 1 to 255.
inline constexpr int kMinPollInterval = 1;
inline constexpr int kMaxPollInterval = 255;
/// The interval a typed text names, or nothing when it is empty, not a whole number (blanks
/// around it allowed) or outside 1 to 255.
std::optional<std::uint8_t> ParsePollInterval(std::string_view text);

}  // namespace ravelfin
