#include "fleet/device_choice.h"

#include <vector>

#include "protocol/interface_type.h"
#include "transport/device_discovery.h"

namespace ravelfin {

std::string InterfaceOptionName(int type) {
    switch (type) {
        case kInterfaceRs232:
            return "rs232";
        case kInterfacePs2:
            return "ps2";
        case kInterfaceUsbHidKb:
            return "usb-hid-kb";
        case kInterfaceUsbRs232:
            return "usb-rs232";
        case kInterfaceUsbHid:
            return "usb-hid";
        default:
            return "unknown";
    }
}

bool ParseDeviceOption(const std::string& text, DeviceChoice& out, std::string& error) {
    const auto colon = text.find(':');
    const std::string type = text.substr(0, colon);
    out = DeviceChoice{};
    if ((type == "serial" || type == "path") && colon != std::string::npos &&
        colon + 1 < text.size()) {
        (type == "serial" ? out.Serial : out.PortPath) = text.substr(colon + 1);
        return true;
    }
    for (int t : {kInterfaceRs232, kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}) {
        if (type == InterfaceOptionName(t))
            out.Type = t;
    }
    if (out.Type == 0 || colon == std::string::npos || colon + 1 == text.size()) {
        error =
            "device '" + text +
            "' is not TYPE:INDEX or TYPE:NAME with TYPE rs232, usb-rs232, usb-hid-kb or usb-hid, "
            "nor serial:SN or path:PORTPATH";
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

bool ResolveIdentityChoice(DeviceSource& source, DeviceChoice& choice, std::string& error) {
    if (choice.Serial.empty() && choice.PortPath.empty())
        return true;
    std::vector<DeviceEntry> readers;
    for (int type : {kInterfaceRs232, kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}) {
        ListDevices(source, type, readers);
    }
    std::vector<DeviceEntry> matching;
    for (const DeviceEntry& reader : readers) {
        const bool match = choice.Serial.empty() ? reader.Identity.PortPath == choice.PortPath ||
                                                       (!reader.StableName.empty() &&
                                                        reader.StableName == choice.PortPath)
                                                 : reader.Identity.SerialNumber == choice.Serial;
        if (match)
            matching.push_back(reader);
    }
    const std::string what =
        choice.Serial.empty() ? "port path " + choice.PortPath : "serial number " + choice.Serial;
    if (matching.size() != 1) {
        error = matching.empty() ? "no attached reader has the " + what + " (see ravelfin list)"
                                 : std::to_string(matching.size()) + " attached readers have the " +
                                       what + "; name one by TYPE:INDEX or path:PORTPATH";
        return false;
    }
    choice.Type = matching.front().Type;
    choice.Index = matching.front().Index;
    choice.Name = matching.front().Name;
    return true;
}

}  // namespace ravelfin
