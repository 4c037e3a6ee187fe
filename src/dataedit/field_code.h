#pragma once

#include <cstdint>
#include <string>

namespace ravelfin {

// A field code names one formula field in one byte: bits 7-5 the track (0 = an added
// field), bits 4-0 the field number (0 is letter a).

inline constexpr std::uint8_t MakeFieldCode(int track, int number) {
    return static_cast<std::uint8_t>(((track & 0x07) << 5) | (number & 0x1F));
}
inline constexpr int FieldCodeTrack(std::uint8_t code) {
    return code >> 5;
}
inline constexpr int FieldCodeNumber(std::uint8_t code) {
    return code & 0x1F;
}

/// The plain text form: the track digit and the field letter, e.g. "2b" for 0x41.
inline std::string FieldCodeText(std::uint8_t code) {
    return {static_cast<char>('0' + FieldCodeTrack(code)),
            static_cast<char>('a' + FieldCodeNumber(code))};
}

}  // namespace ravelfin
