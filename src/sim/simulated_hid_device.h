#pragma once

#include <optional>

#include "sim/feature_report_server.h"
#include "sim/simulated_device_source.h"
#include "transport/hid_device.h"

namespace ravelfin {

/// A HID interface of a `SimulatedDeviceSource`. Set reports are gathered into frames for
/// the simulated reader; get requests return its answer one report payload at a time, and
/// the empty NAK report (0x15 then zeros) when it has nothing to say. Keyboard readers opened
/// without access still take feature reports.
class SimulatedHidDevice final : public HidDevice {
public:
    explicit SimulatedHidDevice(SimulatedDeviceSource& source) : source_(source) {}
    ~SimulatedHidDevice() override { Close(); }
    SimulatedHidDevice(const SimulatedHidDevice&) = delete;
    SimulatedHidDevice& operator=(const SimulatedHidDevice&) = delete;

    bool Open(const std::string& path, Access access) override;
    void Close() override;
    bool IsOpen() const override { return device_ != nullptr; }
    bool GetAttributes(std::uint16_t& vendorId, std::uint16_t& productId) override;
    bool GetFeatureReportLength(std::size_t& length) override;
    bool SetFeature(std::span<const std::uint8_t> report) override;
    bool GetFeature(std::span<std::uint8_t> report) override;
    PortError LastError() const override { return lastError_; }

private:
    bool Usable(std::size_t reportLength) const;

    SimulatedDeviceSource& source_;
    SimulatedDeviceSource::HidInterface* device_ = nullptr;
    std::optional<FeatureReportServer> reports_;  // while open on a reader
    PortError lastError_ = PortError::None;
};

}  // namespace ravelfin
