#include "sim/frame_collector.h"

#include <algorithm>
#include <cstddef>

#include "protocol/command_frame.h"

namespace ravelfin {

namespace {

// A reader holds no more than this; anything longer is garbage to be thrown away.
constexpr std::size_t kMaxFrame = 2048;
constexpr std::size_t kShortFrame = 5;

enum : std::size_t { kIncomplete = 0, kInvalid = static_cast<std::size_t>(-1) };

/// The length of the frame at the start of `bytes` (which begins with STX), kIncomplete when
/// more bytes are needed, kInvalid when no frame can start there.
std::size_t FrameLength(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < 2) return kIncomplete;
    if (bytes[1] == kReadLetter) return bytes.size() >= kShortFrame ? kShortFrame : kIncomplete;
    if (bytes[1] != kSetLetter) return kInvalid;
    if (bytes.size() >= 4 && bytes[2] == kFuncSetDefaults && bytes[3] == kEtx) {
        return bytes.size() >= kShortFrame ? kShortFrame : kIncomplete;
    }
    std::size_t p = 2;
    while (p < bytes.size()) {
        if (bytes[p] == kEtx) return p + 2 <= bytes.size() ? p + 2 : kIncomplete;
        if (p + 1 >= bytes.size()) return kIncomplete;
        p += 2 + bytes[p + 1];
    }
    return kIncomplete;
}

}  // namespace

void FrameCollector::DropNoise() {
    const auto stx = std::find(buffer_.begin(), buffer_.end(), kStx);
    buffer_.erase(buffer_.begin(), stx);
}

void FrameCollector::Add(std::span<const std::uint8_t> bytes) {
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    DropNoise();
    if (buffer_.size() > kMaxFrame) buffer_.clear();
}

bool FrameCollector::Take(Bytes& frame) {
    for (;;) {
        DropNoise();
        const std::size_t length = FrameLength(buffer_);
        if (length == kIncomplete) return false;
        if (length == kInvalid) {
            buffer_.erase(buffer_.begin());
            continue;
        }
        frame.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(length));
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(length));
        DropNoise();
        return true;
    }
}

}  // namespace ravelfin
