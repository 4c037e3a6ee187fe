#include "protocol/command_frame.h"

#include <algorithm>

namespace ravelfin {

std::uint8_t ComputeLrc(std::span<const std::uint8_t> bytes) {
    std::uint8_t lrc = 0;
    for (std::uint8_t b : bytes) lrc ^= b;
    return lrc;
}

bool BuildCommandFrame(std::uint8_t funcId, std::span<const std::uint8_t> data,
                       std::span<std::uint8_t> frame, std::size_t& length) {
    // Short frames are tested against the same capacity as long ones, so callers of short
    // frames pass no data.
    if (data.size() > 255 || frame.size() < data.size() + 6) {
        length = 0;
        return false;
    }
    frame[0] = kStx;
    frame[1] = kSetLetter;
    frame[2] = funcId;
    if (funcId == kFuncSetDefaults || funcId == kFuncReadAll || funcId == kFuncReadVersion) {
        if (funcId != kFuncSetDefaults) frame[1] = kReadLetter;
        frame[3] = kEtx;
        frame[4] = ComputeLrc(frame.first(4));
        length = 5;
        return true;
    }
    frame[3] = static_cast<std::uint8_t>(data.size());
    std::copy(data.begin(), data.end(), frame.begin() + 4);
    frame[4 + data.size()] = kEtx;
    frame[5 + data.size()] = ComputeLrc(frame.first(5 + data.size()));
    length = data.size() + 6;
    return true;
}

}  // namespace ravelfin
