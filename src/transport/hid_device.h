#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "transport/port_error.h"

namespace ravelfin {

/// One HID interface, opened by path. Frames travel in feature reports whose byte 0 is the
/// report id (always 0 here); every length includes that byte.
class HidDevice {
public:
    enum class Access {
        None,       // attributes and feature reports only (keyboard readers)
        ReadWrite,  // full access (HID readers)
    };

    virtual ~HidDevice() = default;

    /// Opens the interface at `path`, closing a device opened before. Returns false when it
    /// cannot be opened; `LastError` then tells why.
    virtual bool Open(const std::string& path, Access access) = 0;
    /// Closes the device; harmless when closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    /// USB vendor and product id of the open device. False when closed or unreadable.
    virtual bool GetAttributes(std::uint16_t& vendorId, std::uint16_t& productId) = 0;
    /// Length of the device's longest feature report including the report-id byte.
    /// False when closed or when the device describes no feature report.
    virtual bool GetFeatureReportLength(std::size_t& length) = 0;
    /// Sends one feature report; `report[0]` is the report id. False when the device
    /// refused it or is gone.
    virtual bool SetFeature(std::span<const std::uint8_t> report) = 0;
    /// Fetches one feature report into `report`; the caller puts the report id in
    /// `report[0]`. Bytes the device did not deliver are left as the caller set them.
    /// False when the request failed.
    virtual bool GetFeature(std::span<std::uint8_t> report) = 0;
    /// The cause of the last failed `Open`; `PortError::None` after a successful one.
    virtual PortError LastError() const = 0;
};

}  // namespace ravelfin
