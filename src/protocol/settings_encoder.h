#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "protocol/reader_settings.h"

namespace ravelfin {

/// The smallest frame buffer the encoders accept.
inline constexpr std::size_t kMinEncoderCapacity = 609;

// The encoders write one set frame (STX 'S' items ETX LRC) into `frame`, whose size is the
// capacity. The items depend on the record's `FirmwareVersionNumber`, which the caller copies
// from the open transport first. Each returns true with `length` the number of bytes written,
// or false with `length` 0 when the capacity is below kMinEncoderCapacity, when the frame does
// not fit the capacity, or when the record holds content that no Len byte can describe (a byte
// string over 254 bytes, an added field over 8 bytes, a data-editing block over 255 bytes).
// Nothing is written past `frame`.

/// Every one-byte and byte-string setting without the data-editing content.
bool EncodeGeneralSettings(const ReaderSettings& record, std::span<std::uint8_t> frame,
                           std::size_t& length);
/// The general settings without the security items (FuncIDs 0x49 to 0x4C and 0x7E): what a
/// clone writes. A copy must never change how its target masks or encrypts card numbers, nor
/// leave clear text behind the user's back.
bool EncodeCloneSettings(const ReaderSettings& record, std::span<std::uint8_t> frame,
                         std::size_t& length);
/// Only the data-editing content (FuncIDs 0xFA to 0xFD).
bool EncodeDataEditFrame(const ReaderSettings& record, std::span<std::uint8_t> frame,
                         std::size_t& length);
/// Both together plus the security level: the frame a configuration file stores.
bool EncodeAllSettings(const ReaderSettings& record, std::span<std::uint8_t> frame,
                       std::size_t& length);

}  // namespace ravelfin
