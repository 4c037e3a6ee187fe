#pragma once

#include <cstdint>
#include <string>

#include "protocol/bytes.h"

namespace ravelfin::cli {

/// A number from 0 to 255, decimal or 0x hexadecimal. False for anything else.
bool ParseByteValue(const std::string& text, std::uint8_t& value);

/// A byte string: a JSON-style array of such numbers ("[2, 0x41]"), or text in which "\x"
/// and one or two hexadecimal digits is a byte, "\\" a backslash, the names of non-printable
/// characters ("\cr", "\stx", ...) their byte, and every other character itself. False with
/// a one-line `error` for a malformed value.
bool ParseByteString(const std::string& text, Bytes& bytes, std::string& error);

}  // namespace ravelfin::cli
