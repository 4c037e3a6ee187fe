#include "transport/device_discovery.h"

#include "protocol/interface_type.h"

namespace ravelfin {

int HidReaderType(std::uint16_t vendorId, std::uint16_t productId) {
    if (vendorId != kReaderVendorId) return kInterfaceUnknown;
    if (productId >= 0x4101 && productId <= 0x4106) return kInterfaceUsbHidKb;
    if (productId >= 0x4201 && productId <= 0x4206) return kInterfaceUsbHid;
    return kInterfaceUnknown;
}

namespace {

int PortType(const SerialPortInfo& port) {
    if (port.Name.empty()) return kInterfaceUnknown;
    if (!port.HasUsbIds) return kInterfaceRs232;
    return port.VendorId == kUsbSerialVendorId && port.ProductId == kUsbSerialProductId
               ? kInterfaceUsbRs232
               : kInterfaceUnknown;
}

DeviceEntry PortEntry(const SerialPortInfo& port, int type, int index) {
    return {type, port.Name, index, IdentityOf(port), port.StableName};
}

DeviceEntry HidEntry(const HidInterfaceInfo& hid, int type, int index) {
    return {type, hid.Path, index, IdentityOf(hid), {}};
}

bool IsSerialType(int type) { return type == kInterfaceRs232 || type == kInterfaceUsbRs232; }
bool IsHidType(int type) { return type == kInterfaceUsbHidKb || type == kInterfaceUsbHid; }

}  // namespace

bool ClassifyPort(DeviceSource& source, int index, int& type, std::string& name) {
    type = kInterfaceUnknown;
    name.clear();
    SerialPortInfo port;
    if (!source.GetSerialPort(index, port)) return false;
    type = PortType(port);
    if (type != kInterfaceUnknown) name = port.Name;
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


// Each list is taken in one look, so that an entry's name and identity come from the same
// moment and a walk over many devices enumerates the system once.
void ListDevices(DeviceSource& source, int type, std::vector<DeviceEntry>& list) {
    if (IsSerialType(type)) {
        const std::vector<SerialPortInfo> ports = source.SerialPorts();
        for (std::size_t index = 0; index < ports.size(); ++index) {
            if (PortType(ports[index]) == type)
                list.push_back(PortEntry(ports[index], type, static_cast<int>(index)));
        }
    } else if (IsHidType(type)) {
        const std::vector<HidInterfaceInfo> interfaces = source.HidInterfaces();
        for (std::size_t index = 0; index < interfaces.size(); ++index) {
            const HidInterfaceInfo& hid = interfaces[index];
            if (HidReaderType(hid.VendorId, hid.ProductId) == type)
                list.push_back(HidEntry(hid, type, static_cast<int>(index)));
        }
    } else if (type == kInterfacePs2) {
        list.push_back({kInterfacePs2, "PS/2 Keyboard port", 0, {}, {}});
    }
}

bool FindReader(DeviceSource& source, const ReaderIdentity& identity,
                std::initializer_list<int> types, DeviceEntry& found) {
    int matches = 0;
    for (int type : types) {
        std::vector<DeviceEntry> readers;
        ListDevices(source, type, readers);
        for (const DeviceEntry& reader : readers) {
            if (reader.Identity.SameReader(identity)) {
                found = reader;
                ++matches;
            }
        }
    }
    return matches == 1;
}

bool DescribeDevice(DeviceSource& source, int type, int index, DeviceEntry& entry) {
    if (IsSerialType(type)) {
        SerialPortInfo port;
        if (!source.GetSerialPort(index, port) || PortType(port) != type) return false;
        entry = PortEntry(port, type, index);
        return true;
    }
    if (IsHidType(type)) {
        HidInterfaceInfo hid;
        if (!source.GetHidInterface(index, hid) || HidReaderType(hid.VendorId, hid.ProductId) != type)
            return false;
        entry = HidEntry(hid, type, index);
        return true;
    }
    return false;
}

}  // namespace ravelfin
