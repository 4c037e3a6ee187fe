#pragma once

#include <memory>

#include "transport/serial_link.h"

class QSerialPort;

namespace ravelfin {

/// A serial port through Qt Serial Port. Opening takes the port exclusively (lock file and
/// exclusive terminal mode); DTR and RTS are switched off where the port has those lines, so
/// a pseudo-terminal, which has none, opens as well. Needs no event loop.
class QtSerialLink final : public SerialLink {
public:
    QtSerialLink();
    ~QtSerialLink() override;
    QtSerialLink(const QtSerialLink&) = delete;
    QtSerialLink& operator=(const QtSerialLink&) = delete;

    bool Open(const std::string& name) override;
    void Close() override;
    bool IsOpen() const override;
    /// Waits only until the bytes are with the operating system, not until they left.
    bool Write(std::span<const std::uint8_t> bytes) override;
    ReadResult ReadByte(std::uint8_t& byte, int timeoutMs) override;
    void PurgeReceive() override;
    PortError LastError() const override { return lastError_; }

private:
    std::unique_ptr<QSerialPort> port_;
    PortError lastError_ = PortError::None;
};

}  // namespace ravelfin
