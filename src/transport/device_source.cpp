#include "transport/device_source.h"

namespace ravelfin {

std::vector<SerialPortInfo> DeviceSource::SerialPorts() {
    std::vector<SerialPortInfo> ports;
    for (SerialPortInfo port; GetSerialPort(static_cast<int>(ports.size()), port);)
        ports.push_back(port);
    return ports;
}

std::vector<HidInterfaceInfo> DeviceSource::HidInterfaces() {
    std::vector<HidInterfaceInfo> interfaces;
    for (HidInterfaceInfo hid; GetHidInterface(static_cast<int>(interfaces.size()), hid);)
        interfaces.push_back(hid);
    return interfaces;
}

}  // namespace ravelfin
