#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ravelfin {

/// One present serial port.
struct SerialPortInfo {
    std::string Name;            // what `SerialLink::Open` takes, e.g. /dev/ttyUSB0
    bool HasUsbIds = false;      // true for USB virtual serial ports
    std::uint16_t VendorId = 0;  // meaningful only with HasUsbIds
    std::uint16_t ProductId = 0;
    /// The name udev keeps for the port whatever node it gets: its /dev/serial/by-id link,
    /// else its /dev/serial/by-path link; empty where udev made neither.
    std::string StableName;
    /// The USB bus and port chain of a USB port's device ("1-2.4"); empty without USB.
    std::string PortPath;
    /// The USB device's serial number; empty when it reports none.
    std::string SerialNumber;
};

/// One present HID interface.
struct HidInterfaceInfo {
    std::string Path;  // what `HidDevice::Open` takes, e.g. /dev/hidraw3
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    /// The USB bus and port chain of the device ("1-2.4"): it stays the same while the reader
    /// is plugged into the same socket, also across a restart that gives it a new node and a
    /// new product id. Empty when the system does not tell.
    std::string PortPath;
    /// The USB device's serial number; empty when it reports none.
    std::string SerialNumber;
};

/// The attached devices, addressed by their enumeration index within their class. The order
/// stays the same between calls and between runs while the hardware stays the same, since
/// that index is what the application stores as the selected device.
class DeviceSource {
public:
    virtual ~DeviceSource() = default;
    /// The serial port with this index; false when there is none (the walk ends there).
    virtual bool GetSerialPort(int index, SerialPortInfo& out) = 0;
    /// The HID interface with this index; false when there is none (the walk ends there).
    virtual bool GetHidInterface(int index, HidInterfaceInfo& out) = 0;
    /// Every serial port, in index order, from one look at the system: a walk over the
    /// indices costs one enumeration per index where enumerating is slow. The default walks.
    virtual std::vector<SerialPortInfo> SerialPorts();
    /// Every HID interface, in index order, as `SerialPorts`.
    virtual std::vector<HidInterfaceInfo> HidInterfaces();
};

/// The entry at `index` of a device list; false past its end.
template <typename Info>
bool ListEntry(const std::vector<Info>& list, int index, Info& out) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size())
        return false;
    out = list[static_cast<std::size_t>(index)];
    return true;
}

/// The device lists as they were when it was made, for a command that looks at them many
/// times: the system is enumerated once.
class DeviceSnapshot final : public DeviceSource {
public:
    explicit DeviceSnapshot(DeviceSource& source)
        : ports_(source.SerialPorts()), interfaces_(source.HidInterfaces()) {}
    bool GetSerialPort(int index, SerialPortInfo& out) override {
        return ListEntry(ports_, index, out);
    }
    bool GetHidInterface(int index, HidInterfaceInfo& out) override {
        return ListEntry(interfaces_, index, out);
    }
    std::vector<SerialPortInfo> SerialPorts() override { return ports_; }
    std::vector<HidInterfaceInfo> HidInterfaces() override { return interfaces_; }

private:
    std::vector<SerialPortInfo> ports_;
    std::vector<HidInterfaceInfo> interfaces_;
};

}  // namespace ravelfin
