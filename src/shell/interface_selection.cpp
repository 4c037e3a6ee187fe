#include "shell/interface_selection.h"

#include "connection/connection.h"

namespace ravelfin {

InterfaceSelection::InterfaceSelection(Connection& connection, Messenger& messenger)
    : connection_(connection), messenger_(messenger) {}

void InterfaceSelection::BuildLists() {
    for (auto& list : lists_)
        list.clear();
    DeviceSource& devices = connection_.Environment().Devices();
    ListDevices(devices, kInterfacePs2, lists_[kPs2Group]);
    ListDevices(devices, kInterfaceRs232, lists_[kRs232Group]);
    for (int type : {kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}) {
        ListDevices(devices, type, lists_[kUsbGroup]);
    }
}

std::vector<InterfaceSelection::Choice> InterfaceSelection::ProbeGroup(int group) {
    std::vector<Choice> choices;
    if (group < 0 || group >= static_cast<int>(lists_.size()))
        return choices;
    CurrentGroup = group;
    for (const DeviceEntry& entry : lists_[static_cast<std::size_t>(group)]) {
        SelectedType = entry.Type;
        SelectedIndex = entry.Index;
        Connection probe(connection_.Environment(), messenger_);
        choices.push_back({probe.ProbeDevice(entry.Type, entry.Index), entry});
    }
    return choices;
}

bool InterfaceSelection::Continue(const std::optional<DeviceEntry>& chosen,
                                  const ModelNumberPrompt& prompt) {
    if (!chosen) {
        messenger_.ShowMessage(CurrentGroup == kUsbGroup
                                   ? "No Reader with USB interface has been found, Please "
                                     "Select Right Interface!"
                                   : "Please select an interface!");
        return false;
    }
    SelectedType = chosen->Type;
    SelectedIndex = chosen->Index;
    // Readers that came or went since the list was made move the chosen one in the list:
    // it is connected where it is now, or not at all.
    if (chosen->Identity.IsKnown()) {
        DeviceEntry now;
        if (!FindReader(connection_.Environment().Devices(), chosen->Identity, {chosen->Type},
                        now)) {
            messenger_.ShowMessage("The reader you chose (" + chosen->Identity.Describe() +
                                   ") is no longer attached. Please choose it again.");
            return false;
        }
        SelectedIndex = now.Index;
    }
    if (ConnectSelected())
        return true;

    const std::optional<int> type = prompt ? prompt() : std::nullopt;
    if (!type)
        return false;
    std::vector<DeviceEntry> found;
    ListDevices(connection_.Environment().Devices(), *type, found);
    if (found.empty())
        return false;
    SelectedType = found.front().Type;
    SelectedIndex = found.front().Index;
    if (ConnectSelected())
        return true;
    messenger_.ShowMessage("Could not open Lumatrak device, please check it!");
    return false;
}

void InterfaceSelection::Cancel() {
    SelectedType = 0;
    SelectedIndex = 0;
}

bool InterfaceSelection::ConnectSelected() {
    Connection chosen(connection_.Environment(), messenger_);
    if (!chosen.Connect(SelectedType, SelectedIndex))
        return false;
    connection_.TakeOver(chosen);
    return true;
}

const char* InterfaceKindName(int type) {
    switch (type) {
        case kInterfaceRs232:
            return "RS-232";
        case kInterfacePs2:
            return "PS/2 keyboard";
        case kInterfaceUsbHidKb:
            return "USB HID keyboard";
        case kInterfaceUsbRs232:
            return "USB virtual serial";
        case kInterfaceUsbHid:
            return "USB HID";
        default:
            return "unknown interface";
    }
}

}  // namespace ravelfin
