#include "sim/simulated_device_source.h"

namespace ravelfin {

bool SimulatedDeviceSource::GetSerialPort(int index, SerialPortInfo& out) {
    if (index < 0 || index >= SerialPortCount()) return false;
    out = ports_[static_cast<std::size_t>(index)].Info;
    return true;
}

bool SimulatedDeviceSource::GetHidInterface(int index, HidInterfaceInfo& out) {
    if (index < 0 || index >= HidInterfaceCount()) return false;
    out = interfaces_[static_cast<std::size_t>(index)].Info;
    return true;
}

int SimulatedDeviceSource::AddSerialPort(const SerialPortInfo& info, SimulatedReader* reader) {
    ports_.push_back({info, reader, false});
    return SerialPortCount() - 1;
}

int SimulatedDeviceSource::AddHidInterface(const HidInterfaceInfo& info, SimulatedReader* reader,
                                           std::size_t featureReportLength) {
    interfaces_.push_back({info, reader, featureReportLength, {}});
    return HidInterfaceCount() - 1;
}

SimulatedDeviceSource::SerialPort* SimulatedDeviceSource::FindSerialPort(const std::string& name) {
    for (SerialPort& port : ports_) {
        if (port.Info.Name == name) return &port;
    }
    return nullptr;
}

SimulatedDeviceSource::HidInterface* SimulatedDeviceSource::FindHidInterface(
    const std::string& path) {
    for (HidInterface& hid : interfaces_) {
        if (hid.Info.Path == path) return &hid;
    }
    return nullptr;
}

}  // namespace ravelfin
