#pragma once

#include <cstdint>
#include <span>

#include "protocol/bytes.h"

namespace ravelfin {

/// Gathers the bytes a reader receives into whole command frames. A frame is complete when
/// its shape says so: STX 'R' FuncID ETX LRC, the set-defaults short frame, or STX 'S' and
/// FuncID/Len items up to ETX and the LRC. Bytes before an STX (report padding, line noise)
/// are dropped.
class FrameCollector {
public:
    void Add(std::span<const std::uint8_t> bytes);
    /// Moves the oldest complete frame into `frame`; false when no frame is complete.
    bool Take(Bytes& frame);
    /// True while the start of a frame waits for the rest of it.
    bool HasPartial() const { return !buffer_.empty(); }
    /// Forgets a partial frame.
    void Reset() { buffer_.clear(); }

private:
    void DropNoise();

    Bytes buffer_;
};

}  // namespace ravelfin
