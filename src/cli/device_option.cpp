#include "cli/device_option.h"

#include "protocol/interface_type.h"

namespace ravelfin::cli {

namespace {
bool IsHidType(int type) { return type == kInterfaceUsbHidKb || type == kInterfaceUsbHid; }
}  // namespace

std::string InterfaceOptionName(int type) {
    switch (type) {
        case kInterfaceRs232: return "rs232";
        case kInterfacePs2: return "ps2";
        case kInterfaceUsbHidKb: return "usb-hid-kb";
        case kInterfaceUsbRs232: return "usb-rs232";
        case kInterfaceUsbHid: return "usb-hid";
        default: return "unknown";
    }
}

bool ParseDeviceOption(const std::string& text, DeviceChoice& out, std::string& error) {
    const auto colon = text.find(':');
    const std::string type = text.substr(0, colon);
    out = DeviceChoice{};
    for (int t : {kInterfaceRs232, kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}) {
        if (type == InterfaceOptionName(t)) out.Type = t;
    }
    if (out.Type == 0 || colon == std::string::npos || colon + 1 == text.size()) {
        error = "device '" + text +
                "' is not TYPE:INDEX or TYPE:NAME with TYPE rs232, usb-rs232, usb-hid-kb or usb-hid";
        return false;
    }
    const std::string rest = text.substr(colon + 1);
    if (rest.size() <= 6 && rest.find_first_not_of("0123456789") == std::string::npos) {
        out.Index = std::stoi(rest);
    } else {
        out.Name = rest;
    }
    return true;
}

int NamedDeviceEnvironment::SerialCount() {
    int n = 0;
    SerialPortInfo info;
    while (machine_.Devices().GetSerialPort(n, info)) ++n;
    return n;
}

int NamedDeviceEnvironment::HidCount() {
    int n = 0;
    HidInterfaceInfo info;
    while (machine_.Devices().GetHidInterface(n, info)) ++n;
    return n;
}

int NamedDeviceEnvironment::IndexOf(const DeviceChoice& choice) {
    if (choice.Name.empty()) return choice.Index;
    const bool hid = IsHidType(choice.Type);
    for (int i = 0;; ++i) {
        if (hid) {
            HidInterfaceInfo info;
            if (!GetHidInterface(i, info)) break;
            if (info.Path == choice.Name) return i;
        } else {
            SerialPortInfo info;
            if (!GetSerialPort(i, info)) break;
            if (info.Name == choice.Name) return i;
        }
    }
    auto& extras = hid ? extraHid_ : extraPorts_;
    extras.push_back(choice.Name);
    return (hid ? HidCount() : SerialCount()) + static_cast<int>(extras.size()) - 1;
}

bool NamedDeviceEnvironment::GetSerialPort(int index, SerialPortInfo& out) {
    if (machine_.Devices().GetSerialPort(index, out)) return true;
    const int extra = index - SerialCount();
    if (index < 0 || extra < 0 || extra >= static_cast<int>(extraPorts_.size())) return false;
    out = SerialPortInfo{};
    out.Name = extraPorts_[static_cast<std::size_t>(extra)];
    return true;
}

bool NamedDeviceEnvironment::GetHidInterface(int index, HidInterfaceInfo& out) {
    if (machine_.Devices().GetHidInterface(index, out)) return true;
    const int extra = index - HidCount();
    if (index < 0 || extra < 0 || extra >= static_cast<int>(extraHid_.size())) return false;
    out = HidInterfaceInfo{};
    out.Path = extraHid_[static_cast<std::size_t>(extra)];
    return true;
}

}  // namespace ravelfin::cli
