#include "cli/fleet_target.h"

#include <algorithm>

#include "cli/device_option.h"
#include "protocol/interface_type.h"
#include "transport/device_discovery.h"

namespace ravelfin::cli {

namespace {

bool IsHidType(int type) { return type == kInterfaceUsbHidKb || type == kInterfaceUsbHid; }

/// The target for a --device value.
FleetTarget TargetFor(DeviceSource& source, const DeviceChoice& choice) {
    FleetTarget target;
    target.Type = choice.Type;
    target.Hid = IsHidType(choice.Type);
    if (!choice.Name.empty() && FindListedTarget(source, target.Hid, choice.Name, choice.Type, target)) {
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

}  // namespace

std::string FleetTarget::Label() const {
    return InterfaceOptionName(Type) + ":" + (Index >= 0 ? std::to_string(Index) : Name);
}

bool FindListedTarget(DeviceSource& source, bool hid, const std::string& name, int type,
                      FleetTarget& out) {
    for (int i = 0;; ++i) {
        HidInterfaceInfo hidInfo;
        SerialPortInfo serialInfo;
        if (hid ? !source.GetHidInterface(i, hidInfo) : !source.GetSerialPort(i, serialInfo)) {
            return false;
        }
        if ((hid ? hidInfo.Path : serialInfo.Name) != name) continue;
        out = FleetTarget{type, hid, i, name, hidInfo, serialInfo};
        return true;
    }
}

bool FindTargetByIdentity(DeviceSource& source, bool hid, const ReaderIdentity& identity,
                          FleetTarget& out) {
    int matches = 0;
    FleetTarget found = out;
    for (int i = 0;; ++i) {
        HidInterfaceInfo hidInfo;
        SerialPortInfo serialInfo;
        if (hid ? !source.GetHidInterface(i, hidInfo) : !source.GetSerialPort(i, serialInfo)) break;
        const ReaderIdentity listed = hid ? IdentityOf(hidInfo) : IdentityOf(serialInfo);
        if (!listed.SameReader(identity)) continue;
        ++matches;
        found = FleetTarget{out.Type, hid, i, hid ? hidInfo.Path : serialInfo.Name, hidInfo,
                            serialInfo};
    }
    if (matches != 1) return false;
    out = found;
    return true;
}

bool ResolveFleetTargets(const std::vector<std::string>& devices, bool all, DeviceSource& source,
                         std::vector<FleetTarget>& out, std::string& error) {
    out.clear();
    auto add = [&out](const FleetTarget& target) {
        const bool known = std::any_of(out.begin(), out.end(), [&](const FleetTarget& t) {
            return t.Hid == target.Hid && !t.Name.empty() && t.Name == target.Name;
        });
        if (!known) out.push_back(target);
    };
    for (const std::string& text : devices) {
        DeviceChoice choice;
        if (!ParseDeviceOption(text, choice, error) || !ResolveIdentityChoice(source, choice, error))
            return false;
        add(TargetFor(source, choice));
    }
    if (all) {
        int type = 0;
        std::string path;
        for (int i = 0; ClassifyHidDevice(source, i, type, path); ++i) {
            if (type == kInterfaceUsbHid || type == kInterfaceUsbHidKb) {
                FleetTarget target;
                FindListedTarget(source, true, path, type, target);
                add(target);
            }
        }
    }
    return true;
}

}  // namespace ravelfin::cli
