#pragma once

#include <deque>

#include "sim/frame_collector.h"
#include "sim/simulated_device_source.h"
#include "transport/serial_link.h"

namespace ravelfin {

/// A serial port of a `SimulatedDeviceSource`, in the same process as its reader. Written
/// bytes are gathered into frames and answered at once; a read with nothing to deliver
/// reports a timeout immediately instead of waiting out its limit.
class SimulatedSerialLink final : public SerialLink {
public:
    explicit SimulatedSerialLink(SimulatedDeviceSource& source) : source_(source) {}
    ~SimulatedSerialLink() override { Close(); }
    SimulatedSerialLink(const SimulatedSerialLink&) = delete;
    SimulatedSerialLink& operator=(const SimulatedSerialLink&) = delete;

    bool Open(const std::string& name) override;
    void Close() override;
    bool IsOpen() const override { return port_ != nullptr; }
    bool Write(std::span<const std::uint8_t> bytes) override;
    ReadResult ReadByte(std::uint8_t& byte, int timeoutMs) override;
    void PurgeReceive() override;
    PortError LastError() const override { return lastError_; }

private:
    SimulatedDeviceSource& source_;
    SimulatedDeviceSource::SerialPort* port_ = nullptr;
    FrameCollector collector_;
    std::deque<std::uint8_t> received_;
    int pollsBeforeAnswer_ = 0;
    PortError lastError_ = PortError::None;
};

}  // namespace ravelfin
