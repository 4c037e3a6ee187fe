#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravelfin {

/// A growable byte string: settings values that may hold any byte, 0 included.
using Bytes = std::vector<std::uint8_t>;

inline Bytes BytesFromText(const std::string& text) { return Bytes(text.begin(), text.end()); }
inline std::string TextFromBytes(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

}  // namespace ravelfin
