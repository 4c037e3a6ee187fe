#include "transport/real/real_device_source.h"

#include <QSerialPortInfo>

#include <hidapi/hidapi.h>

#include "transport/real/hidapi_device.h"
#include "transport/real/sysfs_usb_place.h"

#include <algorithm>
#include <filesystem>
#include <vector>

namespace ravelfin {

bool RealDeviceSource::GetSerialPort(int index, SerialPortInfo& out) {
    return ListEntry(SerialPorts(), index, out);
}

bool RealDeviceSource::GetHidInterface(int index, HidInterfaceInfo& out) {
    return ListEntry(HidInterfaces(), index, out);
}

std::vector<SerialPortInfo> RealDeviceSource::SerialPorts() {
    std::vector<SerialPortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialPortInfo port;
        port.Name = info.systemLocation().toStdString();
        port.HasUsbIds = info.hasVendorIdentifier() && info.hasProductIdentifier();
        if (port.HasUsbIds) {
            port.VendorId = info.vendorIdentifier();
            port.ProductId = info.productIdentifier();
            const UsbPlace place =
                ReadUsbPlace("/sys/class/tty/" + info.portName().toStdString() + "/device");
            port.PortPath = place.PortPath;
            port.SerialNumber = place.SerialNumber;
        }
        port.StableName = StableSerialName(port.Name);
        ports.push_back(port);
    }
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortInfo& a, const SerialPortInfo& b) { return a.Name < b.Name; });
    return ports;
}

std::vector<HidInterfaceInfo> RealDeviceSource::HidInterfaces() {
    std::vector<HidInterfaceInfo> interfaces;
    std::lock_guard lock(HidapiLibraryMutex());
    if (hid_init() != 0)
        return interfaces;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        if (info->path == nullptr)
            continue;
        HidInterfaceInfo hid;
        hid.Path = info->path;
        hid.VendorId = info->vendor_id;
        hid.ProductId = info->product_id;
        // hidapi lists an interface once per top-level usage.
        const bool seen =
            std::any_of(interfaces.begin(), interfaces.end(),
                        [&](const HidInterfaceInfo& h) { return h.Path == hid.Path; });
        if (!seen) {
            const UsbPlace place =
                ReadHidPlace("/sys/class/hidraw/" +
                             std::filesystem::path(hid.Path).filename().string() + "/device");
            hid.PortPath = place.PortPath;
            hid.SerialNumber = place.SerialNumber;
            interfaces.push_back(hid);
        }
    }
    hid_free_enumeration(list);
    std::sort(interfaces.begin(), interfaces.end(),
              [](const HidInterfaceInfo& a, const HidInterfaceInfo& b) { return a.Path < b.Path; });
    return interfaces;
}

}  // namespace ravelfin
