#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace ravelfin {

/// The firmware version text in the answer to the 0x22 read: the bytes after the first STX
/// (normally behind the ACK) up to the ETX, a zero byte (a HID report's padding) or the last
/// two bytes received (where the ETX and the LRC belong), whichever comes first; an answer
/// cut short keeps the text it brought. Empty when 4 bytes or fewer came back or no STX was
/// found.
std::string VersionTextFromAnswer(std::span<const std::uint8_t> answer);

class ReaderTransport;

/// Sends the read-version command (0x22) on an open transport with a 128-byte answer buffer
/// and takes the text from the answer. False when the exchange failed; the device is left as
/// it is either way.
bool ExchangeVersionCommand(ReaderTransport& transport, std::string& text);

}  // namespace ravelfin
