#include "fleet/fleet_target.h"

#include <algorithm>

#include "fleet/device_choice.h"
#include "protocol/interface_type.h"

namespace ravelfin {

namespace {

bool IsHidType(int type) {
    return type == kInterfaceUsbHidKb || type == kInterfaceUsbHid;
}

/// The target for a --device value.
FleetTarget TargetFor(DeviceSource& source, const DeviceChoice& choice) {
    FleetTarget target;
    target.Type = choice.Type;
    target.Hid = IsHidType(choice.Type);
    if (!choice.Name.empty() &&
        FindListedTarget(source, target.Hid, choice.Name, choice.Type, target)) {
        return target;
    }
    target.Index = choice.Index;
    if (choice.Name.empty()) {
        // By index: whatever the class lists there, reader or not; the transport finds out.
        if (target.Hid && source.GetHidInterface(choice.Index, target.HidInfo)) {
            target.Name = target.HidInfo.Path;
        } else if (!target.Hid && source.GetSerialPort(choice.Index, target.SerialInfo)) {
            target.Name = target.SerialInfo.Name;
        }
        return target;
    }
    // A device the lists do not know, such as a pseudo-terminal: taken as the type given.
    target.Name = choice.Name;
    target.HidInfo.Path = choice.Name;
    target.HidInfo.VendorId = kReaderVendorId;
    target.HidInfo.ProductId =
        static_cast<std::uint16_t>(choice.Type == kInterfaceUsbHid ? 0x4201 : 0x4101);
    target.SerialInfo.Name = choice.Name;
    target.SerialInfo.HasUsbIds = choice.Type == kInterfaceUsbRs232;
    target.SerialInfo.VendorId = kUsbSerialVendorId;
    target.SerialInfo.ProductId = kUsbSerialProductId;
    return target;
}

std::string Described(const DeviceEntry& e) {
    return InterfaceOptionName(e.Type) + ":" + std::to_string(e.Index) + " (" + e.Name + ", " +
           e.Identity.Describe() + ")";
}

/// The one USB reader attached; false with the two lines that say what was found instead.
bool OnlyUsbReader(DeviceSource& source, FleetTarget& out, std::string& error) {
    std::vector<DeviceEntry> usb;
    for (int type : {kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid})
        ListDevices(source, type, usb);
    if (usb.size() == 1) {
        const DeviceEntry& only = usb.front();
        return FindListedTarget(source, IsHidType(only.Type), only.Name, only.Type, out);
    }
    std::string found;
    for (const DeviceEntry& e : AttachedReaders(source))
        found += (found.empty() ? "" : ", ") + Described(e);
    error = std::string(usb.empty() ? "No USB reader found" : "More than one USB reader found") +
            "\nFound: " + (found.empty() ? "nothing" : found) +
            ". Pass --device TYPE:INDEX, TYPE:NAME, serial:SN or path:PORTPATH to choose a "
            "reader.";
    return false;
}

}  // namespace

std::string FleetTarget::Label() const {
    return InterfaceOptionName(Type) + ":" + (Index >= 0 ? std::to_string(Index) : Name);
}

std::vector<DeviceEntry> AttachedReaders(DeviceSource& source) {
    std::vector<DeviceEntry> readers;
    for (int type : {kInterfaceRs232, kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid})
        ListDevices(source, type, readers);
    return readers;
}

bool FindListedTarget(DeviceSource& source, bool hid, const std::string& name, int type,
                      FleetTarget& out) {
    for (int i = 0;; ++i) {
        HidInterfaceInfo hidInfo;
        SerialPortInfo serialInfo;
        if (hid ? !source.GetHidInterface(i, hidInfo) : !source.GetSerialPort(i, serialInfo))
            return false;
        if ((hid ? hidInfo.Path : serialInfo.Name) != name)
            continue;
        out = FleetTarget{type, hid, i, name, hidInfo, serialInfo};
        return true;
    }
}

bool FindTargetByIdentity(DeviceSource& source, bool hid, const ReaderIdentity& identity,
                          FleetTarget& out) {
    int matches = 0;
    FleetTarget found = out;
    auto consider = [&](int index, const std::string& name, const HidInterfaceInfo& hidInfo,
                        const SerialPortInfo& serialInfo) {
        const ReaderIdentity listed = hid ? IdentityOf(hidInfo) : IdentityOf(serialInfo);
        if (!listed.SameReader(identity))
            return;
        ++matches;
        found = FleetTarget{out.Type, hid, index, name, hidInfo, serialInfo};
    };
    if (hid) {
        const std::vector<HidInterfaceInfo> interfaces = source.HidInterfaces();
        for (std::size_t i = 0; i < interfaces.size(); ++i)
            consider(static_cast<int>(i), interfaces[i].Path, interfaces[i], {});
    } else {
        const std::vector<SerialPortInfo> ports = source.SerialPorts();
        for (std::size_t i = 0; i < ports.size(); ++i)
            consider(static_cast<int>(i), ports[i].Name, {}, ports[i]);
    }
    if (matches != 1)
        return false;
    out = found;
    return true;
}

bool ResolveTargets(const TargetRequest& request, DeviceSource& source,
                    std::vector<FleetTarget>& out, std::string& error) {
    out.clear();
    auto add = [&out](const FleetTarget& target) {
        const bool known = std::any_of(out.begin(), out.end(), [&](const FleetTarget& t) {
            return t.Hid == target.Hid && !t.Name.empty() && t.Name == target.Name;
        });
        if (!known)
            out.push_back(target);
    };
    for (const std::string& text : request.Devices) {
        DeviceChoice choice;
        if (!ParseDeviceOption(text, choice, error) ||
            !ResolveIdentityChoice(source, choice, error))
            return false;
        add(TargetFor(source, choice));
    }
    if (request.All) {
        std::vector<DeviceEntry> hid;
        for (int type : {kInterfaceUsbHidKb, kInterfaceUsbHid})
            ListDevices(source, type, hid);
        std::sort(hid.begin(), hid.end(),
                  [](const DeviceEntry& a, const DeviceEntry& b) { return a.Index < b.Index; });
        for (const DeviceEntry& reader : hid) {
            FleetTarget target;
            if (FindListedTarget(source, true, reader.Name, reader.Type, target))
                add(target);
        }
    }
    if (request.Devices.empty() && !request.All) {
        FleetTarget only;
        if (!OnlyUsbReader(source, only, error))
            return false;
        out.push_back(only);
    }
    if (out.empty()) {
        error = "No reader to work on: no USB HID reader is attached and no --device names one.";
        return false;
    }
    return true;
}

}  // namespace ravelfin
