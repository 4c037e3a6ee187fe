#include "cli/reader_session.h"

#include "transport/device_discovery.h"

namespace ravelfin::cli {

namespace {
constexpr const char* kRuleAdvice =
    "install the ravelfin package, which brings the udev rule 70-ravelfin.rules (or copy "
    "resources/linux/70-ravelfin.rules to /etc/udev/rules.d/ and run sudo udevadm control "
    "--reload), then plug the reader in again";
}  // namespace

std::vector<DeviceEntry> ReaderSession::AttachedReaders() {
    std::vector<DeviceEntry> readers;
    for (int type : {kInterfaceRs232, kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}) {
        ListDevices(environment_.Devices(), type, readers);
    }
    return readers;
}

std::string OpenFailureText(PortError error, const std::string& what) {
    switch (error) {
        case PortError::PermissionDenied:
            return "Permission denied opening " + what + ": " + kRuleAdvice + ".";
        case PortError::Busy:
            return what + " is in use by another program; close it and try again.";
        default:
            return "Can not open Ravelfin device! (" + what + ")";
    }
}

std::string ConnectFailureText(const Connection& link, const std::string& what) {
    return link.InterfaceType == 0 ? OpenFailureText(link.LastOpenError(), what)
                                   : "Can not read from Ravelfin device! (" + what + ")";
}

bool ReaderSession::ConnectReader(const CommandLine& cl) {
    if (cl.device) {
        DeviceChoice choice;
        std::string error;
        if (!ParseDeviceOption(*cl.device, choice, error) ||
            !ResolveIdentityChoice(environment_.Devices(), choice, error)) {
            console_.Error("ravelfin: " + error);
            return false;
        }
        const int index = environment_.IndexOf(choice);
        if (connection_.Connect(choice.Type, index))
            return true;
    } else {
        std::vector<DeviceEntry> usb;
        for (int type : {kInterfaceUsbHidKb, kInterfaceUsbRs232, kInterfaceUsbHid}) {
            ListDevices(environment_.Devices(), type, usb);
        }
        if (usb.size() != 1) {
            std::string found;
            for (const DeviceEntry& e : AttachedReaders()) {
                found += (found.empty() ? "" : ", ") + InterfaceOptionName(e.Type) + ":" +
                         std::to_string(e.Index) + " (" + e.Name + ", " + e.Identity.Describe() +
                         ")";
            }
            console_.Error(usb.empty() ? "No USB reader found" : "More than one USB reader found");
            console_.Error(
                std::string("Found: ") + (found.empty() ? "nothing" : found) +
                ". Pass --device TYPE:INDEX, TYPE:NAME, serial:SN or path:PORTPATH to choose "
                "a reader.");
            return false;
        }
        if (connection_.EnsureConnected())
            return true;
    }
    // A reader whose settings were read but whose version text could not be had is usable.
    if (connection_.IsConnected())
        return true;
    console_.Error(ConnectFailureText(connection_, cl.device ? *cl.device : "the USB reader"));
    return false;
}

void ReaderSession::TellReader() {
    DeviceEntry entry;
    const bool listed = FindReader(environment_.Devices(), connection_.Identity,
                                   {connection_.InterfaceType}, entry);
    console_.Print("Reader " + InterfaceOptionName(connection_.InterfaceType) + ":" +
                   std::to_string(listed ? entry.Index : connection_.DeviceIndex) +
                   (listed ? " " + entry.Name : std::string()) + " (" +
                   connection_.Identity.Describe() + ")\n");
}

bool ReaderSession::ReopenAfterReset() {
    console_.Print("The reader restarted to take the change; opening it again.\n");
    if (connection_.Reopen()) {
        console_.Print("Success to re-open the device.\n");
        return true;
    }
    console_.Error(kReopenFailedText);
    return false;
}

}  // namespace ravelfin::cli
