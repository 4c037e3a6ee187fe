#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ravelfin {

/// The firmware version text in the answer to the 0x22 read: the bytes after the STX up to
/// the ETX. The text starts after the first STX (normally behind the ACK); it never reaches
/// the last two received bytes and stops at a zero byte, since a HID answer is padded with
/// zeros. Empty when 4 bytes or fewer came back or no STX was found.
std::string VersionTextFromAnswer(std::span<const std::uint8_t> answer);

}  // namespace ravelfin
