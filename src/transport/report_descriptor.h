#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>

namespace ravelfin {

/// The feature-report sizes that a HID report descriptor declares. Only what the transport
/// needs is understood: Report ID, Report Size, Report Count, Push, Pop and the Feature main
/// item; every other item is stepped over by its size.
class ReportDescriptor {
public:
    /// Reads the descriptor. Returns false, keeping what was read up to that point, when an
    /// item runs past the end, a Pop has no matching Push or the Push depth exceeds 16.
    bool Parse(std::span<const std::uint8_t> descriptor);
    /// The byte length of the longest feature report including the report-id byte, as the
    /// platform's HID services report it (that byte is counted also when the device uses
    /// no report ids); 0 when the descriptor declares no feature data.
    std::size_t FeatureReportLength() const;
    /// True when a Report ID item was seen.
    bool UsesReportIds() const { return usesReportIds_; }

private:
    std::map<std::uint32_t, std::uint64_t> featureBits_;  // report id -> bits
    bool usesReportIds_ = false;
};

}  // namespace ravelfin
