#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "protocol/bytes.h"
#include "protocol/command_frame.h"
#include "sim/simulated_reader_options.h"

namespace ravelfin {

/// What a simulated reader of `type` with `firmware` is, the rest left at the defaults.
inline SimulatedReaderOptions ReaderOptions(std::uint32_t type, const char* firmware = "V4.30") {
    SimulatedReaderOptions options;
    options.InterfaceType = type;
    options.Firmware = firmware;
    return options;
}

/// The frame BuildCommandFrame makes for one FuncID and its data.
inline Bytes CommandFrame(std::uint8_t funcId, std::span<const std::uint8_t> data = {}) {
    std::array<std::uint8_t, 300> frame{};
    std::size_t length = 0;
    BuildCommandFrame(funcId, data, frame, length);
    return Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length));
}

/// STX 'R' funcId ETX LRC: the read of a single setting.
inline Bytes ReadFrame(std::uint8_t funcId) {
    Bytes frame{kStx, kReadLetter, funcId, kEtx};
    frame.push_back(ComputeLrc(frame));
    return frame;
}

/// A set frame holding the given items (FuncID, Len, data ...) as they stand.
inline Bytes SetFrame(const Bytes& items) {
    // Reserved first: GCC 12 warns on a range inserted into a vector of a size it knows
    // (-Warray-bounds, a false positive of its reallocating path).
    Bytes frame;
    frame.reserve(items.size() + 4);
    frame.push_back(kStx);
    frame.push_back(kSetLetter);
    frame.insert(frame.end(), items.begin(), items.end());
    frame.push_back(kEtx);
    frame.push_back(ComputeLrc(frame));
    return frame;
}

}  // namespace ravelfin
