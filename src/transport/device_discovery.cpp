#include "transport/device_discovery.h"

#include "protocol/interface_type.h"

namespace ravelfin {

int HidReaderType(std::uint16_t vendorId, std::uint16_t productId) {
    if (vendorId != kReaderVendorId) return kInterfaceUnknown;
    if (productId >= 0x4101 && productId <= 0x4106) return kInterfaceUsbHidKb;
    if (productId >= 0x4201 && productId <= 0x4206) return kInterfaceUsbHid;
    return kInterfaceUnknown;
}

bool ClassifyPort(DeviceSource& source, int index, int& type, std::string& name) {
    type = kInterfaceUnknown;
    name.clear();
    SerialPortInfo port;
    if (!source.GetSerialPort(index, port)) return false;
    if (port.Name.empty()) return true;
    if (!port.HasUsbIds) {
        type = kInterfaceRs232;
    } else if (port.VendorId == kUsbSerialVendorId && port.ProductId == kUsbSerialProductId) {
        type = kInterfaceUsbRs232;
    } else {
        return true;
    }
    name = port.Name;
    return true;
}

bool GetPortName(DeviceSource& source, int index, std::string& name) {
    name.clear();
    SerialPortInfo port;
    if (!source.GetSerialPort(index, port)) return false;
    name = port.Name;
    return !name.empty();
}

bool ClassifyHidDevice(DeviceSource& source, int index, int& type, std::string& path) {
    type = kInterfaceUnknown;
    path.clear();
    HidInterfaceInfo hid;
    if (!source.GetHidInterface(index, hid)) return false;
    type = HidReaderType(hid.VendorId, hid.ProductId);
    if (type != kInterfaceUnknown) path = hid.Path;
    return true;
}

bool GetHidDevicePath(DeviceSource& source, int index, std::string& path) {
    path.clear();
    HidInterfaceInfo hid;
    if (!source.GetHidInterface(index, hid)) return false;
    path = hid.Path;
    return !path.empty();
}

void ListDevices(DeviceSource& source, int type, std::vector<DeviceEntry>& list) {
    int found = 0;
    std::string name;
    switch (type) {
        case kInterfaceRs232:
        case kInterfaceUsbRs232:
            for (int index = 0; ClassifyPort(source, index, found, name); ++index) {
                if (found == type) list.push_back({type, name, index});
            }
            break;
        case kInterfacePs2: list.push_back({kInterfacePs2, "PS/2 Keyboard port", 0}); break;
        case kInterfaceUsbHidKb:
        case kInterfaceUsbHid:
            for (int index = 0; ClassifyHidDevice(source, index, found, name); ++index) {
                if (found == type) list.push_back({type, name, index});
            }
            break;
        default: break;
    }
}

}  // namespace ravelfin
