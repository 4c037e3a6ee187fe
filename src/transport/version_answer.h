#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ravelfin {

/// The firmware version text in the answer to the 0x22 read: the bytes after the first STX
/// (normally behind the ACK) up to the ETX, which must come before the last received byte.
/// Empty when 4 bytes or fewer came back, no STX was found, or the text does not end at an
/// ETX (an answer cut short, or a zero byte of a HID report's padding first).
std::string VersionTextFromAnswer(std::span<const std::uint8_t> answer);

class ReaderTransport;

/// Sends the read-version command (0x22) on an open transport with a 128-byte answer buffer
/// and takes the text from the answer. False when the exchange failed; the device is left as
/// it is either way.
bool ExchangeVersionCommand(ReaderTransport& transport, std::string& text);

}  // namespace ravelfin
