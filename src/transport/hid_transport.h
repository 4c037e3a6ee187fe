#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "transport/hid_device.h"
#include "transport/reader_environment.h"
#include "transport/reader_transport.h"

namespace ravelfin {

/// Carries command frames in USB HID feature reports (report id 0) for readers attached as
/// a HID device (type 5) or as a HID keyboard (type 3). No lock: only one thread uses it.
class HidTransport final : public ReaderTransport {
public:
    /// `type` 3 selects keyboard mode; any other value HID mode (type 5).
    HidTransport(int type, ReaderEnvironment& environment);
    ~HidTransport() override;
    HidTransport(const HidTransport&) = delete;
    HidTransport& operator=(const HidTransport&) = delete;

    bool GetFirmwareVersion(std::string& out) override;
    /// Returns true at once while a device opened by index is open; otherwise opens the HID
    /// interface with this enumeration index. The index is remembered either way.
    bool OpenByIndex(int deviceIndex) override;
    /// Opens the reader at this path (true at once when that path is open already). Fails
    /// when the device cannot be opened, is no reader of this transport's mode, or has no
    /// feature report.
    bool Open(const std::string& deviceName) override;
    bool Close() override;
    /// Sends `send` in feature reports, pauses 1000 ms and collects report payloads until
    /// three attempts in a row bring nothing. The answer keeps the reports' trailing zeros.
    /// False when a report could not be sent, when the answer would not fit in `recv` with
    /// one more report payload to spare, or, for a set frame, when it does not begin with ACK.
    bool Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                  std::size_t& recvLen) override;
    int GetInterfaceType() const override { return Type; }
    bool IsReady() const override { return true; }
    std::string GetDeviceName() const override { return DevicePath; }
    PortError LastOpenError() const override { return lastOpenError_; }

    bool Opened = false;
    int Type = 5;
    int DeviceIndex = -1;
    std::string DevicePath;
    /// Length of one feature report including the report-id byte; 0 while closed.
    std::size_t FeatureReportLength = 0;

private:
    bool SendReports(std::span<const std::uint8_t> send, std::span<std::uint8_t> report);

    ReaderEnvironment& environment_;
    std::unique_ptr<HidDevice> device_;
    PortError lastOpenError_ = PortError::None;
};

}  // namespace ravelfin
