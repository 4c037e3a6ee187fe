#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "transport/port_error.h"

namespace ravelfin {

/// One serial port, opened exclusively at 9600 baud, 8 data bits, no parity, one stop bit,
/// without flow control and with DTR and RTS off where the port has those lines.
class SerialLink {
public:
    enum class ReadResult {
        Byte,     // one byte was delivered
        Timeout,  // nothing arrived within the limit
        Error,    // the port failed or vanished
    };

    virtual ~SerialLink() = default;

    /// Opens the port by its name (a device path such as /dev/ttyUSB0), configures the line
    /// and discards anything pending in both directions. Returns false when the port cannot
    /// be opened or configured; `LastError` then tells why.
    virtual bool Open(const std::string& name) = 0;
    /// Closes the port; harmless when closed.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    /// Hands all of `bytes` to the port without waiting for them to leave the wire.
    /// False when the port is closed or refused the data.
    virtual bool Write(std::span<const std::uint8_t> bytes) = 0;
    /// Waits up to `timeoutMs` for one byte.
    virtual ReadResult ReadByte(std::uint8_t& byte, int timeoutMs) = 0;
    /// Discards everything received and not yet read.
    virtual void PurgeReceive() = 0;
    /// The cause of the last failed `Open`; `PortError::None` after a successful one.
    virtual PortError LastError() const = 0;
};

}  // namespace ravelfin
