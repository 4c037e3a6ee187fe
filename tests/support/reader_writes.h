#pragma once

#include <algorithm>
#include <cstddef>

#include "protocol/command_frame.h"
#include "sim/simulated_reader.h"

namespace ravelfin {

/// Set frames `reader` took from its `from`th frame on: what was written to it.
inline std::size_t Writes(const SimulatedReader& reader, std::size_t from = 0) {
    const auto& frames = reader.Frames();
    return static_cast<std::size_t>(std::count_if(
        frames.begin() + static_cast<std::ptrdiff_t>(from), frames.end(),
        [](const Bytes& frame) { return frame.size() > 1 && frame[1] == kSetLetter; }));
}

}  // namespace ravelfin
