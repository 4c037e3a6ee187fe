#pragma once

#include <cstdint>
#include <span>

#include "protocol/reader_settings.h"

namespace ravelfin {

/// Fills `record` from a settings answer or the frame of a configuration file: an optional
/// leading ACK (or 0xFA), STX, then FuncID/Len items up to ETX and its LRC. The record is
/// first reset to its factory defaults with `SecurityLevel` '0', so settings the source does
/// not carry come out at their defaults.
///
/// Returns false when `source` is empty (the record is untouched), when the STX is missing,
/// when the LRC at ETX does not match, or when an item would run past the end of `source`
/// or past the end of its block. Fields stored before such a failure stay stored; callers
/// that must not see a partly filled record parse into a copy. Reaching the end of `source`
/// without an ETX is a success. Nothing is read past `source`.
bool ParseSettings(std::span<const std::uint8_t> source, ReaderSettings& record);

/// ParseSettings for the reader's answer to the read-all command, which always ends with ETX
/// and its LRC. An answer that ends before its ETX was cut short on the link: the settings it
/// lost would come out as factory defaults and pass for the reader's own, so it is refused.
bool ParseSettingsAnswer(std::span<const std::uint8_t> source, ReaderSettings& record);

}  // namespace ravelfin
