#pragma once

#include <cstdint>
#include <span>

#include "protocol/bytes.h"
#include "sim/frame_collector.h"
#include "sim/simulated_reader.h"

namespace ravelfin {

/// The feature-report side of a simulated HID reader, whatever carries the reports: set
/// report payloads are gathered into frames for the reader; get requests return its answer
/// one payload at a time, and the empty NAK report (0x15 then zeros) when it has nothing to
/// say. Payloads exclude the report-id byte.
class FeatureReportServer {
  public:
    explicit FeatureReportServer(SimulatedReader& reader) : reader_(reader) {}

    /// Takes one set report's payload. False when the reader refuses it (unplugged, or told
    /// to fail set requests); nothing is taken then.
    bool Set(std::span<const std::uint8_t> payload);
    /// Fills one get report's payload. False when the reader is gone and has nothing left
    /// to deliver.
    bool Get(std::span<std::uint8_t> payload);
    /// The host let go: what was half sent or not yet fetched is forgotten.
    void Reset();

  private:
    SimulatedReader& reader_;
    FrameCollector collector_;
    Bytes answer_;  // what the reader still has to deliver
    int pollsBeforeAnswer_ = 0;
};

}  // namespace ravelfin
