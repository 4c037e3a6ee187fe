#pragma once

#include <string>

namespace ravelfin {

/// Converts text whose bytes are ISO 8859-1 characters (as settings and reports hold them)
/// to UTF-8. Every byte maps to one character, so the conversion cannot fail.
std::string Latin1ToUtf8(const std::string& latin1);

}  // namespace ravelfin
