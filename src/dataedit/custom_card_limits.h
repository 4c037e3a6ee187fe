#pragma once

#include <string_view>

#include "protocol/bytes.h"

namespace ravelfin {

/// The length-limit record of `track` (1 to 3) as the "Min" and "Max" boxes hold it:
/// empty (no limit) unless both boxes hold text; each number keeps its low eight bits.
Bytes LengthLimitFromBoxes(int track, std::string_view min, std::string_view max);

/// The match-string record of `track` as the "Offset" and "String:" boxes hold it: empty
/// unless both boxes hold text. The string's characters are its bytes.
Bytes MatchStringFromBoxes(int track, std::string_view offset, std::string_view text);

}  // namespace ravelfin
