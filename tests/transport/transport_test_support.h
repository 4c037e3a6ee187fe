#pragma once

#include <string>

#include <gtest/gtest.h>

#include "sim/sim_test_support.h"
#include "sim/simulated_environment.h"

namespace ravelfin {

/// A simulated machine with one reader of `type` attached.
inline void AttachReader(SimulatedEnvironment& environment, std::uint32_t type) {
    SimulatedReaderOptions options;
    options.InterfaceType = type;
    std::string error;
    ASSERT_TRUE(environment.AddReader(options, error)) << error;
}

/// A set frame of exactly `length` bytes (at least 7): one preamble of the right size.
inline Bytes SetFrameOfLength(std::size_t length) {
    const std::size_t text = length - 7;
    Bytes items{0xD2, static_cast<std::uint8_t>(text + 1), static_cast<std::uint8_t>(text)};
    items.insert(items.end(), text, 'p');
    return SetFrame(items);
}

}  // namespace ravelfin
