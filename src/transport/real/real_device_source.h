#pragma once

#include "transport/device_source.h"

namespace ravelfin {

/// The serial ports that Qt Serial Port lists (sorted by device path) and the HID interfaces
/// that hidapi lists (one entry per path, sorted by path). Each call enumerates afresh, so
/// the lists follow the hardware; the sorting keeps indices stable while it stays the same.
class RealDeviceSource final : public DeviceSource {
public:
    bool GetSerialPort(int index, SerialPortInfo& out) override;
    bool GetHidInterface(int index, HidInterfaceInfo& out) override;
    std::vector<SerialPortInfo> SerialPorts() override;
    std::vector<HidInterfaceInfo> HidInterfaces() override;
};

}  // namespace ravelfin
