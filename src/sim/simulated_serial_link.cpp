#include "sim/simulated_serial_link.h"

namespace ravelfin {

bool SimulatedSerialLink::Open(const std::string& name) {
    Close();
    SimulatedDeviceSource::SerialPort* port = source_.FindSerialPort(name);
    if (port == nullptr || (port->Reader && !port->Reader->IsPlugged())) {
        lastError_ = PortError::NotFound;
        return false;
    }
    if ((port->Reader && port->Reader->Fault() == SimulatedFault::PortBusy) ||
        !source_.ClaimSerialPort(*port)) {
        lastError_ = PortError::Busy;
        return false;
    }
    lastError_ = PortError::None;
    port_ = port;
    return true;
}

void SimulatedSerialLink::Close() {
    if (port_)
        source_.ReleaseSerialPort(*port_);
    port_ = nullptr;
    collector_.Reset();
    received_.clear();
    pollsBeforeAnswer_ = 0;
}

bool SimulatedSerialLink::Write(std::span<const std::uint8_t> bytes) {
    if (!port_)
        return false;
    SimulatedReader* reader = port_->Reader;
    if (!reader)
        return true;  // nothing listens on this port
    if (!reader->IsPlugged())
        return false;
    collector_.Add(bytes);
    Bytes frame;
    while (collector_.Take(frame)) {
        const Bytes answer = reader->Answer(frame);
        received_.insert(received_.end(), answer.begin(), answer.end());
        pollsBeforeAnswer_ = reader->AnswerDelayPolls();
    }
    return true;
}

SerialLink::ReadResult SimulatedSerialLink::ReadByte(std::uint8_t& byte, int /*timeoutMs*/) {
    if (!port_)
        return ReadResult::Error;
    if (pollsBeforeAnswer_ > 0) {
        --pollsBeforeAnswer_;
        return ReadResult::Timeout;
    }
    if (!received_.empty()) {
        byte = received_.front();
        received_.pop_front();
        return ReadResult::Byte;
    }
    if (port_->Reader && !port_->Reader->IsPlugged())
        return ReadResult::Error;
    return ReadResult::Timeout;
}

void SimulatedSerialLink::PurgeReceive() {
    received_.clear();
    pollsBeforeAnswer_ = 0;
}

}  // namespace ravelfin
