#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace ravelfin {

inline constexpr std::uint8_t kStx = 0x02;
inline constexpr std::uint8_t kEtx = 0x03;
inline constexpr std::uint8_t kAck = 0x06;
inline constexpr std::uint8_t kNak = 0x15;
inline constexpr std::uint8_t kRefused = 0x16;  // first answer byte: unknown FuncID or command
inline constexpr std::uint8_t kSetLetter = 'S';
inline constexpr std::uint8_t kReadLetter = 'R';

inline constexpr std::uint8_t kFuncSetDefaults = 0x18;
inline constexpr std::uint8_t kFuncReadAll = 0x1F;
inline constexpr std::uint8_t kFuncReadVersion = 0x22;
inline constexpr std::uint8_t kFuncBootLoader = 0x70;

/// Caller buffer sizes used throughout the reader conversation.
inline constexpr std::size_t kShortFrameBuffer = 16;
inline constexpr std::size_t kSettingsBuffer = 1024;
/// A USB HID answer needs room for one report more than it fills: a write's one-report answer
/// with feature reports of up to 128 bytes, as well as the 32-byte reports most readers use.
inline constexpr std::size_t kWriteAnswerBuffer = 256;

/// Exclusive-or of the bytes; 0 for an empty run.
std::uint8_t ComputeLrc(std::span<const std::uint8_t> bytes);

/// Builds STX 'S' funcId Len data ETX LRC into `frame`. The set-defaults, read-all and
/// read-version commands become their 5-byte short frames and ignore `data`.
/// Returns false with `length` 0 when `frame` is smaller than data.size() + 6 or when
/// `data` holds more than 255 bytes; otherwise `length` is the number of bytes written.
bool BuildCommandFrame(std::uint8_t funcId, std::span<const std::uint8_t> data,
                       std::span<std::uint8_t> frame, std::size_t& length);

}  // namespace ravelfin
