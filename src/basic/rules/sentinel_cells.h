#pragma once

#include <cstdint>
#include <string_view>

#include "protocol/reader_settings.h"

namespace ravelfin {

/// The sentinel grid of the Pre/Postamble page: four rows of sentinels, one column per track.
inline constexpr int kSentinelRows = 4;
inline constexpr int kSentinelTracks = 3;

/// Row captions, top to bottom.
std::string_view SentinelRowCaption(int row);

/// The setting that the cell of `row` and `track` (0 to 2) edits at `firmware`, or null for a
/// cell that shows "INVALID": track 2 has no 6-bit start sentinel, and from firmware 4.0 on
/// no track has one.
std::uint8_t ReaderSettings::*SentinelField(int row, int track, double firmware);

/// Stores the text typed into a cell when it is exactly one character; false otherwise, and
/// for a cell without a setting, changing nothing.
bool StoreSentinel(ReaderSettings& settings, int row, int track, std::string_view text);

}  // namespace ravelfin
