#pragma once

#include <array>
#include <string>

#include <gtest/gtest.h>

#include "protocol/bytes.h"
#include "protocol/command_frame.h"
#include "sim/simulated_environment.h"

namespace ravelfin {

/// A simulated machine with one reader of `type` attached.
inline void AttachReader(SimulatedEnvironment& environment, std::uint32_t type,
                         const std::string& firmware = "V4.30") {
    SimulatedReaderOptions options;
    options.InterfaceType = type;
    options.Firmware = firmware;
    std::string error;
    ASSERT_TRUE(environment.AddReader(options, error)) << error;
}

inline Bytes ShortFrame(std::uint8_t funcId) {
    std::array<std::uint8_t, kShortFrameBuffer> frame{};
    std::size_t length = 0;
    BuildCommandFrame(funcId, {}, frame, length);
    return Bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length));
}

/// A set frame STX 'S' items ETX LRC.
inline Bytes SetFrame(const Bytes& items) {
    Bytes frame{kStx, kSetLetter};
    frame.insert(frame.end(), items.begin(), items.end());
    frame.push_back(kEtx);
    frame.push_back(ComputeLrc(frame));
    return frame;
}

/// A set frame of exactly `length` bytes (at least 7): one preamble of the right size.
inline Bytes SetFrameOfLength(std::size_t length) {
    const std::size_t text = length - 7;
    Bytes items{0xD2, static_cast<std::uint8_t>(text + 1), static_cast<std::uint8_t>(text)};
    items.insert(items.end(), text, 'p');
    return SetFrame(items);
}

}  // namespace ravelfin
