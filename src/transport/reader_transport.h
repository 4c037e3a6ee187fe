#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "transport/port_error.h"

namespace ravelfin {

/// The link to one reader: open a device, exchange one command frame for one answer, close.
///
/// Every reader conversation follows one pattern: OpenByIndex (or Open), Exchange, Close.
/// No operation shows a message; failures are false results.
class ReaderTransport {
public:
    virtual ~ReaderTransport() = default;

    /// The firmware version text, from the cache when it was read before; otherwise read
    /// with the 0x22 command (opening the device by `DeviceIndex` when it is closed).
    /// Returns false when no non-empty text could be had.
    virtual bool GetFirmwareVersion(std::string& out) = 0;
    /// Opens the device with this enumeration index in its class.
    virtual bool OpenByIndex(int deviceIndex) = 0;
    /// Opens the device by its path or port name.
    virtual bool Open(const std::string& deviceName) = 0;
    /// Closes the device; harmless when closed. Always true.
    virtual bool Close() = 0;
    /// Sends `send` and collects the answer into `recv` (its size is the capacity);
    /// `recvLen` receives the number of bytes stored, also on failure. For a set frame
    /// (second byte 'S') success means the answer began with ACK.
    virtual bool Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                          std::size_t& recvLen) = 0;
    /// The interface type this transport was built for (1, 3, 4 or 5).
    virtual int GetInterfaceType() const = 0;
    virtual bool IsReady() const = 0;
    /// The path or port name of the open device; empty when closed.
    virtual std::string GetDeviceName() const = 0;
    /// Why the last `Open` or `OpenByIndex` failed at the device (PermissionDenied, Busy,
    /// ...); `PortError::None` when it succeeded or failed before reaching a device.
    virtual PortError LastOpenError() const { return PortError::None; }

    std::string FirmwareVersionText;
    double FirmwareVersionNumber = 0.0;
    std::uint32_t ModelClass = 0;
    std::uint32_t ProductId = 0;  // USB product id of an open HID reader; 0 for serial
};

}  // namespace ravelfin
