#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <atomic>
#include <span>
#include <string>

#include "transport/reader_environment.h"
#include "transport/reader_transport.h"
#include "transport/serial_link.h"

namespace ravelfin {

/// Exchanges command frames over an RS-232 port (type 1) or a reader's USB virtual serial
/// port (type 4). An answer ends at the first second of silence.
class SerialTransport final : public ReaderTransport {
public:
    /// `type` 4 is kept; any other value becomes 1.
    SerialTransport(int type, ReaderEnvironment& environment);
    ~SerialTransport() override;
    SerialTransport(const SerialTransport&) = delete;
    SerialTransport& operator=(const SerialTransport&) = delete;

    /// As the HID variant, but the port is opened only when closed and is closed again after
    /// the exchange whatever its result.
    bool GetFirmwareVersion(std::string& out) override;
    /// Remembers the index (also when it is unknown) and opens the port with that index.
    /// Does not check for an open port: a second exclusive open of one port fails.
    bool OpenByIndex(int deviceIndex) override;
    /// Opens and configures the port; false for an empty name or when the port cannot be
    /// opened (see `LastOpenError`).
    bool Open(const std::string& deviceName) override;
    bool Close() override;
    /// Writes the frame, pauses 1000 ms and reads byte by byte until a read waits 1000 ms
    /// in vain, the port fails or `recv` is full (the byte that found it full is dropped).
    /// True only when the answer begins with ACK, for read frames too. An exchange begun while
    /// another runs on this transport (from another thread, or from a wait loop that lets
    /// events run during a pause) fails at once, sending nothing.
    bool Exchange(std::span<const std::uint8_t> send, std::span<std::uint8_t> recv,
                  std::size_t& recvLen) override;
    int GetInterfaceType() const override { return Type; }
    bool IsReady() const override { return true; }
    std::string GetDeviceName() const override { return PortName; }
    PortError LastOpenError() const override { return lastOpenError_; }

    int Type = 1;
    std::string PortName;
    int DeviceIndex = -1;

private:
    /// The next answer byte, or Timeout after 1000 ms without one.
    SerialLink::ReadResult ReadWithinSilence(std::uint8_t& byte);
    ReaderEnvironment& environment_;
    std::unique_ptr<SerialLink> link_;
    /// Set over one exchange, so that two never interleave. No lock is held across the
    /// exchange's pauses: a second caller is turned away rather than made to wait.
    std::atomic<bool> exchanging_{false};
    PortError lastOpenError_ = PortError::None;
};

}  // namespace ravelfin
